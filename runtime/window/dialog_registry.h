#pragma once
// Every dialog record ever created, so that shutdown can free the templates.

#include <cstdint>

struct WindowRecord;

struct DialogRecordNode {
    DialogRecordNode* next;
    WindowRecord* record;
};
static_assert(sizeof(DialogRecordNode) == 8);

// Appends the record at the end of the chain, once: a record described
// again keeps its one node, so its template is freed once. Returns 1, or 0
// without memory.
int32_t RegisterDialogRecord(WindowRecord* record);
DialogRecordNode* FirstDialogRecord();
// True when the record is in the chain.
bool IsDialogRecord(const WindowRecord* record);
// Frees a template's items with their captions, then the template; null is
// accepted.
int32_t FreeDialogTemplate(void* dialogTemplate);
// Frees every node and the templates and items hanging from the records.
int32_t FreeDialogRecords();

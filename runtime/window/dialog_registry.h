#pragma once
// Every dialog record ever created, so that shutdown can free the templates.

#include <cstdint>

struct WindowRecord;

struct DialogRecordNode {
    DialogRecordNode* next;
    WindowRecord* record;
};
static_assert(sizeof(DialogRecordNode) == 8);

// Appends the record at the end of the chain; returns 1, or 0 without memory.
int32_t RegisterDialogRecord(WindowRecord* record);
DialogRecordNode* FirstDialogRecord();
// Frees every node and the templates and items hanging from the records.
int32_t FreeDialogRecords();

#include "runtime/window/dialog_registry.h"

#include <windows.h>

#include "runtime/window/dialog_template.h"
#include "runtime/core/block_alloc.h"
#include "runtime/window/window_record.h"

namespace {
DialogRecordNode* registryHead;
}

int32_t RegisterDialogRecord(WindowRecord* record) {
    if (IsDialogRecord(record))
        return 1;
    auto* node = static_cast<DialogRecordNode*>(AllocZeroed(AT_STRUCT, sizeof(DialogRecordNode)));
    if (!node)
        return 0;
    node->record = record;
    if (!registryHead) {
        registryHead = node;
        return 1;
    }
    DialogRecordNode* last = registryHead;
    while (last->next)
        last = last->next;
    last->next = node;
    return 1;
}

DialogRecordNode* FirstDialogRecord() { return registryHead; }

bool IsDialogRecord(const WindowRecord* record) {
    for (const DialogRecordNode* node = registryHead; node; node = node->next)
        if (node->record == record)
            return true;
    return false;
}

int32_t FreeDialogTemplate(void* dialogTemplate) {
    auto* dialog = static_cast<DialogTemplate*>(dialogTemplate);
    if (!dialog)
        return 0;
    DialogItem* item = dialog->items;
    while (item) {
        DialogItem* following = item->next;
        if (item->text)
            GlobalFree(item->text);
        GlobalFree(item);
        item = following;
    }
    FreeBlock(dialog);
    return 0;
}

int32_t FreeDialogRecords() {
    DialogRecordNode* node = registryHead;
    while (node) {
        DialogRecordNode* next = node->next;
        if (node->record)
            FreeDialogTemplate(node->record->dialogTemplate);
        FreeBlock(node);
        node = next;
    }
    // Only runs on the way out; the head is cleared so a second call is harmless.
    registryHead = nullptr;
    return 0;
}

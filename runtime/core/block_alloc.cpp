#include "runtime/core/block_alloc.h"

#include <windows.h>

#include <array>

namespace {

// Bytes per element, indexed by type code.
constexpr std::array<uint16_t, 36> kElementSize = {
    255, 1, 4, 4, 4, 4, 4, 4, 4, 4,   // 0 to 9
    4, 4, 1, 2, 8, 1, 4, 8, 8, 4,     // 10 to 19
    0, 8, 0, 0, 0, 0, 1, 4, 4, 4,     // 20 to 29
    2, 1, 512, 2, 4, 0,               // 30 to 35
};

}  // namespace

void* AllocZeroed(int32_t typeCode, int32_t count) {
    if (count == 0 || typeCode < 0 || typeCode >= static_cast<int32_t>(kElementSize.size()))
        return nullptr;
    const uint64_t bytes = static_cast<uint64_t>(kElementSize[typeCode]) * static_cast<uint32_t>(count);
    if (bytes == 0 || count < 0 || bytes > 0x7FFFFFFF)
        return nullptr;
    return reinterpret_cast<void*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, static_cast<SIZE_T>(bytes)));
}

int32_t FreeBlock(void* block) {
    if (block)
        GlobalFree(reinterpret_cast<HGLOBAL>(block));
    return 0;
}

ListNode* ListCreate() {
    return static_cast<ListNode*>(AllocZeroed(AT_STRUCT, sizeof(ListNode)));
}

void* ListInsertAfter(ListNode* node, void* item) {
    if (!node)
        return item;
    auto* fresh = static_cast<ListNode*>(AllocZeroed(AT_STRUCT, sizeof(ListNode)));
    if (!fresh)
        return item;
    fresh->item = item;
    fresh->prev = node;
    fresh->next = node->next;
    if (node->next)
        node->next->prev = fresh;
    node->next = fresh;
    return item;
}

void* ListAppend(ListNode* head, void* item) {
    if (!head)
        return item;
    ListNode* last = head;
    while (last->next)
        last = last->next;
    return ListInsertAfter(last, item);
}

ListNode* ListFirst(ListNode* head) { return head ? head->next : nullptr; }
ListNode* ListNext(ListNode* node) { return node ? node->next : nullptr; }
void* ListItem(ListNode* node) { return node ? node->item : nullptr; }

int32_t FreeList(ListNode* head, int32_t freeItems) {
    ListNode* node = head;
    while (node) {
        ListNode* next = node->next;
        if (freeItems && node->item) {
            FreeBlock(node->item);
            node->item = nullptr;
        }
        FreeBlock(node);
        node = next;
    }
    return 0;
}

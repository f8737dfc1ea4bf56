#pragma once
// The runtime's zero-filling block allocator and its doubly linked list.

#include <cstdint>

// Element sizes by type code; a block is count times the size.
enum : int32_t {
    AT_BYTES = 1,
    AT_WORDS = 19,
    AT_STRUCT = 15,   // byte-sized elements: count is the structure's size
};

// Zero-filled GMEM_FIXED block (its handle is its address); null when
// count is 0, the size is 0 or the platform is out of memory.
[[nodiscard]] void* AllocZeroed(int32_t typeCode, int32_t count);
// Frees a block of AllocZeroed; null is accepted. Returns 0.
int32_t FreeBlock(void* block);

// A list is a chain of three-word nodes from AllocZeroed; its head is an
// empty node whose item stays 0.
struct ListNode {
    ListNode* next;
    ListNode* prev;
    void* item;
};
static_assert(sizeof(ListNode) == 12);

// A new empty list (its head), or null without memory; the caller frees it
// with FreeList.
[[nodiscard]] ListNode* ListCreate();
// Link item into a new node after node, or at the end; return item, also
// when no node could be made.
void* ListInsertAfter(ListNode* node, void* item);
void* ListAppend(ListNode* head, void* item);
// The first node, the next node, a node's item; null at the end and for null.
ListNode* ListFirst(ListNode* head);
ListNode* ListNext(ListNode* node);
void* ListItem(ListNode* node);
// Frees every node and the head, and each item too when freeItems is
// non-zero. Returns 0.
int32_t FreeList(ListNode* head, int32_t freeItems);

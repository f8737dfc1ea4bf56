#include "runtime/core/string_slots.h"

#include <array>

namespace {

constexpr int32_t kSlotCount = 1024;
static_assert(kStringSlotBytes >= static_cast<int32_t>(sizeof(SLIST_ENTRY)) &&
              kStringSlotBytes % MEMORY_ALLOCATION_ALIGNMENT == 0);

// A freed slot's first bytes hold its link in the list; the list wants its
// entries and its header aligned as heap blocks are.
alignas(MEMORY_ALLOCATION_ALIGNMENT) SLIST_HEADER freeSlots;
char* slots;                                  // null without a block
LONG slotsCarved;                             // slots ever handed out, never taken back from
// Per slot: the size it was taken for, 0 while it is free. Written only by
// the thread that holds the slot.
std::array<volatile uint8_t, kSlotCount> slotSizes;

// The slot index of s; -1 outside the block, kSlotCount for an address in
// it that does not start a slot.
int32_t SlotIndex(const char* s) {
    if (!slots || s < slots || s >= slots + kSlotCount * kStringSlotBytes)
        return -1;
    const auto offset = static_cast<int32_t>(s - slots);
    return offset % kStringSlotBytes ? kSlotCount : offset / kStringSlotBytes;
}

}  // namespace

bool CreateStringSlots(HANDLE heap) {
    ForgetStringSlots();
    slots = static_cast<char*>(HeapAlloc(heap, 0, kSlotCount * kStringSlotBytes));
    return slots != nullptr;
}

void ForgetStringSlots() {
    InitializeSListHead(&freeSlots);
    slots = nullptr;
    slotsCarved = 0;
    for (volatile uint8_t& size : slotSizes)
        size = 0;
}

char* TakeStringSlot(int32_t bytes) {
    if (!slots || bytes < 1 || bytes > kStringSlotBytes)
        return nullptr;
    char* slot = reinterpret_cast<char*>(InterlockedPopEntrySList(&freeSlots));
    if (!slot) {
        // Slots never used yet are carved in order; once all are out, only
        // freed ones are handed out again.
        if (slotsCarved >= kSlotCount)
            return nullptr;
        const LONG index = InterlockedIncrement(&slotsCarved) - 1;
        if (index >= kSlotCount)
            return nullptr;
        slot = slots + index * kStringSlotBytes;
    }
    slotSizes[static_cast<size_t>((slot - slots) / kStringSlotBytes)] = static_cast<uint8_t>(bytes);
    return slot;
}

int32_t ReturnStringSlot(const char* s) {
    const int32_t index = SlotIndex(s);
    if (index < 0)
        return -1;
    if (index == kSlotCount || slotSizes[static_cast<size_t>(index)] == 0)
        return 0;
    slotSizes[static_cast<size_t>(index)] = 0;
    InterlockedPushEntrySList(&freeSlots, reinterpret_cast<SLIST_ENTRY*>(const_cast<char*>(s)));
    return 1;
}

int32_t StringSlotSize(const char* s) {
    const int32_t index = SlotIndex(s);
    if (index < 0)
        return -1;
    return index == kSlotCount ? 0 : slotSizes[static_cast<size_t>(index)];
}

#pragma once
// Short strings' storage: equal slots carved from one block of the string
// heap and passed between threads through a lock-free list, so that making
// and freeing a short string costs no call into the heap. Each live slot
// remembers the size it was asked for, which is the size its string's
// storage reports.

#include <windows.h>

#include <cstdint>

// The most bytes a slot holds.
constexpr int32_t kStringSlotBytes = 32;

// Takes the slots' block from heap. Returns whether there is one; without it
// every string comes from the heap itself.
bool CreateStringSlots(HANDLE heap);
// Drops every slot, live or not: their heap is about to be destroyed.
void ForgetStringSlots();

// A free slot for a string block of `bytes` (1 to kStringSlotBytes), its
// contents undefined; null when none is left.
char* TakeStringSlot(int32_t bytes);
// For the start s of a live slot: frees it and returns 1. Returns 0 for any
// other address inside the slots' block, and -1 for one outside it.
int32_t ReturnStringSlot(const char* s);
// The size a live slot starting at s was taken for; 0 for any other address
// inside the slots' block, -1 for one outside it.
int32_t StringSlotSize(const char* s);

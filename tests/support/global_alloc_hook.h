#pragma once
// Out-of-memory for the runtime's allocator, without exhausting the process.
// The runtime is linked into the test program, so its GlobalAlloc and
// GlobalFree calls go through this program's import slots; while a
// GlobalAllocHook lives, counting stand-ins sit in those slots.

#include <cstdint>

class GlobalAllocHook {
public:
    GlobalAllocHook();    // every allocation succeeds until FailAfter
    ~GlobalAllocHook();   // puts the platform's routines back
    GlobalAllocHook(const GlobalAllocHook&) = delete;
    GlobalAllocHook& operator=(const GlobalAllocHook&) = delete;

    // The next `allocations` calls succeed, every later one returns null;
    // -1 lets every call succeed again.
    void FailAfter(int32_t allocations);
    // Blocks allocated minus blocks freed while the hook lives.
    int32_t LiveBlocks() const;
};

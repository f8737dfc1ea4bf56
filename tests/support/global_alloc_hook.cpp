#include "tests/support/global_alloc_hook.h"

#include <windows.h>

// The import slots themselves, by their linker names.
extern "C" {
extern HGLOBAL(WINAPI* importedGlobalAlloc)(UINT, SIZE_T) __asm__("__imp__GlobalAlloc@8");
extern HGLOBAL(WINAPI* importedGlobalFree)(HGLOBAL) __asm__("__imp__GlobalFree@4");
}

namespace {

decltype(importedGlobalAlloc) platformAlloc;
decltype(importedGlobalFree) platformFree;
int32_t budget = -1;
int32_t live = 0;

HGLOBAL WINAPI CountedAlloc(UINT flags, SIZE_T bytes) {
    if (budget == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (budget > 0)
        --budget;
    HGLOBAL block = platformAlloc(flags, bytes);
    if (block)
        ++live;
    return block;
}

HGLOBAL WINAPI CountedFree(HGLOBAL block) {
    HGLOBAL failed = platformFree(block);
    if (block && !failed)
        --live;
    return failed;
}

template <typename Slot>
void Replace(Slot& slot, Slot routine) {
    DWORD previous = 0;
    VirtualProtect(&slot, sizeof(slot), PAGE_READWRITE, &previous);
    slot = routine;
    VirtualProtect(&slot, sizeof(slot), previous, &previous);
}

}  // namespace

GlobalAllocHook::GlobalAllocHook() {
    platformAlloc = importedGlobalAlloc;
    platformFree = importedGlobalFree;
    budget = -1;
    live = 0;
    Replace(importedGlobalAlloc, &CountedAlloc);
    Replace(importedGlobalFree, &CountedFree);
}

GlobalAllocHook::~GlobalAllocHook() {
    Replace(importedGlobalAlloc, platformAlloc);
    Replace(importedGlobalFree, platformFree);
}

void GlobalAllocHook::FailAfter(int32_t allocations) { budget = allocations; }

int32_t GlobalAllocHook::LiveBlocks() const { return live; }

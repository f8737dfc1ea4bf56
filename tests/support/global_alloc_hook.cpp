#include "tests/support/global_alloc_hook.h"

#include <windows.h>

#include "tests/support/import_slot.h"

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

}  // namespace

GlobalAllocHook::GlobalAllocHook() {
    budget = -1;
    live = 0;
    platformAlloc = SwapImportSlot(importedGlobalAlloc, &CountedAlloc);
    platformFree = SwapImportSlot(importedGlobalFree, &CountedFree);
}

GlobalAllocHook::~GlobalAllocHook() {
    SwapImportSlot(importedGlobalAlloc, platformAlloc);
    SwapImportSlot(importedGlobalFree, platformFree);
}

void GlobalAllocHook::FailAfter(int32_t allocations) { budget = allocations; }

int32_t GlobalAllocHook::LiveBlocks() const { return live; }

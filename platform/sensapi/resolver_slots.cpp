#include "platform/sensapi/resolver_slots.h"

#include <windows.h>

namespace {

// Counts the free slots. Set while the loader holds its lock, before any
// thread can query, and only read after that.
HANDLE freeSlots = nullptr;

}  // namespace

int32_t OpenResolverSlots() {
    freeSlots = CreateSemaphoreW(nullptr, kMaxResolverThreads, kMaxResolverThreads, nullptr);
    return freeSlots ? 1 : 0;
}

void CloseResolverSlots() {
    if (freeSlots)
        CloseHandle(freeSlots);
    freeSlots = nullptr;
}

int32_t ClaimResolverSlot(uint32_t timeoutMs) {
    const DWORD waited = WaitForSingleObject(freeSlots, timeoutMs);
    if (waited == WAIT_OBJECT_0)
        return 1;
    if (waited == WAIT_TIMEOUT)
        SetLastError(ERROR_TIMEOUT);
    return 0;
}

void ReleaseResolverSlot() {
    ReleaseSemaphore(freeSlots, 1, nullptr);
}

#pragma once
// The runtime is linked into each test program, so its calls to the platform
// go through the program's own import slots; a test can put a stand-in there.

#include <windows.h>

#include <type_traits>

// Writes routine into the slot and returns the routine that was there.
template <typename Routine>
Routine SwapImportSlot(Routine& slot, std::type_identity_t<Routine> routine) {
    DWORD previous = 0;
    VirtualProtect(&slot, sizeof(slot), PAGE_READWRITE, &previous);
    const Routine old = slot;
    slot = routine;
    VirtualProtect(&slot, sizeof(slot), previous, &previous);
    return old;
}

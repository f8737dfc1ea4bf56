#pragma once
// Stand-ins for platform routines. The runtime is linked into each test
// program, so its calls to an imported routine go through this program's
// import slot for it (named __imp__Name@bytes); a routine written there
// takes every such call until the platform's is put back.

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

// Puts a stand-in in the slot for the guard's life.
template <typename Routine>
class ImportStandIn {
public:
    ImportStandIn(Routine& slot, std::type_identity_t<Routine> standIn)
        : slot_(slot), platform_(SwapImportSlot(slot, standIn)) {}
    ~ImportStandIn() { SwapImportSlot(slot_, platform_); }
    ImportStandIn(const ImportStandIn&) = delete;
    ImportStandIn& operator=(const ImportStandIn&) = delete;
    Routine platform() const { return platform_; }

private:
    Routine& slot_;
    Routine platform_;
};

#pragma once
// Stand-ins for platform routines. The runtime is linked into the test
// program, so its calls to an imported routine go through this program's
// import slot for it (named __imp__Name@bytes); a routine written there
// takes every such call until the platform's is put back.

#include <windows.h>

template <typename Slot>
void WriteImportSlot(Slot& slot, Slot routine) {
    DWORD previous = 0;
    VirtualProtect(&slot, sizeof(slot), PAGE_READWRITE, &previous);
    slot = routine;
    VirtualProtect(&slot, sizeof(slot), previous, &previous);
}

// Puts a stand-in in the slot for the guard's life.
template <typename Slot>
class ImportStandIn {
public:
    ImportStandIn(Slot& slot, Slot standIn) : slot_(slot), platform_(slot) { WriteImportSlot(slot_, standIn); }
    ~ImportStandIn() { WriteImportSlot(slot_, platform_); }
    ImportStandIn(const ImportStandIn&) = delete;
    ImportStandIn& operator=(const ImportStandIn&) = delete;
    Slot platform() const { return platform_; }

private:
    Slot& slot_;
    Slot platform_;
};

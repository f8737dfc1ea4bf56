#pragma once
// Watches the DeleteObject calls of this program: the runtime is linked
// into the test program, so its calls go through the program's own import
// table, where the spy puts itself while it lives. Deletes made inside
// system DLLs (a dialog manager deleting its font) are not seen.

#include <windows.h>

#include <cstdint>
#include <vector>

class DeleteObjectSpy {
public:
    DeleteObjectSpy();
    ~DeleteObjectSpy();
    DeleteObjectSpy(const DeleteObjectSpy&) = delete;
    DeleteObjectSpy& operator=(const DeleteObjectSpy&) = delete;

    // False when the program imports no DeleteObject to stand in for.
    bool Installed() const { return slot_ != nullptr; }
    // Counts from now on the deletes of this handle.
    void Watch(HGDIOBJ object);
    int32_t TimesDeleted(HGDIOBJ object) const;
    // Handles given to DeleteObject while they named no live object: deleted
    // already (or never made).
    const std::vector<HGDIOBJ>& DeadDeletes() const { return deadDeletes_; }
    int32_t Calls() const { return calls_; }

private:
    static BOOL WINAPI Spy(HGDIOBJ object);
    void** slot_ = nullptr;
    void* real_ = nullptr;
    int32_t calls_ = 0;
    std::vector<HGDIOBJ> deadDeletes_;
    std::vector<HGDIOBJ> watched_;
    std::vector<int32_t> counts_;
};

#include "tests/support/delete_spy.h"

#include <cstring>

namespace {

DeleteObjectSpy* active;

// The import-table slot through which this program calls gdi32's
// DeleteObject, found by name in the module's import descriptors.
void** DeleteObjectSlot() {
    auto* base = reinterpret_cast<uint8_t*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return nullptr;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), "gdi32.dll") != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk
                                                                                          : d->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "DeleteObject") == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

void Patch(void** slot, void* value) {
    DWORD previous = 0;
    VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &previous);
    *slot = value;
    VirtualProtect(slot, sizeof(*slot), previous, &previous);
}

}  // namespace

DeleteObjectSpy::DeleteObjectSpy() {
    if (active)
        return;   // one spy at a time
    slot_ = DeleteObjectSlot();
    if (!slot_)
        return;
    real_ = *slot_;
    active = this;
    Patch(slot_, reinterpret_cast<void*>(&DeleteObjectSpy::Spy));
}

DeleteObjectSpy::~DeleteObjectSpy() {
    if (!slot_)
        return;
    Patch(slot_, real_);
    active = nullptr;
}

void DeleteObjectSpy::Watch(HGDIOBJ object) {
    watched_.push_back(object);
    counts_.push_back(0);
}

int32_t DeleteObjectSpy::TimesDeleted(HGDIOBJ object) const {
    for (size_t i = 0; i < watched_.size(); ++i)
        if (watched_[i] == object)
            return counts_[i];
    return 0;
}

BOOL WINAPI DeleteObjectSpy::Spy(HGDIOBJ object) {
    DeleteObjectSpy& self = *active;
    ++self.calls_;
    if (object && GetObjectType(object) == 0)
        self.deadDeletes_.push_back(object);
    for (size_t i = 0; i < self.watched_.size(); ++i)
        if (self.watched_[i] == object)
            ++self.counts_[i];
    return reinterpret_cast<BOOL(WINAPI*)(HGDIOBJ)>(self.real_)(object);
}

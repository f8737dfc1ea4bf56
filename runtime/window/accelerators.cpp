#include "runtime/window/accelerators.h"

#include <algorithm>
#include <vector>

namespace {

constexpr char kAcceleratorProperty[] = "_ACCEL_TABLE";

// The windows holding a table installed here; all on the program's thread.
std::vector<HWND> windowsWithTables;

void Forget(HWND hwnd) {
    windowsWithTables.erase(std::remove(windowsWithTables.begin(), windowsWithTables.end(), hwnd),
                            windowsWithTables.end());
}

}  // namespace

int32_t SetWindowAccelerators(WindowRecord* record, HACCEL table) {
    if (!record || !record->hwnd) {
        if (table)
            DestroyAcceleratorTable(table);
        return 0;
    }
    HWND hwnd = record->hwnd;
    if (table && WindowAccelerators(hwnd) == table)
        return 1;
    ReleaseWindowAccelerators(hwnd);
    if (!table)
        return 1;
    if (!SetPropA(hwnd, kAcceleratorProperty, table)) {
        DestroyAcceleratorTable(table);
        return 0;
    }
    windowsWithTables.push_back(hwnd);
    return 1;
}

HACCEL WindowAccelerators(HWND hwnd) {
    if (windowsWithTables.empty() || !hwnd)
        return nullptr;
    return static_cast<HACCEL>(GetPropA(hwnd, kAcceleratorProperty));
}

int32_t ReleaseWindowAccelerators(HWND hwnd) {
    if (!hwnd)
        return 0;
    Forget(hwnd);
    auto table = static_cast<HACCEL>(RemovePropA(hwnd, kAcceleratorProperty));
    if (!table)
        return 0;
    DestroyAcceleratorTable(table);
    return 1;
}

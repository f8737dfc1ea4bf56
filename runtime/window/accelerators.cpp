#include "runtime/window/accelerators.h"

namespace {

constexpr char kAcceleratorProperty[] = "_ACCEL_TABLE";

// The windows holding a table installed here; all on the program's thread.
// A plain array: the C++ library's containers would bring its exception
// machinery into every program (a quarter of a megabyte).
HWND* windowsWithTables;
int32_t tableCount;
int32_t tableCapacity;

void Forget(HWND hwnd) {
    for (int32_t i = 0; i < tableCount; ++i)
        if (windowsWithTables[i] == hwnd)
            windowsWithTables[i--] = windowsWithTables[--tableCount];
}

bool Remember(HWND hwnd) {
    if (tableCount == tableCapacity) {
        const int32_t capacity = tableCapacity ? tableCapacity * 2 : 8;
        const SIZE_T bytes = sizeof(HWND) * static_cast<SIZE_T>(capacity);
        void* grown = windowsWithTables ? HeapReAlloc(GetProcessHeap(), 0, windowsWithTables, bytes)
                                        : HeapAlloc(GetProcessHeap(), 0, bytes);
        if (!grown)
            return false;
        windowsWithTables = static_cast<HWND*>(grown);
        tableCapacity = capacity;
    }
    windowsWithTables[tableCount++] = hwnd;
    return true;
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
    if (!Remember(hwnd) || !SetPropA(hwnd, kAcceleratorProperty, table)) {
        Forget(hwnd);
        DestroyAcceleratorTable(table);
        return 0;
    }
    return 1;
}

HACCEL WindowAccelerators(HWND hwnd) {
    if (tableCount == 0 || !hwnd)
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

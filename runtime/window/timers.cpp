#include "runtime/window/timers.h"

int32_t StartWindowTimer(WindowRecord* record, int32_t periodMs, int32_t id, TIMERPROC procedure) {
    if (record && record->hwnd)
        SetTimer(record->hwnd, static_cast<UINT_PTR>(id), static_cast<UINT>(periodMs), procedure);
    return 0;
}

int32_t StopWindowTimer(WindowRecord* record, int32_t id) {
    if (record && record->hwnd)
        KillTimer(record->hwnd, static_cast<UINT_PTR>(id));
    return 0;
}

#pragma once
// Window timers.

#include <windows.h>

#include <cstdint>

#include "runtime/window/window_record.h"

// Starts (or restarts) timer id of the record's window. With a procedure the
// platform calls it straight from the dispatch of WM_TIMER; without one the
// window's handler sees WM_TIMER as an event. Nothing happens when the record
// has no window. Returns 0.
int32_t StartWindowTimer(WindowRecord* record, int32_t periodMs, int32_t id, TIMERPROC procedure);

// Stops timer id of the record's window. Returns 0.
int32_t StopWindowTimer(WindowRecord* record, int32_t id);

#pragma once
// Waiting for and dispatching messages, and window teardown.

#include <cstdint>

#include "runtime/window/window_record.h"

// With noWait 0 blocks until input arrives; then drains the queue. Returns 0.
int32_t WaitEvents(int32_t noWait);

// Destroys the window and the GDI objects the runtime made for it, and
// frees its handler tables. Returns 0, also for a record without window.
int32_t CloseWindow(WindowRecord* record);

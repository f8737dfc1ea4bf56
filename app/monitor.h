#pragma once
// The monitor's process-wide state and its handler.

#include <cstdint>

#include "runtime/window/window_record.h"

#include <windows.h>

extern WindowRecord mainWindow;
extern HICON appIcon;
extern int32_t intervalSeconds;
extern int32_t started;
constexpr int32_t kProbeTargetSize = 256;
extern char ProbeTarget[kProbeTargetSize];

int32_t MonitorHandler();

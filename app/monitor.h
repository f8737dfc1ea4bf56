#pragma once
// The monitor: its process-wide state, its handler and the probe.

#include <windows.h>

#include <cstdint>

#include "app/layout.h"
#include "runtime/runtime.h"

extern WindowRecord mainWindow;
extern HICON appIcon;
extern int32_t intervalSeconds;
extern int32_t started;
constexpr int32_t kProbeTargetSize = 256;   // 255 characters and the terminator
extern char ProbeTarget[kProbeTargetSize];

constexpr int32_t LOG_CONTROL_ID = ID_LOG;

constexpr int32_t PROBE_TIMER_ID = 1;
constexpr int32_t kMinimumInterval = 10;   // seconds

int32_t MonitorHandler();
int32_t StartMonitor();
int32_t StopMonitor();
// The timer procedure: probes the target twice and logs the second answer; a
// failure also shows a "Failure" box when "Failure message" is ticked and no
// such box is open already.
void CALLBACK ProbeTick(HWND hwnd, UINT message, UINT_PTR timerId, DWORD systemTime);
// The monitor's log line: AppendLogLine on its log control. Returns 0.
int32_t AppendLogLine(const char* text, uint32_t color);

// Timer period for an interval: interval x 1000 ms, held at the platform's
// largest timer period when the product does not fit.
int32_t ProbePeriodMs(int32_t seconds);

#include "app/monitor.h"

#include <sensapi.h>

#include "runtime/runtime.h"

WindowRecord mainWindow;
HICON appIcon;
int32_t intervalSeconds;
int32_t started;
char ProbeTarget[kProbeTargetSize];

namespace {

constexpr uint32_t kErrorFlags = 0x30;     // exclamation icon, OK
constexpr uint32_t kFailureFlags = 0x10;   // stop icon, OK
constexpr int32_t kLongestTimerPeriod = 0x7FFFFFFF;   // USER_TIMER_MAXIMUM

constexpr uint32_t kStartedColor = PackRGB(0, 255, 0);
constexpr uint32_t kStoppedColor = PackRGB(255, 0, 0);
constexpr uint32_t kContactColor = PackRGB(0, 0, 0);
constexpr uint32_t kNoResponseColor = PackRGB(0, 0, 255);

// A "Failure" box runs its own message loop, in which the timer goes on
// ticking; unanswered, each further failure would open its box inside the
// last one, deeper into the stack every time, until the stack ran out (after
// some 900 boxes: two and a half hours at a 10-second interval). So one box
// at a time; the failures meanwhile are logged all the same.
bool failureBoxOpen;

void ShowError(const char* text) { ShowMessage(nullptr, text, "Error", kErrorFlags); }

// label + the time of day, as a new string.
char* TimedText(const char* label) {
    char* time = TimeText();
    char* text = ConcatStrings(label, time ? time : "");
    FreeString(time);
    return text;
}

void AppendTimedLine(const char* label, uint32_t color) {
    char* line = TimedText(label);
    if (line)
        AppendLogLine(line, color);
    FreeString(line);
}

}  // namespace

int32_t ProbePeriodMs(int32_t seconds) {
    const int64_t period = static_cast<int64_t>(seconds) * 1000;
    if (period > kLongestTimerPeriod)
        return kLongestTimerPeriod;
    return period < 0 ? 0 : static_cast<int32_t>(period);
}

int32_t AppendLogLine(const char* text, uint32_t color) {
    AppendLogLine(&mainWindow, LOG_CONTROL_ID, text, color);
    return 0;
}

int32_t StartMonitor() {
    if (started == 1) {
        ShowError("Reachlet already started");
        return 0;
    }
    char* target = GetControlText(&mainWindow, ID_TARGET);
    // A longer name would not fit the probe's buffer, and a cut one would be
    // another host than the one in the field.
    if (StringLength(target) >= kProbeTargetSize) {
        FreeString(target);
        ShowError("IP Address Or PC Name must be at most 255 characters");
        return 0;
    }
    CopyString(ProbeTarget, target ? target : "");
    FreeString(target);
    if (lstrcmpA(ProbeTarget, "") == 0) {
        ShowError("IP Address Or PC Name must be entered");
        return 0;
    }

    char* interval = GetControlText(&mainWindow, ID_INTERVAL);
    PushTemporary(interval);
    intervalSeconds = RoundToInt32(ParseNumber(interval));
    ReleaseTemporaries(1);
    if (intervalSeconds < kMinimumInterval) {
        ShowError("Minimum interval is 10 Seconds");
        return 0;
    }

    StartWindowTimer(&mainWindow, ProbePeriodMs(intervalSeconds), PROBE_TIMER_ID, ProbeTick);
    AppendTimedLine("Ping started at ", kStartedColor);
    started = 1;
    char* upper = UpperCaseCopy(ProbeTarget);
    char* caption = ConcatStrings("Reachlet - Started", " - ", upper ? upper : "");
    FreeString(upper);
    PushTemporary(caption);
    SetCaption(&mainWindow, caption);
    ReleaseTemporaries(1);
    return 0;
}

int32_t StopMonitor() {
    if (started == 0) {
        ShowError("Ping not started");
        return 0;
    }
    StopWindowTimer(&mainWindow, PROBE_TIMER_ID);
    AppendTimedLine("Ping stopped at ", kStoppedColor);
    started = 0;
    SetCaption(&mainWindow, "Reachlet - Stopped");
    return 0;
}

void CALLBACK ProbeTick(HWND, UINT, UINT_PTR, DWORD) {
    // Only the second answer counts.
    IsDestinationReachableA(ProbeTarget, nullptr);
    const BOOL reachable = IsDestinationReachableA(ProbeTarget, nullptr);
    if (reachable == TRUE) {
        AppendTimedLine("Contact successful at ", kContactColor);
        return;
    }
    AppendTimedLine("No response at ", kNoResponseColor);
    if (!failureBoxOpen && GetCheckState(&mainWindow, ID_FAILURE_MESSAGE) == 1) {
        char* text = TimedText("No response at ");
        PushTemporary(text);
        failureBoxOpen = true;
        ShowMessage(nullptr, text, "Failure", kFailureFlags);
        failureBoxOpen = false;
        ReleaseTemporaries(1);
    }
}

int32_t MonitorHandler() {
    if (messageRecord.eventCode == EV_CLOSE_WINDOW) {
        CloseWindow(&mainWindow);
        EndProgram();
    }
    // The owner-drawn buttons also send BN_DOUBLECLICKED for a quick second
    // click, which would otherwise count as a second press.
    if (messageRecord.eventCode == EV_CONTROL && messageRecord.notifyCode == BN_CLICKED) {
        switch (messageRecord.controlId) {
        case ID_START:
            StartMonitor();
            break;
        case ID_STOP:
            StopMonitor();
            break;
        case ID_EXIT:
            CloseWindow(&mainWindow);
            EndProgram();
        default:
            break;
        }
    }
    return 0;
}

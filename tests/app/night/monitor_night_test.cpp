// A night alone with a dead host: the real monitor started with "Failure
// message" ticked, a reachability service that never says yes, nobody to
// close a box, and ten thousand ticks. Each tick is posted to the main window
// the way its timer delivers one, after the previous tick and whatever it
// opened have run, so the ticks arrive inside an open box's own message loop
// just as they do overnight. A program of its own, so that the time it takes
// is not every monitor test's limit.
#include <gtest/gtest.h>
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/layout.h"
#include "app/monitor.h"
#include "runtime/core/clock.h"
#include "runtime/program/program.h"
#include "runtime/core/strings.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "tests/support/test_support.h"

namespace {

constexpr int32_t kTicks = 10000;
constexpr int32_t kLogLimit = 4000;
// GDI objects are compared from this tick on. Observed over a whole night:
// 199 held at tick 1 and 208 from tick 44 to the end, at every minute; the
// log's scroll bar and the rich edit's caches come with its first
// screenfuls. By tick 200 the log is full (some 160 lines) and trims itself
// on every tick, as it does for the rest of the night.
constexpr int32_t kSettledTick = 200;
// A box opened inside another costs one to two KiB of the 2 MiB stack; past
// this much growth (some fifty boxes deep) the night is called off rather
// than run on towards the stack's end.
constexpr uintptr_t kStackBudget = 64 * 1024;
constexpr uintptr_t kStackSlack = 1024;   // less than one more nested box
constexpr UINT kNextTick = WM_APP + 1;
constexpr UINT kAnswered = WM_APP + 2;
constexpr UINT kAnswerWaitMs = 20000;
constexpr char kNoResponse[] = "No response at ";

struct Figures {
    int32_t ticks = 0;
    int32_t boxes = 0;
    int32_t windows = 0;
    int32_t freeGdiSlots = 0;
    uintptr_t stack = 0;   // bytes of the stack in use where the ticks are posted
};

struct Night {
    HWND driver = nullptr;
    int32_t posted = 0;
    Figures start;
    Figures settled;   // at kSettledTick
    Figures end;
    uintptr_t deepestStack = 0;
    std::string timeBeforeLastTick;
    std::string timeAfterLastTick;
    std::string log;
    bool answered = false;
    bool over = false;
    ProgressClock clock;
};
Night night;

// Bytes between the top of this thread's stack (the thread information
// block's StackBase, at fs:4) and the caller's frame.
uintptr_t StackInUse() {
    uintptr_t base = 0;
    asm("movl %%fs:4, %0" : "=r"(base));
    return base - reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
}

std::string Now() {
    char* time = TimeText();
    std::string text = time ? time : "";
    FreeString(time);
    return text;
}

bool IsFailureBox(HWND hwnd) {
    char name[32] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    char caption[32] = {};
    GetWindowTextA(hwnd, caption, sizeof(caption));
    return std::strcmp(name, "#32770") == 0 && std::strcmp(caption, "Failure") == 0 && IsWindowVisible(hwnd);
}

BOOL CALLBACK CountFailureBox(HWND hwnd, LPARAM count) {
    *reinterpret_cast<int32_t*>(count) += IsFailureBox(hwnd);
    return TRUE;
}

BOOL CALLBACK CloseFailureBox(HWND hwnd, LPARAM) {
    if (IsFailureBox(hwnd))
        PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
    return TRUE;
}

Figures Measure(uintptr_t stack) {
    Figures figures;
    figures.ticks = night.posted;
    EnumThreadWindows(GetCurrentThreadId(), CountFailureBox, reinterpret_cast<LPARAM>(&figures.boxes));
    figures.windows = ThreadWindowCount();
    figures.freeGdiSlots = FreeGdiSlots();
    figures.stack = stack;
    return figures;
}

std::string LogText() {
    HWND log = GetDlgItem(mainWindow.hwnd, LOG_CONTROL_ID);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(log)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(log, text.data(), static_cast<int>(text.size()))));
    return text;
}

void PostTick() {
    PostMessageA(mainWindow.hwnd, WM_TIMER, PROBE_TIMER_ID, reinterpret_cast<LPARAM>(ProbeTick));
    ++night.posted;
    PostMessageA(night.driver, kNextTick, 0, 0);
}

// From another thread, as a watching program would ask.
DWORD WINAPI AskWhetherTheWindowAnswers(void*) {
    DWORD_PTR result = 0;
    const LRESULT answered =
        SendMessageTimeoutA(mainWindow.hwnd, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerWaitMs, &result);
    PostMessageA(night.driver, kAnswered, answered != 0, 0);
    return 0;
}

// Runs wherever the monitor's ticks are being dispatched: at first in the
// test's loop, then in the loop of whichever box is open.
LRESULT CALLBACK DriverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kNextTick) {
        // Every tick posted so far has run, with whatever it opened.
        const uintptr_t stack = StackInUse();
        night.deepestStack = std::max(night.deepestStack, stack);
        if (night.posted == 1)
            night.start = Measure(stack);
        if (night.posted == kSettledTick)
            night.settled = Measure(stack);
        if (night.clock.Due()) {
            const Figures now = Measure(stack);
            std::printf("after %u s: ticks %d, Failure boxes open %d, windows %d, GDI objects held %d, stack %u\n",
                        static_cast<unsigned>(night.clock.Seconds()), now.ticks, now.boxes, now.windows,
                        65536 - now.freeGdiSlots, static_cast<unsigned>(now.stack));
            std::fflush(stdout);
        }
        if (night.posted == kTicks)
            night.timeAfterLastTick = Now();
        if (night.posted < kTicks && stack <= night.start.stack + kStackBudget) {
            if (night.posted == kTicks - 1)
                night.timeBeforeLastTick = Now();
            PostTick();
            return 0;
        }
        night.end = Measure(stack);
        night.log = LogText();
        CloseHandle(CreateThread(nullptr, 0, AskWhetherTheWindowAnswers, nullptr, 0, nullptr));
        return 0;
    }
    if (message == kAnswered) {
        night.answered = wParam != 0;
        EnumThreadWindows(GetCurrentThreadId(), CloseFailureBox, 0);
        night.over = true;
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND CreateDriver() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DriverProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "NightDriver";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "NightDriver", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

std::string Describe(const Night& n) {
    char text[512];
    std::snprintf(text, sizeof(text),
                  "ticks %d -> %d, Failure boxes open %d -> %d, windows %d -> %d, "
                  "GDI objects held %d -> %d (at tick %d) -> %d, stack in use %u -> %u bytes (deepest %u)",
                  n.start.ticks, n.end.ticks, n.start.boxes, n.end.boxes, n.start.windows, n.end.windows,
                  65536 - n.start.freeGdiSlots, 65536 - n.settled.freeGdiSlots, kSettledTick,
                  65536 - n.end.freeGdiSlots, static_cast<unsigned>(n.start.stack),
                  static_cast<unsigned>(n.end.stack), static_cast<unsigned>(n.deepestStack));
    return text;
}

// Run only when asked (--gtest_also_run_disabled_tests): under emulation,
// where hosts without 32-bit code run the suite, the whole night took 57
// minutes with other machines sharing two cores. Its counts are printed every
// minute as it goes.
TEST(NightTest, DISABLED_TenThousandUnansweredFailuresLeaveOneBoxAndFlatCounts) {
    ResetFloatingPoint();
    ASSERT_EQ(CreateStringHeap(), 1);
    // With no script the stand-in sensapi.dll beside this program answers
    // "not reachable" at once; Wine's own would answer "reachable".
    SetEnvironmentVariableA("FAKE_SENSAPI_SCRIPT", nullptr);
    ASSERT_EQ(OpenWindow(&mainWindow, 0, 0, kMainWindowWidth, kMainWindowHeight, kMainWindowFlags, nullptr,
                         kMainWindowCaption, MonitorHandler),
              1);
    BuildLayout();
    PumpMessages();
    // A log of 4,000 characters instead of the control's 32K: full after some
    // 160 lines, so nearly every tick trims it as a full log does overnight,
    // while each insertion into the smaller document stays cheap enough for
    // ten thousand of them under emulation.
    SendMessageA(GetDlgItem(mainWindow.hwnd, LOG_CONTROL_ID), EM_EXLIMITTEXT, 0, kLogLimit);
    SetWindowTextA(GetDlgItem(mainWindow.hwnd, ID_TARGET), "dead.example");
    SendMessageA(GetDlgItem(mainWindow.hwnd, ID_FAILURE_MESSAGE), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(mainWindow.hwnd, WM_COMMAND, MAKEWPARAM(ID_START, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(mainWindow.hwnd, ID_START)));
    ASSERT_EQ(started, 1);
    // The monitor's timer stays, but not due within the test: the posted ticks
    // are all there are, so the figures come out the same on every run.
    SetTimer(mainWindow.hwnd, PROBE_TIMER_ID, USER_TIMER_MAXIMUM, ProbeTick);

    night.driver = CreateDriver();
    ASSERT_NE(night.driver, nullptr);
    PostTick();
    MSG msg;
    while (!night.over && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    PumpMessages();
    std::printf("The night, %u s: %s\n", static_cast<unsigned>(night.clock.Seconds()), Describe(night).c_str());

    ASSERT_EQ(night.end.ticks, kTicks) << "called off: " << Describe(night);
    EXPECT_TRUE(night.answered) << "WM_NULL from another thread was not answered";
    EXPECT_EQ(night.start.boxes, 1);
    EXPECT_EQ(night.end.boxes, 1);
    EXPECT_EQ(night.end.windows, night.start.windows);
    EXPECT_EQ(night.end.freeGdiSlots, night.settled.freeGdiSlots);
    EXPECT_LT(night.deepestStack, night.start.stack + kStackSlack) << Describe(night);

    // The log is full of failures, newest first; its first line is the last tick's.
    const std::string newest = night.log.substr(0, night.log.find("\r\n"));
    EXPECT_TRUE(newest == kNoResponse + night.timeBeforeLastTick ||
                newest == kNoResponse + night.timeAfterLastTick)
        << newest << " (last tick between " << night.timeBeforeLastTick << " and " << night.timeAfterLastTick
        << ")";
    int32_t lines = 0;
    for (size_t at = 0; at < night.log.size(); ++lines) {
        ASSERT_EQ(night.log.compare(at, sizeof(kNoResponse) - 1, kNoResponse), 0) << "line " << lines;
        const size_t end = night.log.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "line " << lines;
        at = end + 2;
    }
    EXPECT_GT(lines, 100);
    EXPECT_LE(static_cast<int32_t>(night.log.size()), kLogLimit);

    EXPECT_EQ(started, 1);
    EXPECT_EQ(IsWindow(mainWindow.hwnd), TRUE);
    KillTimer(mainWindow.hwnd, PROBE_TIMER_ID);
    CloseWindow(&mainWindow);
    DestroyWindow(night.driver);
    PumpMessages();
    FreeAllTemporaries();
    ShutdownStringHeap();
}

}  // namespace

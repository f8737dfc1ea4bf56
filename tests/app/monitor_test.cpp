#include "app/monitor.h"

#include <gtest/gtest.h>
#include <richedit.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/layout.h"
#include "runtime/program/program.h"
#include "runtime/core/strings.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "tests/support/box_watcher.h"
#include "tests/support/test_support.h"

namespace {

constexpr uint32_t kGreen = RGB(0, 255, 0);
constexpr uint32_t kRed = RGB(255, 0, 0);
constexpr uint32_t kBlack = RGB(0, 0, 0);
constexpr uint32_t kBlue = RGB(0, 0, 255);

class MonitorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFloatingPoint();
        ASSERT_EQ(CreateStringHeap(), 1);
        ProbeTarget[0] = '\0';   // as a new process has it
        script_ = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  "\\sensapi.txt";
        DeleteFileA(script_.c_str());
        DeleteFileA((script_ + ".calls").c_str());
        SetEnvironmentVariableA("FAKE_SENSAPI_SCRIPT", script_.c_str());
        ASSERT_EQ(OpenWindow(&mainWindow, 0, 0, 400, 400, 0x20800, nullptr, "Reachlet", MonitorHandler), 1);
        BuildLayout();
        PumpMessages();
    }
    void TearDown() override {
        if (started)
            KillTimer(mainWindow.hwnd, PROBE_TIMER_ID);
        started = 0;
        CloseWindow(&mainWindow);
        PumpMessages();
        FreeAllTemporaries();
        ShutdownStringHeap();
    }

    void Script(const std::string& text) {
        FILE* f = std::fopen(script_.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs(text.c_str(), f);
        std::fclose(f);
    }
    std::string Calls() { return ReadWholeFile(script_ + ".calls"); }

    static HWND Control(int id) { return GetDlgItem(mainWindow.hwnd, id); }
    static void SetText(int id, const char* text) { SetWindowTextA(Control(id), text); }
    static void Press(int id) {
        SendMessageA(mainWindow.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Control(id)));
    }
    // What the button itself sends its parent for a double click: a click,
    // then BN_DOUBLECLICKED for the second press.
    static void DoubleClick(int id) {
        for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
            SendMessageA(Control(id), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(4, 4));
    }
    static std::vector<SeenBox> PressAndWatch(int id) {
        return BoxesDuring([id] { Press(id); });
    }
    static std::vector<SeenBox> TickAndWatch() {
        return BoxesDuring([] { ProbeTick(mainWindow.hwnd, WM_TIMER, PROBE_TIMER_ID, 0); });
    }
    static std::string Caption() {
        char text[512] = {};
        GetWindowTextA(mainWindow.hwnd, text, sizeof(text));
        return text;
    }
    static std::string Log() {
        const int length = GetWindowTextLengthA(Control(LOG_CONTROL_ID));
        std::string text(static_cast<size_t>(length) + 1, '\0');
        GetWindowTextA(Control(LOG_CONTROL_ID), text.data(), length + 1);
        text.resize(static_cast<size_t>(length));
        return text;
    }
    static std::vector<std::string> LogLines() {
        std::vector<std::string> lines;
        const std::string text = Log();
        size_t start = 0;
        for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
        return lines;
    }
    // Text colour of the first character of a line, read from the control.
    static COLORREF LineColor(int line) {
        HWND log = Control(LOG_CONTROL_ID);
        const LRESULT start = SendMessageA(log, EM_LINEINDEX, line, 0);
        CHARRANGE range{static_cast<LONG>(start), static_cast<LONG>(start + 1)};
        SendMessageA(log, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMATA format{};
        format.cbSize = sizeof(format);
        SendMessageA(log, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return format.crTextColor;
    }
    static bool IsTimeLine(const std::string& line, const std::string& label) {
        if (line.size() != label.size() + 8 || line.compare(0, label.size(), label) != 0)
            return false;
        const std::string t = line.substr(label.size());
        return t[2] == ':' && t[5] == ':' && isdigit(t[0]) && isdigit(t[1]) && isdigit(t[3]) &&
               isdigit(t[4]) && isdigit(t[6]) && isdigit(t[7]);
    }
    void StartWith(const char* target, const char* interval) {
        SetText(ID_TARGET, target);
        SetText(ID_INTERVAL, interval);
        const auto boxes = PressAndWatch(ID_START);
        ASSERT_TRUE(boxes.empty()) << boxes[0].text;
        ASSERT_EQ(started, 1);
    }

    std::string script_;
};

TEST_F(MonitorTest, EachRefusalShowsItsMessageInOrder) {
    auto boxes = PressAndWatch(ID_STOP);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Ping not started");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_TRUE(boxes[0].exclamationIcon);

    boxes = PressAndWatch(ID_START);   // empty target, default interval
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "IP Address Or PC Name must be entered");
    EXPECT_EQ(boxes[0].caption, "Error");

    SetText(ID_TARGET, "host");
    SetText(ID_INTERVAL, "9");
    boxes = PressAndWatch(ID_START);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Minimum interval is 10 Seconds");
    EXPECT_TRUE(boxes[0].exclamationIcon);
    EXPECT_EQ(started, 0);
    EXPECT_EQ(Log(), "");

    StartWith("host", "10");
    // Already started wins over every other check, even an empty target.
    SetText(ID_TARGET, "");
    boxes = PressAndWatch(ID_START);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Reachlet already started");
    EXPECT_EQ(LogLines().size(), 1u);
}

TEST_F(MonitorTest, ADoubleClickOnStartOrStopActsOnce) {
    SetText(ID_TARGET, "host");
    for (const int id : {ID_START, ID_STOP}) {
        const auto boxes = BoxesDuring([id] { DoubleClick(id); });
        EXPECT_TRUE(boxes.empty()) << id << ": " << boxes[0].text;
    }
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(IsTimeLine(lines[0], "Ping stopped at ")) << lines[0];
    EXPECT_TRUE(IsTimeLine(lines[1], "Ping started at ")) << lines[1];
}

struct IntervalCase {
    const char* text;
    int32_t seconds;
};

class IntervalTextTest : public MonitorTest, public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(IntervalTextTest, ParsesAndRoundsTheInterval) {
    const IntervalCase c = GetParam();
    SetText(ID_TARGET, "host");
    SetText(ID_INTERVAL, c.text);
    const auto boxes = PressAndWatch(ID_START);
    EXPECT_EQ(intervalSeconds, c.seconds) << "'" << c.text << "'";
    if (c.seconds >= 10) {
        EXPECT_TRUE(boxes.empty());
        EXPECT_EQ(started, 1);
    } else {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Minimum interval is 10 Seconds");
        EXPECT_EQ(started, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, IntervalTextTest,
                         ::testing::Values(IntervalCase{"30", 30}, IntervalCase{" \t 30", 30},
                                           IntervalCase{"12abc", 12}, IntervalCase{"9", 9},
                                           IntervalCase{"9.5", 10}, IntervalCase{"10.5", 10},
                                           IntervalCase{"abc", 0}, IntervalCase{"", 0},
                                           IntervalCase{"-20", -20}, IntervalCase{"+30", 0},
                                           IntervalCase{"3e1", 3},
                                           IntervalCase{"99999999999", -2147483647 - 1}));

TEST_F(MonitorTest, CaptionsFollowTheState) {
    EXPECT_EQ(Caption(), "Reachlet");
    StartWith("Gateway.local", "30");
    EXPECT_EQ(Caption(), "Reachlet - Started - GATEWAY.LOCAL");
    EXPECT_STREQ(ProbeTarget, "Gateway.local");
    Press(ID_STOP);
    EXPECT_EQ(Caption(), "Reachlet - Stopped");
}

TEST_F(MonitorTest, LogLinesAreNewestFirstInTheirColours) {
    Script("reachable up.example\n");
    StartWith("up.example", "10");
    auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(IsTimeLine(lines[0], "Ping started at ")) << lines[0];
    EXPECT_EQ(LineColor(0), kGreen);

    ASSERT_TRUE(TickAndWatch().empty());
    Script("default 0\n");
    ASSERT_TRUE(TickAndWatch().empty());   // 109 is clear: no box
    Press(ID_STOP);

    lines = LogLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(IsTimeLine(lines[0], "Ping stopped at ")) << lines[0];
    EXPECT_TRUE(IsTimeLine(lines[1], "No response at ")) << lines[1];
    EXPECT_TRUE(IsTimeLine(lines[2], "Contact successful at ")) << lines[2];
    EXPECT_TRUE(IsTimeLine(lines[3], "Ping started at ")) << lines[3];
    EXPECT_EQ(LineColor(0), kRed);
    EXPECT_EQ(LineColor(1), kBlue);
    EXPECT_EQ(LineColor(2), kBlack);
    EXPECT_EQ(LineColor(3), kGreen);
}

TEST_F(MonitorTest, EachTickProbesTheTypedTargetTwice) {
    StartWith("MixedCase.Host", "10");
    TickAndWatch();
    EXPECT_EQ(Calls(), "MixedCase.Host|null\nMixedCase.Host|null\n");
    Press(ID_STOP);

    StartWith(" ", "10");   // a blank is a target like any other
    TickAndWatch();
    EXPECT_EQ(Calls(), "MixedCase.Host|null\nMixedCase.Host|null\n |null\n |null\n");
}

TEST_F(MonitorTest, OnlyTheSecondProbeDecides) {
    StartWith("h", "10");
    Script("answers 1 0\n");   // first probe reached, second not
    TickAndWatch();
    EXPECT_TRUE(IsTimeLine(LogLines()[0], "No response at ")) << LogLines()[0];
    Script("answers 0 1\n");   // call three fails, call four succeeds
    TickAndWatch();
    EXPECT_TRUE(IsTimeLine(LogLines()[0], "Contact successful at ")) << LogLines()[0];
}

TEST_F(MonitorTest, FailureBoxOnlyWhenTheCheckBoxIsTicked) {
    StartWith("down.example", "10");
    EXPECT_TRUE(TickAndWatch().empty());
    SendMessageA(Control(ID_FAILURE_MESSAGE), BM_SETCHECK, BST_CHECKED, 0);
    const auto boxes = TickAndWatch();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Failure");
    EXPECT_TRUE(boxes[0].stopIcon);
    EXPECT_TRUE(IsTimeLine(boxes[0].text, "No response at ")) << boxes[0].text;
    // That box was answered, so the next failure opens one of its own.
    EXPECT_EQ(TickAndWatch().size(), 1u);
    Script("default 1\n");
    EXPECT_TRUE(TickAndWatch().empty());
}

TEST_F(MonitorTest, RestartUsesNewValuesAndKeepsOldLinesBelow) {
    StartWith("first", "10");
    Press(ID_STOP);
    StartWith("second", "45");
    EXPECT_EQ(intervalSeconds, 45);
    EXPECT_STREQ(ProbeTarget, "second");
    EXPECT_EQ(Caption(), "Reachlet - Started - SECOND");
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(IsTimeLine(lines[0], "Ping started at "));
    EXPECT_TRUE(IsTimeLine(lines[1], "Ping stopped at "));
    EXPECT_TRUE(IsTimeLine(lines[2], "Ping started at "));
}

TEST_F(MonitorTest, AFullLogDropsItsOldestLinesAndKeepsTheNewestWhole) {
    HWND log = Control(LOG_CONTROL_ID);
    // The log makes room by the control's own limit, whatever it is: a
    // smaller one fills with fewer lines (each a rich edit insertion, a
    // fifth of a second under emulation) and shows the same.
    SendMessageA(log, EM_EXLIMITTEXT, 0, 4000);
    const LRESULT limit = SendMessageA(log, EM_GETLIMITTEXT, 0, 0);
    ASSERT_EQ(limit, 4000);
    // 200 lines of 30 characters and CR LF overfill the log by half; short
    // enough not to wrap, so a display line is a log line.
    constexpr int kLines = 200;
    const std::string padding(19, 'x');
    char line[80];
    for (int i = 0; i < kLines; ++i) {
        std::snprintf(line, sizeof(line), "line %05d %s", i, padding.c_str());
        AppendLogLine(line, RGB(0, 0, i % 2 ? 255 : 0));
    }
    const auto lines = LogLines();
    ASSERT_GT(lines.size(), 100u);
    ASSERT_LT(lines.size(), static_cast<size_t>(kLines));
    EXPECT_EQ(lines[0], "line 00199 " + padding);
    EXPECT_EQ(lines[1], "line 00198 " + padding);
    // Newest first all the way down, with no line cut.
    for (size_t i = 0; i < lines.size(); ++i)
        ASSERT_EQ(lines[i], [&] {
            std::snprintf(line, sizeof(line), "line %05d %s", static_cast<int>(kLines - 1 - i), padding.c_str());
            return std::string(line);
        }()) << "line " << i;
    EXPECT_LE(GetWindowTextLengthA(log), limit);
    // Making room turns the log's redraw off and on again: it is still
    // shown, at its newest line.
    EXPECT_TRUE(GetWindowLongA(log, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(SendMessageA(log, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(LineColor(0), RGB(0, 0, 255));
    EXPECT_EQ(LineColor(1), RGB(0, 0, 0));

    // A hidden log stays hidden while lines make room in it: forty lines as
    // long as the rest need room at least twice (an eighth of the limit,
    // some 16 lines, is freed each time).
    ShowWindow(log, SW_HIDE);
    for (int i = kLines; i < kLines + 40; ++i) {
        std::snprintf(line, sizeof(line), "line %05d %s", i, padding.c_str());
        AppendLogLine(line, kRed);
        EXPECT_FALSE(GetWindowLongA(log, GWL_STYLE) & WS_VISIBLE) << line;
    }
    EXPECT_EQ(LogLines()[0], line);
    EXPECT_LE(GetWindowTextLengthA(log), limit);
}

TEST_F(MonitorTest, ATargetLongerThanTheProbeBufferIsRefused) {
    const std::string longName(300, 'a');
    SetText(ID_TARGET, longName.c_str());
    const auto boxes = PressAndWatch(ID_START);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "IP Address Or PC Name must be at most 255 characters");
    EXPECT_EQ(started, 0);
    EXPECT_EQ(StringLength(ProbeTarget), 0);

    const std::string longest(255, 'b');
    StartWith(longest.c_str(), "10");
    EXPECT_EQ(std::string(ProbeTarget), longest);
}

TEST(ProbePeriodTest, LongIntervalsAreHeldAtTheLongestTimerPeriod) {
    EXPECT_EQ(ProbePeriodMs(10), 10000);
    EXPECT_EQ(ProbePeriodMs(2147483), 2147483000);
    EXPECT_EQ(ProbePeriodMs(2147484), 0x7FFFFFFF);
    EXPECT_EQ(ProbePeriodMs(2147483647), 0x7FFFFFFF);
}

}  // namespace

// Coloured lines inserted at the top of a read-only rich edit log, the way
// the monitor writes its log: select 0..0, set the selection colour, select
// 0..0 again, replace the selection with the line and "\r\n".

#include "tests/control/command_fixture.h"

#include <richedit.h>

#include <array>
#include <string>

#include "runtime/control/log_lines.h"

namespace {

constexpr int32_t kLogId = 108;
constexpr DWORD kLogStyle = WS_VSCROLL | ES_READONLY | ES_MULTILINE;

class RichEditLogTest : public ControlCommandTest {
protected:
    void SetUp() override {
        ControlCommandTest::SetUp();
        log = MakeRichEdit(kLogId, kLogStyle);
        ASSERT_NE(log, nullptr);
    }
    void AppendLine(const char* text, uint32_t color) {
        Command(kLogId, CC_ED_SET_SEL, IntArg(0), IntArg(0));
        Command(kLogId, CC_ED_SET_SEL_COLOR, DwordArg(color));
        Command(kLogId, CC_ED_SET_SEL, IntArg(0), IntArg(0));
        char* line = ConcatStrings(text, "\r\n");
        PushTemporary(line);
        Command(kLogId, CC_ED_REPLACE_SEL, StrArg(line));
        ReleaseTemporaries(1);
    }
    // The colour of the whole of line n, read with the control's own
    // selection; 0xFFFFFFFF when the line's characters differ in colour or
    // are automatically coloured.
    uint32_t LineColor(int32_t n) {
        const LRESULT start = SendMessageA(log, EM_LINEINDEX, static_cast<WPARAM>(n), 0);
        const LRESULT length = SendMessageA(log, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
        SendMessageA(log, EM_SETSEL, static_cast<WPARAM>(start), start + length);
        CHARFORMATA format{};
        format.cbSize = sizeof(format);
        SendMessageA(log, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        if (!(format.dwMask & CFM_COLOR) || (format.dwEffects & CFE_AUTOCOLOR))
            return 0xFFFFFFFF;
        return format.crTextColor;
    }
    HWND log = nullptr;
};

TEST_F(RichEditLogTest, ThreeLinesReadNewestFirstEachInItsColour) {
    constexpr std::array<uint32_t, 3> colors{0x00008000, 0x000000FF, 0x00FF0000};
    AppendLine("Ping started at 10:00:00", colors[0]);
    AppendLine("No response at 10:00:10", colors[1]);
    AppendLine("Contact successful at 10:00:20", colors[2]);

    EXPECT_EQ(TextOf(log),
              "Contact successful at 10:00:20\r\nNo response at 10:00:10\r\nPing started at 10:00:00\r\n");
    EXPECT_EQ(LineColor(0), colors[2]);
    EXPECT_EQ(LineColor(1), colors[1]);
    EXPECT_EQ(LineColor(2), colors[0]);
}

TEST_F(RichEditLogTest, SelectingMovesTheCaretAndTheColourSetsTheInsertionPoint) {
    SendMessageA(log, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("old line\r\n"));
    SendMessageA(log, EM_SETSEL, 3, 5);
    Command(kLogId, CC_ED_SET_SEL, IntArg(0), IntArg(0));
    DWORD start = 1;
    DWORD end = 1;
    SendMessageA(log, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
    EXPECT_NE(Command(kLogId, CC_ED_SET_SEL_COLOR, IntArg(0x00123456)), 0);
    Command(kLogId, CC_ED_REPLACE_SEL, StrArg("new\r\n"));
    EXPECT_EQ(TextOf(log), "new\r\nold line\r\n");
    EXPECT_EQ(LineColor(0), 0x00123456u);
    EXPECT_NE(LineColor(1), 0x00123456u);
}

TEST_F(RichEditLogTest, ColourReadThroughTheCallersVariable) {
    int32_t color = 0x000080FF;
    Command(kLogId, CC_ED_SET_SEL, IntArg(0), IntArg(0));
    EXPECT_NE(Command(kLogId, CC_ED_SET_SEL_COLOR, RefArg(&color)), 0);
    Command(kLogId, CC_ED_REPLACE_SEL, StrArg("orange\r\n"));
    EXPECT_EQ(LineColor(0), 0x000080FFu);
}

TEST_F(RichEditLogTest, RefusedColourLeavesTheInsertionFormatAlone) {
    SendMessageA(log, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("plain\r\n"));
    const uint32_t before = LineColor(0);
    Command(kLogId, CC_ED_SET_SEL, IntArg(0), IntArg(0));
    EXPECT_EQ(Command(kLogId, CC_ED_SET_SEL_COLOR, StrArg("0x0000FF")), 0);
    EXPECT_EQ(Command(kLogId, CC_ED_SET_SEL_COLOR, TypedValue(0xFF, TY_SINGLE)), 0);
    EXPECT_EQ(Command(kLogId, CC_ED_SET_SEL_COLOR, TypedValue(0, TY_INTEGER | TY_BYREF)), 0);
    Command(kLogId, CC_ED_SET_SEL, IntArg(0), IntArg(0));
    Command(kLogId, CC_ED_REPLACE_SEL, StrArg("more\r\n"));
    EXPECT_EQ(TextOf(log), "more\r\nplain\r\n");
    EXPECT_EQ(LineColor(0), before);
}

TEST_F(RichEditLogTest, TextWithoutAStringArgumentIsNotInserted) {
    SendMessageA(log, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("kept"));
    EXPECT_EQ(Command(kLogId, CC_ED_REPLACE_SEL, IntArg(5)), 0);
    EXPECT_EQ(Command(kLogId, CC_ED_REPLACE_SEL, TypedValue(0, TY_STRING)), 0);
    EXPECT_EQ(TextOf(log), "kept");
}

TEST_F(RichEditLogTest, ReplacementCanBeUndone) {
    SendMessageA(log, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("base"));
    Command(kLogId, CC_ED_SET_SEL, IntArg(0), IntArg(0));
    Command(kLogId, CC_ED_REPLACE_SEL, StrArg("top "));
    ASSERT_EQ(TextOf(log), "top base");
    EXPECT_NE(SendMessageA(log, EM_CANUNDO, 0, 0), 0);
    SendMessageA(log, EM_UNDO, 0, 0);
    EXPECT_EQ(TextOf(log), "base");
}

// A full log frees an eighth of its limit beyond the new line each time it
// drops its oldest lines: it drops them once every several lines, never
// holds more than its limit, and keeps whole lines, newest first.
TEST_F(RichEditLogTest, AFullLogMakesRoomForManyLinesAtOnce) {
    constexpr int32_t kLimit = 1600;   // full after 50 lines of 32 characters
    SendMessageA(log, EM_EXLIMITTEXT, 0, kLimit);
    std::string written;
    int drops = 0, before = 0;
    for (int i = 0; i < 120; ++i) {
        const std::string text = "line " + std::to_string(100000 + i) + " of the full log...";
        ASSERT_EQ(AppendLogLine(&window, kLogId, text.c_str(), 0x00FF0000), 1);
        written.insert(0, text + "\r\n");
        const int length = GetWindowTextLengthA(log);
        ASSERT_LE(length, kLimit) << text;
        if (length < before) {
            ++drops;
            EXPECT_LE(length, kLimit - kLimit / 8) << text;
        }
        before = length;
    }
    EXPECT_GE(drops, 5);   // 70 lines past full, some 6 dropped at a time
    EXPECT_LE(drops, 12);
    EXPECT_EQ(TextOf(log), written.substr(0, static_cast<size_t>(before)));
}

}  // namespace

#include "runtime/window/print_values.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <bit>
#include <string>

#include "runtime/program/program.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "tests/support/test_support.h"

namespace {

// Standard output of this process goes to a scratch file while a case runs;
// the print routine fetches the handle on every call.
class PrintValuesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFloatingPoint();
        path = ScratchFolder("print") + "\\stdout.txt";
        file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        saved = GetStdHandle(STD_OUTPUT_HANDLE);
        SetStdHandle(STD_OUTPUT_HANDLE, file);
    }
    void TearDown() override {
        SetStdHandle(STD_OUTPUT_HANDLE, saved);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        DeleteFileA(path.c_str());
    }
    // Everything written so far.
    std::string Output() { return ReadWholeFile(path); }

    std::string path;
    HANDLE file = INVALID_HANDLE_VALUE;
    HANDLE saved = nullptr;
};

TEST_F(PrintValuesTest, IntegerThenDoubleKeepBothSpaces) {
    EXPECT_EQ(PrintValues(2, TY_INTEGER, 5, TY_DOUBLE, 2.5), 7);
    EXPECT_EQ(Output(), "5  2.50");
}

TEST_F(PrintValuesTest, EveryItemCodeHasItsForm) {
    PrintValues(5, TY_STRING, "ab", PRINT_WIDE_STRING, L"wide", TY_BYTE, 'c', TY_CHAR, 'd', TY_STRING, "|");
    PrintValues(4, TY_INTEGER, -7, TY_DWORD, 4000000000u, TY_WORD, 0x12345, TY_SHORT, 0xFFFF);
    PrintValues(3, TY_SINGLE, std::bit_cast<uint32_t>(-1.25f), TY_DOUBLE, 2.5, TY_DOUBLE, 1.0 / 3);
    PrintValues(1, TY_STRING, "|");
    PrintValues(3, TY_QUAD, int64_t{-5}, TY_UQUAD, uint64_t{10} << 32, TY_QUAD, INT64_MIN);
    PrintValues(3, TY_INTEGER, 1, PRINT_WINDOW, 0xFFFFFFF0u, 77u, 123u);
    EXPECT_EQ(Output(),
              "abwidecd|"
              "-7 4000000000 9029 -1 "
              "-1.25 2.50 0.33|"
              "-5 42949672960 -9223372036854775808 "
              "1 4294967280 123 ");
    EXPECT_EQ(printTarget, nullptr);
}

TEST_F(PrintValuesTest, LineEndsGoToStandardOutputAsGiven) {
    EXPECT_EQ(PrintValues(1, TY_STRING, "a\r\n"), 3);
    EXPECT_EQ(PrintValues(0), 0);
    EXPECT_EQ(Output(), "a\r\n");
}

TEST_F(PrintValuesTest, WindowAsFirstItemTakesOverLaterPrints) {
    WindowRecord window{};
    EXPECT_EQ(PrintValues(2, PRINT_WINDOW, &window, TY_STRING, "drawn\r\n"), 5);
    EXPECT_EQ(printTarget, &window);
    EXPECT_EQ(PrintValues(1, TY_INTEGER, 42), 3);
    EXPECT_EQ(printTarget, &window);
    EXPECT_EQ(Output(), "");
    PrintValues(2, PRINT_WINDOW, nullptr, TY_INTEGER, 42);
    EXPECT_EQ(printTarget, nullptr);
    EXPECT_EQ(Output(), "42 ");
}

// Only one line end comes off a print into a window: a line feed, with the
// carriage return right before it. The result counts what is drawn.
TEST_F(PrintValuesTest, APrintIntoAWindowDropsOneLineFeedAndTheCarriageReturnBeforeIt) {
    const struct {
        const char* text;
        int32_t drawn;
    } cases[] = {
        {"abc\r\n", 3}, {"abc\n", 3}, {"abc\r", 4}, {"abc\n\r", 5}, {"abc\r\r\n", 4},
        {"abc\n\n", 4}, {"\r\n", 0},   {"\r", 1},     {"\n", 0},       {"abc", 3},
    };
    WindowRecord window{};   // no window: nothing is drawn, the count still comes back
    for (const auto& c : cases)
        EXPECT_EQ(PrintValues(2, PRINT_WINDOW, &window, TY_STRING, c.text), c.drawn) << c.text;
    printTarget = nullptr;
    EXPECT_EQ(Output(), "");
}

// Width of the text in the window's own font, as its drawing scope uses it.
int32_t TextWidth(const WindowRecord& window, const char* text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, window.font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return size.cx;
}

// True when some pixel of the client rectangle differs from the fill.
bool AnyInkIn(HWND hwnd, RECT area, COLORREF fill) {
    HDC dc = GetDC(hwnd);
    bool ink = false;
    for (LONG y = area.top; y < area.bottom && !ink; ++y)
        for (LONG x = area.left; x < area.right && !ink; ++x)
            ink = GetPixel(dc, x, y) != fill;
    ReleaseDC(hwnd, dc);
    return ink;
}

TEST_F(PrintValuesTest, PrintsIntoAWindowContinueOnOneLineWithoutTheLineEnd) {
    WindowRecord window{};
    ASSERT_EQ(OpenWindow(&window, 40, 40, 300, 200, RF_HIDDEN, nullptr, "print", nullptr), 1);
    // On the screen, without taking the focus from tests running beside this one.
    SetWindowPos(window.hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    PumpMessages();
    window.penX = 10;
    window.penY = 20;
    const COLORREF fill = window.fillColor;

    EXPECT_EQ(PrintValues(2, PRINT_WINDOW, &window, TY_STRING, "ab\r\n"), 2);
    EXPECT_EQ(window.penX, 10 + TextWidth(window, "ab"));
    EXPECT_EQ(window.penY, 20);
    EXPECT_EQ(PrintValues(1, TY_INTEGER, 42), 3);
    EXPECT_EQ(window.penX, 10 + TextWidth(window, "ab") + TextWidth(window, "42 "));
    EXPECT_EQ(window.penY, 20);
    EXPECT_EQ(PrintValues(1, TY_STRING, "\n"), 0);
    EXPECT_EQ(window.penX, 10 + TextWidth(window, "ab42 "));

    // On the screen as the calls return, from the left edge of the first text.
    EXPECT_FALSE(AnyInkIn(window.hwnd, RECT{0, 0, 10, 60}, fill));
    EXPECT_TRUE(AnyInkIn(window.hwnd, RECT{10, 20, 10 + TextWidth(window, "ab"), 60}, fill));
    EXPECT_TRUE(AnyInkIn(window.hwnd, RECT{10 + TextWidth(window, "ab"), 20, window.penX, 60}, fill));
    EXPECT_EQ(Output(), "");

    printTarget = nullptr;
    CloseWindow(&window);
    PumpMessages();
}

TEST_F(PrintValuesTest, ItemsThatWouldOverflowTheLineAreLeftOut) {
    const std::string fits(kPrintBufferBytes - 1 - 2, 'x');
    EXPECT_EQ(PrintValues(3, TY_INTEGER, 7, TY_STRING, fits.c_str(), TY_INTEGER, 8), kPrintBufferBytes - 1);
    EXPECT_EQ(Output(), "7 " + fits);

    const std::string tooLong(kPrintBufferBytes, 'y');
    EXPECT_EQ(PrintValues(3, TY_STRING, "a", TY_STRING, tooLong.c_str(), TY_STRING, "b"), 1);
    const std::string full(kPrintBufferBytes - 10, 'z');
    EXPECT_EQ(PrintValues(2, TY_STRING, full.c_str(), TY_UQUAD, ~uint64_t{0}), kPrintBufferBytes - 10);
    EXPECT_EQ(Output(), "7 " + fits + "a" + full);
}

TEST(PrintValuesWithoutOutput, MissingStandardOutputIsIgnored) {
    const HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, nullptr);
    EXPECT_EQ(PrintValues(1, TY_INTEGER, 5), 2);
    SetStdHandle(STD_OUTPUT_HANDLE, saved);
}

}  // namespace

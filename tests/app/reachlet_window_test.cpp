#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/program_process.h"
#include "tests/support/test_support.h"

namespace {

const std::string kProgram = BuildPath(PROGRAM_DIR "\\Reachlet.exe");

TEST(ReachletWindowTest, TheProgramShowsItsCompleteWindowCentred) {
    ProgramProcess program;
    ASSERT_TRUE(program.Start(kProgram));
    // Found once shown, that is after its layout.
    HWND main = program.FindMainWindow("CorvaneWndClass");
    ASSERT_NE(main, nullptr);

    int children = 0;
    for (HWND c = GetWindow(main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        ++children;
    EXPECT_EQ(children, 9);
    // GetWindowTextA does not ask a control of another process for its
    // text; WM_GETTEXT does.
    char interval[16] = {};
    SendMessageA(GetDlgItem(main, 104), WM_GETTEXT, sizeof(interval), reinterpret_cast<LPARAM>(interval));
    EXPECT_STREQ(interval, "30");
    char start[16] = {};
    SendMessageA(GetDlgItem(main, 105), WM_GETTEXT, sizeof(start), reinterpret_cast<LPARAM>(start));
    EXPECT_STREQ(start, "Start");

    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, (area.left + area.right) / 2 - 200);
    EXPECT_EQ(r.top, (area.top + area.bottom) / 2 - 200);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 400);

    ASSERT_TRUE(PostMessageA(main, WM_CLOSE, 0, 0));
    DWORD exitCode = 1234;
    ASSERT_TRUE(program.WaitForExit(15000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace

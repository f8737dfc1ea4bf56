#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/program_process.h"
#include "tests/support/test_support.h"

namespace {

const std::string kProgram = BuildPath(PROGRAM_DIR "\\Reachlet.exe");

TEST(ReachletProcessTest, RunsWithItsMainWindowAndEndsWithCodeZeroOnClose) {
    ProgramProcess program;
    ASSERT_TRUE(program.Start(kProgram));
    HWND main = program.FindMainWindow("CorvaneWndClass");
    ASSERT_NE(main, nullptr);
    char caption[64] = {};
    GetWindowTextA(main, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Reachlet");
    EXPECT_TRUE(program.Running());

    ASSERT_TRUE(PostMessageA(main, WM_CLOSE, 0, 0));
    DWORD exitCode = 1234;
    ASSERT_TRUE(program.WaitForExit(15000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST(ReachletProcessTest, AQuitMessageDoesNotEndTheLoop) {
    ProgramProcess program;
    ASSERT_TRUE(program.Start(kProgram));
    HWND main = program.FindMainWindow("CorvaneWndClass");
    ASSERT_NE(main, nullptr);
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    // Posted messages are taken in order: the close is only handled if the
    // loop went on past the quit message.
    ASSERT_TRUE(PostThreadMessageA(thread, WM_QUIT, 0, 0));
    ASSERT_TRUE(PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0));
    DWORD exitCode = 1234;
    ASSERT_TRUE(program.WaitForExit(15000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace

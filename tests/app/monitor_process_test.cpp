#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/program_process.h"
#include "tests/support/test_support.h"

namespace {

// A copy of Reachlet.exe beside the scripted sensapi.dll.
const std::string kProgram = BuildPath("fakenet\\Reachlet.exe");

class MonitorProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        script_ = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  "\\sensapi.txt";
        FILE* f = std::fopen(script_.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("reachable gateway.local\n", f);
        std::fclose(f);
        DeleteFileA((script_ + ".calls").c_str());
        SetEnvironmentVariableA("FAKE_SENSAPI_SCRIPT", script_.c_str());
        ASSERT_TRUE(program_.Start(kProgram));
        main_ = program_.FindMainWindow("CorvaneWndClass");
        ASSERT_NE(main_, nullptr);
    }

    HWND Control(int id) const { return GetDlgItem(main_, id); }
    static std::string Text(HWND hwnd) {
        char text[4096] = {};
        SendMessageA(hwnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        return text;
    }
    void Press(int id) const { SendMessageA(Control(id), BM_CLICK, 0, 0); }
    // Waits, bounded, for the log's first line to begin with the label.
    bool WaitForFirstLine(const std::string& label, DWORD timeoutMs) const {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < timeoutMs) {
            if (Text(Control(108)).rfind(label, 0) == 0)
                return true;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            PumpMessages();
        }
        return false;
    }
    // True when some pixel of the log's top text line, on screen, is the colour.
    bool FirstLineShows(COLORREF color) const {
        RECT r{};
        GetWindowRect(Control(108), &r);
        HDC screen = GetDC(nullptr);
        bool found = false;
        for (int y = r.top + 2; y < r.top + 18 && !found; ++y)
            for (int x = r.left + 2; x < r.right - 20 && !found; ++x)
                found = GetPixel(screen, x, y) == color;
        ReleaseDC(nullptr, screen);
        return found;
    }

    std::string script_;
    ProgramProcess program_;
    HWND main_ = nullptr;
};

TEST_F(MonitorProcessTest, StartTickStopExitAsAUserWould) {
    SendMessageA(Control(103), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("gateway.local"));
    SendMessageA(Control(104), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("10"));
    Press(105);
    EXPECT_EQ(Text(main_), "Reachlet - Started - GATEWAY.LOCAL");
    ASSERT_EQ(Text(Control(108)).rfind("Ping started at ", 0), 0u) << Text(Control(108));
    UpdateWindow(main_);
    EXPECT_TRUE(FirstLineShows(RGB(0, 255, 0)));

    // One real tick of the timer at the 10-second minimum.
    ASSERT_TRUE(WaitForFirstLine("Contact successful at ", 20000)) << Text(Control(108));
    EXPECT_EQ(ReadWholeFile(script_ + ".calls"), "gateway.local|null\ngateway.local|null\n");

    Press(106);
    EXPECT_EQ(Text(main_), "Reachlet - Stopped");
    const std::string log = Text(Control(108));
    EXPECT_EQ(log.rfind("Ping stopped at ", 0), 0u) << log;
    UpdateWindow(main_);
    EXPECT_TRUE(FirstLineShows(RGB(255, 0, 0)));

    PostMessageA(Control(107), BM_CLICK, 0, 0);
    DWORD exitCode = 1234;
    ASSERT_TRUE(program_.WaitForExit(15000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(MonitorProcessTest, ClosingWhileStartedEndsAtOnceWithCodeZero) {
    SendMessageA(Control(103), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("gateway.local"));
    Press(105);
    ASSERT_EQ(Text(main_), "Reachlet - Started - GATEWAY.LOCAL");
    // The log is read inside the program as the close destroys it, by a hook
    // from the scripted sensapi.dll, which the program has loaded already.
    HMODULE fake = LoadLibraryA(BuildPath("fakenet\\sensapi.dll").c_str());
    ASSERT_NE(fake, nullptr);
    auto watch = reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(fake, "WatchDestroyedText")));
    ASSERT_NE(watch, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, watch, fake, GetWindowThreadProcessId(main_, nullptr));
    ASSERT_NE(hook, nullptr);

    PostMessageA(main_, WM_CLOSE, 0, 0);
    DWORD exitCode = 1234;
    ASSERT_TRUE(program_.WaitForExit(15000, &exitCode));
    UnhookWindowsHookEx(hook);
    FreeLibrary(fake);
    EXPECT_EQ(exitCode, 0u);
    const std::string atClose = ReadWholeFile(script_ + ".destroyed");
    EXPECT_EQ(atClose.rfind("Ping started at ", 0), 0u) << atClose;
    EXPECT_EQ(atClose.find("Ping stopped at "), std::string::npos) << atClose;
}

}  // namespace

#include "runtime/window/class_name.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Windows of system classes, spelt in any case, and of classes whose names
// only begin with, or are cut into, a name the runtime asks about.
TEST(ClassNameTest, MatchesTheWholeNameWithoutRegardToCase) {
    InitCommonControls();
    for (const char* name : {"MsCtls_StatusBar32X", "msctls_statusbar32 and more"}) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = name;
        ASSERT_NE(RegisterClassA(&wc), 0) << name;
    }
    const struct {
        const char* className;
        const char* asked;
        bool expected;
    } cases[] = {
        {"button", "BUTTON", true},
        {"Edit", "EDIT", true},
        {"Edit", "BUTTON", false},
        {"msctls_statusbar32", "MSCTLS_STATUSBAR32", true},
        {"MsCtls_StatusBar32X", "MSCTLS_STATUSBAR32", false},
        {"msctls_statusbar32 and more", "MSCTLS_STATUSBAR32", false},
        {"Static", "STATIC", true},
        {"Static", "static", false},   // the asked name is upper case
    };
    for (const auto& c : cases) {
        HWND window = CreateWindowExA(0, c.className, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr) << c.className;
        EXPECT_EQ(HasClassName(window, c.asked), c.expected) << c.className << " as " << c.asked;
        DestroyWindow(window);
    }
    EXPECT_FALSE(HasClassName(nullptr, "STATIC"));
}

}  // namespace

#include "runtime/window/open_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/window/message_loop.h"
#include "tests/support/test_support.h"

namespace {

std::vector<int32_t> handledEvents;
int32_t RecordEvents() {
    handledEvents.push_back(messageRecord.eventCode);
    return 0;
}

class OpenWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        CloseWindow(&child);
        CloseWindow(&window);
        PumpMessages();
    }
    WindowRecord window{};
    WindowRecord child{};
};

TEST_F(OpenWindowTest, MonitorFlagsGiveHiddenCaptionedPopupWithScreenSurface) {
    ASSERT_EQ(OpenWindow(&window, 0, 0, 400, 400, WS_MINIMIZEBOX | RF_HIDDEN, nullptr, "Reachlet",
                         RecordEvents),
              1);
    ASSERT_NE(window.hwnd, nullptr);
    char className[64] = {};
    GetClassNameA(window.hwnd, className, sizeof(className));
    EXPECT_STREQ(className, "CorvaneWndClass");
    const LONG style = GetWindowLongA(window.hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
              static_cast<LONG>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
    EXPECT_EQ(style & (WS_VISIBLE | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD), 0);
    EXPECT_FALSE(IsWindowVisible(window.hwnd));
    EXPECT_EQ(window.surfaceMode, 1u);
    ASSERT_NE(window.surfaceBitmap, nullptr);
    BITMAP bm{};
    ASSERT_NE(GetObjectA(window.surfaceBitmap, sizeof(bm), &bm), 0);
    EXPECT_EQ(bm.bmWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(bm.bmHeight, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(window.fillColor, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(window.bkColor, window.fillColor);
    EXPECT_NE(window.pen, nullptr);
    EXPECT_NE(window.font, nullptr);
    EXPECT_EQ(window.drawWordA, 0);
    EXPECT_EQ(window.drawWordB, 1);
    EXPECT_EQ(window.handler, RecordEvents);
    EXPECT_EQ(reinterpret_cast<WindowRecord*>(GetWindowLongA(window.hwnd, 0)), &window);
    char caption[32] = {};
    GetWindowTextA(window.hwnd, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Reachlet");
}

}  // namespace

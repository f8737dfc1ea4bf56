#include "runtime/window/mdi_refit.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "tests/support/test_support.h"
#include "tests/window/surface_pixels.h"

namespace {

class MdiRefitTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        ASSERT_EQ(OpenWindow(&frame, 20, 20, 700, 560, RF_FRAME, nullptr, "frame", nullptr), 1);
        ASSERT_NE(frame.mdiClient, nullptr);
        PumpMessages();
    }
    void TearDown() override {
        CloseWindow(&child);
        CloseWindow(&frame);
        PumpMessages();
    }
    HWND Bar(const char* className, DWORD style, int x, int y, int width, int height, HWND parent = nullptr) {
        return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | style,
                               x, y, width, height, parent ? parent : frame.hwnd, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
    // Sizes the frame so that its client area is width by height; the frame's
    // WM_SIZE refits the MDI client on the way.
    void SizeClient(int width, int height) {
        RECT outer{};
        RECT client{};
        GetWindowRect(frame.hwnd, &outer);
        GetClientRect(frame.hwnd, &client);
        SetWindowPos(frame.hwnd, nullptr, 0, 0, outer.right - outer.left + width - client.right,
                     outer.bottom - outer.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
        PumpMessages();
        GetClientRect(frame.hwnd, &client);
        ASSERT_EQ(client.right, width);
        ASSERT_EQ(client.bottom, height);
    }
    RECT MdiClientRect() const {
        RECT area{};
        GetWindowRect(frame.mdiClient, &area);
        MapWindowPoints(nullptr, frame.hwnd, reinterpret_cast<POINT*>(&area), 2);
        return area;
    }
    static int Height(HWND bar) {
        RECT r{};
        GetWindowRect(bar, &r);
        return r.bottom - r.top;
    }
    WindowRecord frame{};
    WindowRecord child{};
};

TEST_F(MdiRefitTest, ToolBarAndStatusBarLeaveTheMiddleToTheMdiClient) {
    HWND toolbar = Bar(TOOLBARCLASSNAMEA, CCS_TOP, 0, 0, 640, 28);
    HWND status = Bar(STATUSCLASSNAMEA, CCS_BOTTOM, 0, 460, 640, 20);
    ASSERT_TRUE(toolbar && status);
    ASSERT_EQ(Height(toolbar), 28);
    ASSERT_EQ(Height(status), 20);
    SizeClient(640, 480);
    EXPECT_EQ(MdiClientRect(), (RECT{0, 28, 640, 460}));   // at (0, 28), 640 by 432
    EXPECT_EQ(RefitMdiClient(frame.hwnd, frame.mdiClient), 1);
}

TEST_F(MdiRefitTest, WithoutBarsTheDefaultFrameProcedureSizesTheClient) {
    SizeClient(500, 300);
    EXPECT_EQ(RefitMdiClient(frame.hwnd, frame.mdiClient), 0);
    EXPECT_EQ(MdiClientRect(), (RECT{0, 0, 500, 300}));
}

struct Alignment {
    const char* name;
    DWORD style;
    RECT expected;   // MDI client in a 400 by 300 client area, bar 30 thick
};

void PrintTo(const Alignment& alignment, std::ostream* out) { *out << alignment.name; }

class ToolBarAlignmentTest : public MdiRefitTest, public ::testing::WithParamInterface<Alignment> {};

TEST_P(ToolBarAlignmentTest, EachSideTakesItsEdge) {
    const bool vertical = (GetParam().style & CCS_VERT) != 0;
    ASSERT_NE(Bar(TOOLBARCLASSNAMEA, GetParam().style, 0, 0, vertical ? 30 : 400, vertical ? 300 : 30), nullptr);
    SizeClient(400, 300);
    EXPECT_EQ(MdiClientRect(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sides, ToolBarAlignmentTest,
                         ::testing::Values(Alignment{"Top", CCS_TOP, {0, 30, 400, 300}},
                                           Alignment{"Bottom", CCS_BOTTOM, {0, 0, 400, 270}},
                                           Alignment{"Left", CCS_LEFT, {30, 0, 400, 300}},
                                           Alignment{"Right", CCS_RIGHT, {0, 0, 370, 300}},
                                           // Counted as found, but takes no edge.
                                           Alignment{"Unaligned", CCS_NOMOVEY, {0, 0, 400, 300}}),
                         [](const ::testing::TestParamInfo<Alignment>& param) { return std::string(param.param.name); });

TEST_F(MdiRefitTest, BarsOfAnMdiChildAreNotTheFrames) {
    ASSERT_EQ(OpenWindow(&child, 0, 0, 200, 150, 0, &frame, "child", nullptr), 1);
    ASSERT_NE(Bar(STATUSCLASSNAMEA, CCS_BOTTOM, 0, 120, 200, 20, child.hwnd), nullptr);
    EXPECT_EQ(RefitMdiClient(frame.hwnd, frame.mdiClient), 0);
    ASSERT_NE(Bar(STATUSCLASSNAMEA, CCS_BOTTOM, 0, 0, 400, 20), nullptr);
    SizeClient(400, 300);
    EXPECT_EQ(MdiClientRect(), (RECT{0, 0, 400, 280}));
}

}  // namespace

#include "runtime/window/surface.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/window/control_styles.h"
#include "runtime/window/draw_scope.h"
#include "runtime/window/geometry.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "tests/support/test_support.h"
#include "tests/window/surface_pixels.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

std::vector<int32_t> paintEvents;
WindowRecord* paintTarget;

// Counts the paint events and draws the window blue from inside the event.
int32_t PaintBlue() {
    if (messageRecord.eventCode != WM_PAINT)
        return 0;
    paintEvents.push_back(messageRecord.eventCode);
    HDC dc = AcquireDrawDC(paintTarget);
    RECT client{};
    GetClientRect(paintTarget->hwnd, &client);
    FillSolid(dc, 0, 0, client.right, client.bottom, kBlue);
    ReleaseDrawDC(paintTarget, dc, 0);
    return 0;
}

class PaintWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        paintEvents.clear();
        paintTarget = &window;
    }
    void TearDown() override {
        if (cover)
            DestroyWindow(cover);
        CloseWindow(&child);
        CloseWindow(&window);
        PumpMessages();
    }
    WindowRecord window{};
    WindowRecord child{};
    HWND cover = nullptr;
};

// Under Wine a top-level window that another top-level window uncovers is
// restored from Wine's own copy of its pixels and gets no WM_PAINT at all;
// a sibling moved off a child window does make the platform ask for a repaint.
TEST_F(PaintWindowTest, UncoveringRepaintsFromTheSurfaceWithoutTheHandler) {
    ASSERT_EQ(OpenWindow(&window, 100, 100, 400, 300, RF_TOPMOST | RF_NO_CAPTION, nullptr, "parent", nullptr), 1);
    paintTarget = &child;
    ASSERT_EQ(OpenWindow(&child, 10, 10, 300, 200, RF_NO_CAPTION, &window, "covered", PaintBlue), 1);
    PumpMessages();
    cover = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE | SS_BLACKRECT, 60, 60, 150, 100, window.hwnd,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(cover, nullptr);
    PumpMessages();
    ASSERT_NE(WindowPixel(window.hwnd, 100, 100), child.fillColor);   // the cover shows
    WatchPaintsOf(child.hwnd);
    // The surface changes while covered; only a paint from it can show this.
    FillSurfaceDirectly(child, RECT{0, 0, 300, 200}, kGreen);

    SetWindowPos(cover, nullptr, 320, 220, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();

    ASSERT_FALSE(paintWatch.updates.empty());
    EXPECT_EQ(paintWatch.updates[0], (RECT{50, 50, 200, 150}));   // the part the cover had hidden
    EXPECT_TRUE(paintEvents.empty());
    EXPECT_EQ(WindowPixel(child.hwnd, 90, 90), kGreen);
    EXPECT_EQ(WindowPixel(child.hwnd, 20, 20), child.fillColor);   // never covered: not repainted
}

TEST_F(PaintWindowTest, AWindowWithoutSurfaceGetsThePaintEventAndDrawsInIt) {
    ASSERT_EQ(OpenWindow(&window, 100, 100, 200, 150, RF_TOPMOST | RF_NO_SURFACE, nullptr, "plain", PaintBlue), 1);
    PumpMessages();
    paintEvents.clear();
    InvalidateRect(window.hwnd, nullptr, FALSE);
    UpdateWindow(window.hwnd);
    EXPECT_EQ(paintEvents, (std::vector<int32_t>{WM_PAINT}));
    EXPECT_EQ(WindowPixel(window.hwnd, 50, 50), kBlue);
    RECT left{};
    EXPECT_FALSE(GetUpdateRect(window.hwnd, &left, FALSE));   // the paint validated the window
}

TEST_F(PaintWindowTest, ASurfaceModeWithoutBitmapPaintsLikeNoSurface) {
    ASSERT_EQ(OpenWindow(&window, 100, 100, 200, 150, RF_TOPMOST, nullptr, "lost", PaintBlue), 1);
    PumpMessages();
    DeleteObject(window.surfaceBitmap);
    window.surfaceBitmap = nullptr;
    paintEvents.clear();
    InvalidateRect(window.hwnd, nullptr, FALSE);
    UpdateWindow(window.hwnd);
    EXPECT_EQ(paintEvents, (std::vector<int32_t>{WM_PAINT}));
    EXPECT_EQ(WindowPixel(window.hwnd, 50, 50), kBlue);   // drawn on the window, not into nothing
}

TEST_F(PaintWindowTest, AClientSizedSurfaceIsStretchedAfterAResize) {
    ASSERT_EQ(OpenWindow(&window, 50, 50, 200, 150, RF_TOPMOST | RF_NO_CAPTION | RF_SURFACE_CLIENT, nullptr,
                         "stretch", PaintBlue),
              1);
    PumpMessages();
    HDC dc = AcquireDrawDC(&window);
    ASSERT_NE(dc, nullptr);
    FillSolid(dc, 0, 0, 100, 150, kRed);
    FillSolid(dc, 100, 0, 100, 150, kGreen);
    ReleaseDrawDC(&window, dc, 1);
    ASSERT_EQ(WindowPixel(window.hwnd, 150, 75), kGreen);

    SetWindowPos(window.hwnd, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    RECT client{};
    GetClientRect(window.hwnd, &client);
    ASSERT_EQ(client.right, 400);
    EXPECT_EQ(WindowPixel(window.hwnd, 10, 10), kRed);
    EXPECT_EQ(WindowPixel(window.hwnd, 150, 150), kRed);    // surface x 75
    EXPECT_EQ(WindowPixel(window.hwnd, 250, 150), kGreen);  // surface x 125
    EXPECT_EQ(WindowPixel(window.hwnd, 395, 295), kGreen);
    EXPECT_TRUE(paintEvents.empty());
    int32_t width = 0;
    int32_t height = 0;
    GetBitmapSize(window.surfaceBitmap, &width, &height);
    EXPECT_EQ(width, 200);   // the surface keeps its size
    EXPECT_EQ(height, 150);
}

// Reads the child surface window right after its own paint, before the
// controls inside it paint themselves.
COLORREF labelAfterPaint;
COLORREF editAfterPaint;
void LookAtControls(HWND hwnd) {
    labelAfterPaint = WindowPixel(hwnd, 30, 30);
    editAfterPaint = WindowPixel(hwnd, 130, 30);
}

TEST_F(PaintWindowTest, TheCopyPaintsThroughTransparentLabelsButNotOverOtherControls) {
    ASSERT_EQ(OpenWindow(&window, 100, 100, 400, 300, RF_TOPMOST | RF_NO_CAPTION, nullptr, "parent", nullptr), 1);
    ASSERT_EQ(OpenWindow(&child, 0, 0, 300, 200, RF_NO_CAPTION, &window, "surface", nullptr), 1);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND label = CreateWindowExA(0, "Static", "label", WS_CHILD | WS_VISIBLE | CS_TRANSPARENT, 20, 20, 60, 30,
                                 child.hwnd, reinterpret_cast<HMENU>(201), instance, nullptr);
    HWND edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 120, 20, 60, 30, child.hwnd,
                                reinterpret_cast<HMENU>(202), instance, nullptr);
    HWND hidden = CreateWindowExA(0, "Edit", "", WS_CHILD, 20, 100, 60, 30, child.hwnd,
                                  reinterpret_cast<HMENU>(203), instance, nullptr);
    ASSERT_TRUE(label && edit && hidden);
    HDC dc = AcquireDrawDC(&child);
    FillSolid(dc, 0, 0, 300, 200, kRed);
    ReleaseDrawDC(&child, dc, 0);
    InvalidateRect(child.hwnd, nullptr, FALSE);
    PumpMessages();
    ASSERT_NE(WindowPixel(child.hwnd, 30, 30), kRed);   // the label has painted itself

    WatchPaintsOf(child.hwnd);
    paintWatch.afterPaint = LookAtControls;
    InvalidateRect(child.hwnd, nullptr, FALSE);
    UpdateWindow(child.hwnd);
    ASSERT_FALSE(paintWatch.updates.empty());
    EXPECT_EQ(labelAfterPaint, kRed);
    EXPECT_NE(editAfterPaint, kRed);
    EXPECT_EQ(WindowPixel(child.hwnd, 30, 110), kRed);   // an invisible control is painted over
}

TEST_F(PaintWindowTest, AComplexWindowRegionIsExcludedAsARegion) {
    ASSERT_EQ(OpenWindow(&window, 100, 100, 400, 300, RF_TOPMOST | RF_NO_CAPTION, nullptr, "parent", nullptr), 1);
    ASSERT_EQ(OpenWindow(&child, 0, 0, 300, 200, RF_NO_CAPTION, &window, "surface", nullptr), 1);
    HWND round = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 100, 50, 100, 100, child.hwnd,
                                 reinterpret_cast<HMENU>(204), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(round, nullptr);
    SetWindowRgn(round, CreateEllipticRgn(0, 0, 100, 100), TRUE);
    HDC dc = AcquireDrawDC(&child);
    FillSolid(dc, 0, 0, 300, 200, kRed);
    ReleaseDrawDC(&child, dc, 0);
    PumpMessages();

    WatchPaintsOf(child.hwnd);
    paintWatch.afterPaint = [](HWND hwnd) {
        labelAfterPaint = WindowPixel(hwnd, 102, 52);   // corner: outside the ellipse
        editAfterPaint = WindowPixel(hwnd, 150, 100);   // centre: inside it
    };
    InvalidateRect(child.hwnd, nullptr, FALSE);
    UpdateWindow(child.hwnd);
    ASSERT_FALSE(paintWatch.updates.empty());
    EXPECT_EQ(labelAfterPaint, kRed);
    EXPECT_NE(editAfterPaint, kRed);
}

TEST_F(PaintWindowTest, AWindowWithoutRecordIsValidatedNotRepaintedForever) {
    RegisterWindowClasses();
    cover = CreateWindowExA(0, kWindowClassName, "bare", WS_POPUP | WS_VISIBLE, 10, 10, 100, 80, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(cover, nullptr);
    ASSERT_EQ(RecordOfWindow(cover), nullptr);
    PumpMessages();
    InvalidateRect(cover, nullptr, FALSE);
    EXPECT_LT(PumpMessages(), 1000);
    RECT left{};
    EXPECT_FALSE(GetUpdateRect(cover, &left, FALSE));
}

}  // namespace

#include "runtime/window/draw_scope.h"

#include <gtest/gtest.h>

#include <array>

#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "runtime/window/surface.h"
#include "tests/support/test_support.h"
#include "tests/window/surface_pixels.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

LOGPEN PenOf(HPEN pen) {
    LOGPEN lp{};
    GetObjectA(pen, sizeof(lp), &lp);
    return lp;
}

LOGFONTA FontOf(HFONT font) {
    LOGFONTA lf{};
    GetObjectA(font, sizeof(lf), &lf);
    return lf;
}

class DrawScopeTest : public ::testing::Test {
protected:
    void TearDown() override {
        CloseWindow(&window);
        PumpMessages();
    }
    void Open(int32_t width, int32_t height, uint32_t flags) {
        ASSERT_EQ(OpenWindow(&window, 40, 40, width, height, flags | RF_TOPMOST, nullptr, "scope", nullptr), 1);
        PumpMessages();
    }
    WindowRecord window{};
};

TEST_F(DrawScopeTest, NestedScopesShareOneDCAndStoreTheStateOnlyAtTheOuterRelease) {
    Open(300, 200, 0);
    HPEN firstPen = window.pen;
    HFONT firstFont = window.font;
    const LONG firstFontHeight = FontOf(firstFont).lfHeight;

    HDC outer = AcquireDrawDC(&window);
    ASSERT_NE(outer, nullptr);
    HDC inner = AcquireDrawDC(&window);
    EXPECT_EQ(inner, outer);
    EXPECT_EQ(window.drawDCDepth, 2);

    HPEN red = CreatePen(PS_SOLID, 3, kRed);
    HFONT tall = CreateFontA(30, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    SelectObject(inner, red);
    SelectObject(inner, tall);
    MoveToEx(inner, 10, 10, nullptr);
    LineTo(inner, 60, 12);
    ReleaseDrawDC(&window, inner, 0);

    EXPECT_EQ(window.drawDCDepth, 1);
    EXPECT_EQ(window.drawDC, outer);
    EXPECT_EQ(window.pen, firstPen);
    EXPECT_EQ(window.font, firstFont);
    EXPECT_EQ(PenOf(window.pen).lopnColor, RGB(0, 0, 0));
    EXPECT_EQ(window.penX, 0);

    ReleaseDrawDC(&window, outer, 0);
    EXPECT_EQ(window.drawDCDepth, 0);
    EXPECT_EQ(window.drawDC, nullptr);
    EXPECT_EQ(PenOf(window.pen).lopnColor, kRed);
    EXPECT_EQ(PenOf(window.pen).lopnWidth.x, 3);
    EXPECT_EQ(FontOf(window.font).lfHeight, 30);
    EXPECT_NE(firstFontHeight, 30);
    EXPECT_EQ(window.penX, 60);
    EXPECT_EQ(window.penY, 12);
    // The copies are the record's own: the objects selected in the scope can go.
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_TRUE(DeleteObject(tall));
    EXPECT_EQ(PenOf(window.pen).lopnColor, kRed);
}

TEST_F(DrawScopeTest, TextTakesThePensColourAndContinuesAtTheStoredPosition) {
    Open(300, 200, 0);
    HDC dc = AcquireDrawDC(&window);
    ASSERT_NE(dc, nullptr);
    HPEN blue = CreatePen(PS_SOLID, 1, kBlue);
    SelectObject(dc, blue);
    ReleaseDrawDC(&window, dc, 0);
    DeleteObject(blue);

    window.penX = 5;
    window.penY = 7;
    dc = AcquireDrawDC(&window);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetTextColor(dc), kBlue);
    TextOutA(dc, 0, 0, "one", 3);
    ReleaseDrawDC(&window, dc, 1);
    const int32_t afterFirst = window.penX;
    EXPECT_GT(afterFirst, 5);
    EXPECT_EQ(window.penY, 7);

    dc = AcquireDrawDC(&window);
    TextOutA(dc, 0, 0, "two", 3);
    ReleaseDrawDC(&window, dc, 1);
    EXPECT_GT(window.penX, afterFirst);
    EXPECT_EQ(window.penY, 7);
}

TEST_F(DrawScopeTest, ALineIsOnScreenWhenTheReleaseReturnsAndOnlyItsBoundsAreRepainted) {
    Open(300, 200, 0);
    WatchPaintsOf(window.hwnd);
    const COLORREF fill = window.fillColor;
    FillSurfaceDirectly(window, RECT{200, 100, 220, 120}, kRed);
    ASSERT_EQ(WindowPixel(window.hwnd, 210, 110), fill);

    HDC dc = AcquireDrawDC(&window);
    ASSERT_NE(dc, nullptr);
    HPEN blue = CreatePen(PS_SOLID, 1, kBlue);
    SelectObject(dc, blue);
    MoveToEx(dc, 20, 50, nullptr);
    LineTo(dc, 120, 50);
    RECT drawn{};
    ASSERT_EQ(GetBoundsRect(dc, &drawn, 0) & DCB_SET, static_cast<UINT>(DCB_SET));
    EXPECT_NE(WindowPixel(window.hwnd, 70, 50), kBlue);   // only in the surface so far
    ReleaseDrawDC(&window, dc, 1);
    DeleteObject(blue);

    EXPECT_EQ(WindowPixel(window.hwnd, 20, 50), kBlue);
    EXPECT_EQ(WindowPixel(window.hwnd, 119, 50), kBlue);
    EXPECT_EQ(WindowPixel(window.hwnd, 210, 110), fill);   // outside the bounds: not copied
    ASSERT_EQ(paintWatch.updates.size(), 1u);
    EXPECT_EQ(paintWatch.updates[0], drawn);
}

TEST_F(DrawScopeTest, DoubledSurfaceInvalidatesTheScaledBoundsWithAMargin) {
    Open(400, 300, RF_SURFACE_CLIENT | RF_NO_CAPTION);
    SetWindowPos(window.hwnd, nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    RECT client{};
    GetClientRect(window.hwnd, &client);
    ASSERT_EQ(client.right, 800);
    ASSERT_EQ(client.bottom, 600);
    WatchPaintsOf(window.hwnd);

    HDC dc = AcquireDrawDC(&window);
    ASSERT_NE(dc, nullptr);
    PatBlt(dc, 100, 50, 40, 30, BLACKNESS);
    RECT b{};
    ASSERT_EQ(GetBoundsRect(dc, &b, 0) & DCB_SET, static_cast<UINT>(DCB_SET));
    EXPECT_EQ(b, (RECT{100, 50, 140, 80}));
    ReleaseDrawDC(&window, dc, 1);

    ASSERT_EQ(paintWatch.updates.size(), 1u);
    EXPECT_EQ(paintWatch.updates[0],
              (RECT{2 * b.left - 1, 2 * b.top - 1, 2 * b.right + 2, 2 * b.bottom + 2}));
    // Painted doubled; the copy of a part of the surface rounds its source
    // rectangle, so only the patch's inside is checked, not its edge pixels.
    EXPECT_EQ(WindowPixel(window.hwnd, 2 * 101, 2 * 51), RGB(0, 0, 0));
    EXPECT_EQ(WindowPixel(window.hwnd, 2 * 138, 2 * 78), RGB(0, 0, 0));
    EXPECT_EQ(WindowPixel(window.hwnd, 2 * 144, 2 * 65), window.fillColor);
}

TEST_F(DrawScopeTest, AnOpenScopeIsPaintedFromItsAccumulatedBoundsOnly) {
    Open(300, 200, 0);
    HDC outer = AcquireDrawDC(&window);
    ASSERT_NE(outer, nullptr);
    SetBoundsRect(outer, nullptr, DCB_DISABLE);
    FillSolid(outer, 150, 20, 30, 30, kRed);   // drawn, but not accumulated
    SetBoundsRect(outer, nullptr, DCB_ENABLE);
    FillSolid(outer, 20, 20, 30, 30, kBlue);

    HDC inner = AcquireDrawDC(&window);
    ReleaseDrawDC(&window, inner, 1);
    EXPECT_EQ(window.drawDCDepth, 1);
    EXPECT_EQ(WindowPixel(window.hwnd, 35, 35), kBlue);
    EXPECT_EQ(WindowPixel(window.hwnd, 165, 35), window.fillColor);
    ReleaseDrawDC(&window, outer, 0);
}

TEST_F(DrawScopeTest, ATargetDCReceivesTheDrawingWithoutAScope) {
    Open(200, 100, 0);
    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    window.targetDC = target;
    const HPEN pen = window.pen;
    EXPECT_EQ(AcquireDrawDC(&window), target);
    EXPECT_EQ(window.drawDCDepth, 0);
    ReleaseDrawDC(&window, target, 1);
    EXPECT_EQ(window.pen, pen);
    EXPECT_NE(GetObjectType(target), 0u);   // still the caller's
    window.targetDC = nullptr;
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
}

HDC eraseDC;
HDC drawnDuringErase;
WindowRecord* erasing;
int32_t DrawDuringErase() {
    if (messageRecord.eventCode != EV_ERASE_BACKGROUND)
        return 0;
    eraseDC = reinterpret_cast<HDC>(messageRecord.wParam);
    drawnDuringErase = AcquireDrawDC(erasing);
    ReleaseDrawDC(erasing, drawnDuringErase, 1);
    return 0;
}

TEST_F(DrawScopeTest, DrawingDuringAnEraseGoesToTheEraseDC) {
    erasing = &window;
    ASSERT_EQ(OpenWindow(&window, 40, 40, 200, 100, RF_TOPMOST, nullptr, "erase", DrawDuringErase), 1);
    PumpMessages();
    eraseDC = drawnDuringErase = nullptr;
    RedrawWindow(window.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
    ASSERT_NE(eraseDC, nullptr);
    EXPECT_EQ(drawnDuringErase, eraseDC);
    EXPECT_EQ(window.drawDCDepth, 0);
    EXPECT_EQ(window.drawDC, nullptr);
}

// A stand-in for a surface object: only its DC operations are filled in.
struct FakeSurface {
    void* const* table;
    HDC dc;
    int gets;
    int releases;
    HDC released;
};

HRESULT WINAPI FakeGetDC(FakeSurface* self, HDC* dc) {
    ++self->gets;
    *dc = self->dc;
    return self->dc ? S_OK : E_FAIL;
}

HRESULT WINAPI FakeReleaseDC(FakeSurface* self, HDC dc) {
    ++self->releases;
    self->released = dc;
    return S_OK;
}

TEST_F(DrawScopeTest, TheAlternativeSurfaceLendsAndTakesBackTheDC) {
    Open(200, 100, RF_NO_SURFACE);
    std::array<void*, 40> table{};
    table[17] = reinterpret_cast<void*>(FakeGetDC);
    table[26] = reinterpret_cast<void*>(FakeReleaseDC);
    HDC screen = GetDC(nullptr);
    FakeSurface surface{table.data(), CreateCompatibleDC(screen), 0, 0, nullptr};
    window.altSurface = &surface;
    window.altSurfaceMode = 1;

    HDC dc = AcquireDrawDC(&window);
    EXPECT_EQ(dc, surface.dc);
    EXPECT_EQ(surface.gets, 1);
    ReleaseDrawDC(&window, dc, 1);
    EXPECT_EQ(surface.releases, 1);
    EXPECT_EQ(surface.released, surface.dc);
    EXPECT_EQ(window.drawDCDepth, 0);

    DeleteDC(surface.dc);
    surface.dc = nullptr;
    EXPECT_EQ(AcquireDrawDC(&window), nullptr);
    EXPECT_EQ(window.drawDCDepth, 0);
    window.altSurfaceMode = 0;
    window.altSurface = nullptr;
    ReleaseDC(nullptr, screen);
}

}  // namespace

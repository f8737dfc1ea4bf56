#include "runtime/window/geometry.h"

#include <gtest/gtest.h>

#include <array>

#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "runtime/window/surface.h"
#include "tests/support/test_support.h"

namespace {

using Four = std::array<int32_t, 4>;

class GeometryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(OpenWindow(&window, 30, 40, 320, 240, RF_HIDDEN | RF_SURFACE_WINDOW, nullptr, "geometry",
                             nullptr),
                  1);
    }
    void TearDown() override {
        CloseWindow(&window);
        PumpMessages();
    }
    Four ControlRect(const WindowRecord& record, int32_t id) {
        Four v{-1, -1, -1, -1};
        GetControlRect(&record, &v[0], &v[1], &v[2], &v[3], id);
        return v;
    }
    WindowRecord window{};
};

TEST_F(GeometryTest, ControlRectsAreScreenRectanglesOrZeros) {
    ASSERT_NE(CreateWindowExA(0, "Button", "b", WS_CHILD, 10, 20, 60, 25, window.hwnd,
                              reinterpret_cast<HMENU>(105), GetModuleHandleA(nullptr), nullptr),
              nullptr);
    POINT origin{0, 0};
    ClientToScreen(window.hwnd, &origin);
    EXPECT_EQ(ControlRect(window, 0), (Four{30, 40, 320, 240}));
    EXPECT_EQ(ControlRect(window, 105), (Four{origin.x + 10, origin.y + 20, 60, 25}));
    EXPECT_EQ(ControlRect(window, 999), (Four{0, 0, 0, 0}));
    EXPECT_EQ(ControlRect(WindowRecord{}, 0), (Four{0, 0, 0, 0}));
}

TEST_F(GeometryTest, ClientAndBitmapSizes) {
    RECT client{};
    GetClientRect(window.hwnd, &client);
    Four v{-1, -1, -1, -1};
    ASSERT_EQ(GetClientSize(&window, &v[0], &v[1], &v[2], &v[3]), 1);
    EXPECT_EQ(v, (Four{0, 0, client.right, client.bottom}));
    const WindowRecord closed{};
    EXPECT_EQ(GetClientSize(&closed, &v[0], &v[1], &v[2], &v[3]), 0);
    EXPECT_EQ(v, (Four{0, 0, 0, 0}));

    ASSERT_EQ(GetBitmapSize(window.surfaceBitmap, &v[0], &v[1]), 1);
    EXPECT_EQ(v[0], 321);
    EXPECT_EQ(v[1], 241);
    EXPECT_EQ(GetBitmapSize(reinterpret_cast<HBITMAP>(window.pen), &v[0], &v[1]), 0);   // a pen
    EXPECT_EQ(v[0] | v[1], 0);
}

TEST_F(GeometryTest, FillSolidTakesOriginAndSizeAndKeepsTheColour) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, window.surfaceBitmap);
    EXPECT_EQ(FillSolid(memory, 50, 60, 20, 10, RGB(10, 20, 30)), 0);
    EXPECT_EQ(GetBkColor(memory), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(memory, 50, 60), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(memory, 69, 69), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(memory, 70, 60), window.fillColor);
    EXPECT_EQ(GetPixel(memory, 50, 70), window.fillColor);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

}  // namespace

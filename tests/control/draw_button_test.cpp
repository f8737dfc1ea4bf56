#include "runtime/control/draw_button.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

#include "runtime/control/subclass.h"
#include "tests/control/control_fixture.h"
#include "tests/support/image_pixels.h"

namespace {

constexpr int32_t kButtonId = 240;
constexpr int kWidth = 90;
constexpr int kHeight = 30;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

struct Box {
    int left = 10000;
    int top = 10000;
    int right = -1;
    int bottom = -1;
    int count = 0;
};

// Buttons drawn straight into a 32-bit bitmap, through the routines the
// button procedures call on WM_DRAWITEM, and read back pixel by pixel.
class DrawButtonTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        canvas = std::make_unique<PixelCanvas>(kWidth, kHeight, RGB(255, 255, 255));
        dc = canvas->dc();
    }
    void TearDown() override {
        canvas.reset();
        ControlTest::TearDown();
    }
    HWND Make(int32_t type, uint32_t style = 0, const char* text = "Go") {
        EXPECT_NE(MadeControl(&window, type, text, 0, 0, kWidth, kHeight, style, kButtonId), nullptr);
        SetControlColors(&window, kButtonId, kRed, kBlue);
        drawsHot = type == CT_HOTBUTTON;
        return Control(kButtonId);
    }
    void Draw(HWND control, UINT state) {
        PatBlt(dc, 0, 0, kWidth, kHeight, WHITENESS);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = kButtonId;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = control;
        item.hDC = dc;
        item.rcItem = RECT{0, 0, kWidth, kHeight};
        if (drawsHot)
            DrawHotButton(control, &item);
        else
            DrawButton(control, &item);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    Box Where(const std::function<bool(COLORREF)>& match, int margin = 0) const {
        Box box;
        for (int y = margin; y < kHeight - margin; ++y)
            for (int x = margin; x < kWidth - margin; ++x)
                if (match(At(x, y))) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x);
                    box.bottom = std::max(box.bottom, y);
                    ++box.count;
                }
        return box;
    }
    Box WhereColor(COLORREF color) const {
        return Where([color](COLORREF c) { return c == color; });
    }
    // Away from the frame, which has the system's edge colours too.
    Box WhereInside(COLORREF color) const {
        return Where([color](COLORREF c) { return c == color; }, 4);
    }

    // Pixels of the colour inside the face, away from any frame.
    int InteriorCount(COLORREF color) const { return WhereInside(color).count; }

    bool drawsHot = false;
    std::unique_ptr<PixelCanvas> canvas;
    HDC dc = nullptr;
};

// A parent that names kButtonId as its default button, as a dialog does.
LRESULT CALLBACK DefaultIdParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == DM_GETDEFID)
        return MAKELONG(kButtonId, DC_HASDEFID);
    return CallWindowProcA(reinterpret_cast<WNDPROC>(GetPropA(hwnd, "TEST_PROC")), hwnd, message, wParam, lParam);
}

TEST_F(DrawButtonTest, APressedButtonMovesItsTextOneRightAndDownInAPushedFrame) {
    HWND button = Make(CT_BUTTON);
    Draw(button, 0);
    const Box up = WhereColor(kRed);
    const COLORREF upCorner = At(0, 0);
    const COLORREF upFarCorner = At(kWidth - 1, kHeight - 1);
    EXPECT_EQ(At(4, kHeight / 2), kBlue);   // the face in "BGRND"
    Draw(button, ODS_SELECTED);
    const Box down = WhereColor(kRed);

    ASSERT_GT(up.count, 20);
    EXPECT_EQ(down.count, up.count);
    EXPECT_EQ(down.left, up.left + 1);
    EXPECT_EQ(down.top, up.top + 1);
    // Raised: light at the top left, darkest at the bottom right; pushed, the
    // top left is dark.
    EXPECT_EQ(upFarCorner, GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_NE(upCorner, upFarCorner);
    EXPECT_EQ(At(0, 0), upFarCorner);
    EXPECT_EQ(At(4, kHeight / 2), kBlue);
}

TEST_F(DrawButtonTest, TheDefaultButtonGetsAnOutlineAndAFaceOnePixelSmaller) {
    HWND button = Make(CT_BUTTON);
    Draw(button, 0);
    const COLORREF corner = At(0, 0);
    const Box face = WhereColor(kBlue);

    SetPropA(window.hwnd, "TEST_PROC", reinterpret_cast<HANDLE>(GetWindowLongA(window.hwnd, GWL_WNDPROC)));
    SetWindowLongA(window.hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(DefaultIdParent));
    Draw(button, 0);
    EXPECT_EQ(At(0, 0), kBlack);   // the DC's pen
    EXPECT_EQ(At(kWidth - 1, kHeight - 1), kBlack);
    EXPECT_EQ(At(kWidth / 2, 0), kBlack);
    EXPECT_EQ(At(1, 1), corner);
    const Box smaller = WhereColor(kBlue);
    EXPECT_EQ(smaller.left, face.left + 1);
    EXPECT_EQ(smaller.top, face.top + 1);
    EXPECT_EQ(smaller.right, face.right - 1);
    EXPECT_EQ(smaller.bottom, face.bottom - 1);
    SetWindowLongA(window.hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(GetPropA(window.hwnd, "TEST_PROC")));
    RemovePropA(window.hwnd, "TEST_PROC");
}

TEST_F(DrawButtonTest, FocusOutlinesAFlatButtonWithoutASystemFrame) {
    HWND button = Make(CT_BUTTON, BS_FLAT);
    Draw(button, ODS_FOCUS);
    EXPECT_EQ(At(0, 0), kBlack);   // focus outline around rcItem
    EXPECT_EQ(At(1, 1), kBlack);   // the flat border inside it
    EXPECT_EQ(At(2, 2), kBlue);
    EXPECT_EQ(At(kWidth - 3, kHeight - 3), kBlue);
}

TEST_F(DrawButtonTest, DisabledSingleLineTextIsEmbossedOnePixelHigherAndMultiLineTextPlainGrey) {
    HWND button = Make(CT_BUTTON);
    Draw(button, 0);
    const Box enabled = WhereColor(kRed);
    Draw(button, ODS_DISABLED);
    EXPECT_EQ(WhereColor(kRed).count, 0);
    const Box shadow = WhereInside(GetSysColor(COLOR_3DSHADOW));
    const Box highlight = WhereInside(GetSysColor(COLOR_3DHILIGHT));
    ASSERT_GT(shadow.count, 20);
    ASSERT_GT(highlight.count, 20);   // the emboss
    EXPECT_EQ(shadow.top, enabled.top - 1);
    EXPECT_EQ(highlight.top, shadow.top + 1);

    DestroyWindow(button);
    HWND multi = Make(CT_BUTTON, BS_MULTILINE, "Two words");
    Draw(multi, ODS_DISABLED);
    EXPECT_GT(WhereColor(GetSysColor(COLOR_GRAYTEXT)).count, 20);
    EXPECT_EQ(InteriorCount(GetSysColor(COLOR_3DHILIGHT)), 0) << "no emboss";
}

TEST_F(DrawButtonTest, MultiLineTextIsCentredAsABlock) {
    HWND button = Make(CT_BUTTON, BS_MULTILINE, "Go");
    Draw(button, 0);
    const Box text = WhereColor(kRed);
    ASSERT_GT(text.count, 10);
    EXPECT_LE(std::abs((text.left + text.right) / 2 - kWidth / 2), 2);
    EXPECT_LE(std::abs((text.top + text.bottom) / 2 - kHeight / 2), 3);
}

TEST_F(DrawButtonTest, AHotButtonShowsItsHotColourOnlyWhenAskedForAndEnabled) {
    HWND hot = Make(CT_HOTBUTTON);
    Draw(hot, 0);
    EXPECT_EQ(At(5, kHeight / 2), kBlue);
    SetPropA(hot, kHotStateProperty, reinterpret_cast<HANDLE>(1));
    Draw(hot, 0);
    EXPECT_EQ(At(5, kHeight / 2), kBlue) << "without \"HBRUSH\" the hot state looks the same";

    SetHotColor(&window, kButtonId, kGreen);
    Draw(hot, 0);
    EXPECT_EQ(At(5, kHeight / 2), kGreen);
    Draw(hot, ODS_DISABLED);
    EXPECT_EQ(At(5, kHeight / 2), kBlue);
    RemovePropA(hot, kHotStateProperty);
    Draw(hot, 0);
    EXPECT_EQ(At(5, kHeight / 2), kBlue);
}

// A bitmap whose left column is red and the rest yellow.
HBITMAP Striped(int width, int height) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(memory, x, y, x == 0 ? kRed : kYellow);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

TEST_F(DrawButtonTest, WithoutBorderAFaceBitmapOfTheFaceSizeIsCopiedAndOthersStretched) {
    HWND hot = Make(CT_HOTBUTTON, 0, "");
    SetPropA(hot, kBorderWidthProperty, nullptr);
    Draw(hot, 0);
    EXPECT_EQ(At(0, 0), kBlue);   // no border: the face covers rcItem
    EXPECT_EQ(At(kWidth - 1, kHeight - 1), kBlue);

    SetPropA(hot, kNormalBitmapProperty, Striped(kWidth, kHeight));
    Draw(hot, 0);
    EXPECT_EQ(At(0, 5), kRed);
    EXPECT_EQ(At(1, 5), kYellow);
    EXPECT_EQ(At(kWidth - 1, kHeight - 1), kYellow);

    // Replacing the property by hand: the old bitmap is the test's to delete.
    HANDLE exact = GetPropA(hot, kNormalBitmapProperty);
    SetPropA(hot, kNormalBitmapProperty, Striped(3, 2));
    DeleteObject(exact);
    Draw(hot, 0);
    // HALFTONE blends neighbouring source pixels (under Wine the reddish
    // part ends about half-way into the first third), so look for the
    // stretch, not for exact colours: the whole face is covered and the red
    // column runs from top to bottom.
    EXPECT_EQ(WhereColor(RGB(255, 255, 255)).count, 0);
    const Box red = Where([](COLORREF c) { return GetGValue(c) < 128 && GetRValue(c) > 200; });
    EXPECT_EQ(red.left, 0);
    EXPECT_GT(red.right, 5);
    EXPECT_LT(red.right, kWidth / 3 + 8);
    EXPECT_EQ(red.top, 0);
    EXPECT_EQ(red.bottom, kHeight - 1);
    EXPECT_EQ(At(kWidth - 1, kHeight / 2), kYellow);
}

TEST_F(DrawButtonTest, AHotBitmapReplacesTheFaceOnlyWhileHot) {
    HWND hot = Make(CT_HOTBUTTON, 0, "");
    SetPropA(hot, kHotBitmapProperty, Striped(2, 2));
    Draw(hot, 0);
    EXPECT_EQ(WhereColor(kYellow).count, 0);
    SetPropA(hot, kHotStateProperty, reinterpret_cast<HANDLE>(1));
    Draw(hot, 0);
    EXPECT_GT(WhereColor(kYellow).count, 100);
    EXPECT_EQ(WhereColor(kBlue).count, 0);
}

TEST_F(DrawButtonTest, AShapedButtonWithBorderTwoHasARaisedEdgeThatSinksWhenPressed) {
    HWND hot = Make(CT_HOTBUTTON, 0, "");
    SetPropA(hot, kBorderWidthProperty, reinterpret_cast<HANDLE>(2));
    ASSERT_NE(SetWindowRgn(hot, CreateRectRgn(0, 0, kWidth, kHeight), FALSE), 0);
    Draw(hot, 0);
    // Bands painted later cover earlier ones where they overlap.
    EXPECT_EQ(At(0, 10), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(At(1, 10), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(kWidth - 1, 10), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(At(kWidth - 2, 10), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(kWidth / 2, kHeight / 2), kBlue);
    Draw(hot, ODS_SELECTED);
    EXPECT_EQ(At(0, 10), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(1, 10), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(At(kWidth - 1, 10), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(kWidth - 2, 10), GetSysColor(COLOR_3DLIGHT));

    // Any other width: one band each side.
    SetPropA(hot, kBorderWidthProperty, reinterpret_cast<HANDLE>(1));
    Draw(hot, 0);
    EXPECT_EQ(At(0, 10), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(1, 10), kBlue);
    EXPECT_EQ(At(kWidth - 1, 10), GetSysColor(COLOR_3DDKSHADOW));
}

TEST_F(DrawButtonTest, AFlatHotButtonHasADarkBorderOfItsWidth) {
    HWND hot = Make(CT_HOTBUTTON, BS_FLAT, "");
    SetPropA(hot, kBorderWidthProperty, reinterpret_cast<HANDLE>(1));
    Draw(hot, 0);
    EXPECT_EQ(At(0, 10), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(At(1, 10), kBlue);
    EXPECT_EQ(At(kWidth - 1, 10), GetSysColor(COLOR_3DDKSHADOW));
}

}  // namespace

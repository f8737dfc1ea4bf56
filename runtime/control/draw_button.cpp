#include "runtime/control/draw_button.h"

#include <array>

#include "runtime/control/control_properties.h"
#include "runtime/control/subclass.h"
#include "runtime/window/gdi_guards.h"
#include "runtime/window/surface.h"

namespace {

constexpr int kTextBuffer = 255;   // at most 254 characters are drawn

// What one drawing reads before it starts.
struct ButtonFace {
    HDC dc;
    RECT item;
    RECT frame;   // shrinks from the item to the face as the border is drawn
    RECT text;
    UINT state;
    uint32_t style;
    std::array<char, kTextBuffer> caption;
    int length;
};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool HasOutline(UINT state) { return (state & (ODS_FOCUS | ODS_DEFAULT)) != 0; }

// The parent's default button draws as such. A parent that answers 0 (no
// default, or not a dialog at all) names no button, not identifier 0.
UINT WithDefaultState(HWND control, const DRAWITEMSTRUCT* drawItem) {
    const auto answer = static_cast<DWORD>(SendMessageA(GetParent(control), DM_GETDEFID, 0, 0));
    if (answer != 0 && LOWORD(answer) == drawItem->CtlID)
        return drawItem->itemState | ODS_DEFAULT;
    return drawItem->itemState;
}

void ReadFace(HWND control, const DRAWITEMSTRUCT* drawItem, ButtonFace* face) {
    face->dc = drawItem->hDC;
    face->item = drawItem->rcItem;
    face->frame = drawItem->rcItem;
    face->text = drawItem->rcItem;
    face->state = WithDefaultState(control, drawItem);
    face->style = static_cast<uint32_t>(GetWindowLongA(control, GWL_STYLE));
    face->length = GetWindowTextA(control, face->caption.data(), kTextBuffer);
    if (face->style & BS_MULTILINE)
        InflateRect(&face->text, -2 * GetSystemMetrics(SM_CXEDGE), -2 * GetSystemMetrics(SM_CYEDGE));
    if (face->state & ODS_SELECTED)
        OffsetRect(&face->text, 1, 1);
}

void OutlineRect(HDC dc, const RECT& r) {
    Selected noFill(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

// The system's push-button frame; leaves the face in frame.
void PushFrame(HDC dc, RECT* frame, UINT state) {
    UINT flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
    if (state & ODS_SELECTED)
        flags |= DFCS_PUSHED;
    DrawFrameControl(dc, frame, DFC_BUTTON, flags);
}

void FillFace(HDC dc, const RECT& r, COLORREF color) {
    FillSolid(dc, r.left, r.top, Width(r), Height(r), color);
}

void DrawButtonText(HWND control, ButtonFace* face) {
    if (face->length <= 0)
        return;
    HDC dc = face->dc;
    const char* text = face->caption.data();
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = GetTextColor(dc);
    RECT& area = face->text;
    UINT format = DT_CENTER | DT_VCENTER;
    const bool multiline = (face->style & BS_MULTILINE) != 0;
    if (multiline) {
        format |= DT_WORDBREAK;
        RECT measured = area;
        DrawTextA(dc, text, face->length, &measured, format | DT_CALCRECT);
        area.top += Height(area) / 2 - Height(measured) / 2;
    } else {
        format |= DT_SINGLELINE;
    }
    SIZE extent{};
    GetTextExtentPoint32A(dc, text, face->length, &extent);
    const int x = (area.left + area.right) / 2 - extent.cx / 2;
    const int y = (area.top + area.bottom) / 2 - extent.cy / 2;

    if (face->state & ODS_DISABLED) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        if (multiline)
            DrawTextA(dc, text, face->length, &area, format);
        else
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text), face->length, x, y - 1, extent.cx,
                       extent.cy, DST_TEXT | DSS_DISABLED);
    } else {
        SetTextColor(dc, ColorProperty(control, kTextColorProperty));
        DrawTextA(dc, text, face->length, &area, format);
    }
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
}

// A face bitmap into the frame rectangle: copied when it has the face's
// size, stretched onto it otherwise.
void PutBitmap(HDC dc, HDC memory, HBITMAP bitmap, const RECT& frame) {
    BITMAP info{};
    if (!memory || !GetObjectA(bitmap, sizeof(info), &info))
        return;
    Selected face(memory, bitmap);
    if (Width(frame) == info.bmWidth && Height(frame) == info.bmHeight) {
        BitBlt(dc, frame.left, frame.top, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        return;
    }
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, frame.left, frame.top, Width(frame), Height(frame), memory, 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
}

// A face bitmap on a shaped button: unscaled, clipped to the region.
void BlitInRegion(HDC dc, HDC memory, HBITMAP bitmap, HRGN region, const RECT& item) {
    if (!memory)
        return;
    Selected face(memory, bitmap);
    SelectClipRgn(dc, region);
    BitBlt(dc, 0, 0, Width(item), Height(item), memory, 0, 0, SRCCOPY);
    SelectClipRgn(dc, nullptr);
}

struct HotLook {
    bool hot;
    bool hotBrush;
    COLORREF color;
    HBITMAP hotBitmap;
    HBITMAP normalBitmap;
};

HotLook ReadHotLook(HWND control, UINT state) {
    HotLook look{};
    look.hot = GetPropA(control, kHotStateProperty) && !(state & ODS_DISABLED);
    look.hotBrush = GetPropA(control, kHotBrushProperty) != nullptr;
    look.color = ColorProperty(control, look.hot && look.hotBrush ? kHotColorProperty : kBackColorProperty);
    look.hotBitmap = static_cast<HBITMAP>(GetPropA(control, kHotBitmapProperty));
    look.normalBitmap = static_cast<HBITMAP>(GetPropA(control, kNormalBitmapProperty));
    return look;
}

void PaintShapedFace(HDC dc, HDC memory, HRGN region, const RECT& item, const HotLook& look) {
    GdiObject<HBRUSH> brush(CreateSolidBrush(look.color));
    if (look.hot && look.hotBitmap) {
        BlitInRegion(dc, memory, look.hotBitmap, region, item);
    } else if (look.hot && look.normalBitmap) {
        BlitInRegion(dc, memory, look.normalBitmap, region, item);
        if (look.hotBrush) {
            const int oldMix = SetROP2(dc, R2_MERGEPEN);
            FillRgn(dc, region, brush.get());
            SetROP2(dc, oldMix);
        }
    } else if (!look.hot && look.normalBitmap) {
        BlitInRegion(dc, memory, look.normalBitmap, region, item);
    } else {
        FillRgn(dc, region, brush.get());
    }
}

void PaintRectFace(HDC dc, HDC memory, const RECT& frame, const HotLook& look) {
    if (look.hot && look.hotBitmap) {
        PutBitmap(dc, memory, look.hotBitmap, frame);
    } else if (look.hot && look.normalBitmap) {
        PutBitmap(dc, memory, look.normalBitmap, frame);
        if (look.hotBrush) {
            const int oldMix = SetROP2(dc, R2_MERGEPEN);
            FillFace(dc, frame, look.color);
            SetROP2(dc, oldMix);
        }
    } else if (!look.hot && look.normalBitmap) {
        PutBitmap(dc, memory, look.normalBitmap, frame);
    } else {
        FillFace(dc, frame, look.color);
    }
}

void DrawHotBorder(HWND control, ButtonFace* face, HRGN region, bool shaped, int32_t borderWidth) {
    HDC dc = face->dc;
    if (face->style & BS_FLAT) {
        const COLORREF shadow = GetSysColor(COLOR_3DDKSHADOW);
        if (shaped) {
            GdiObject<HBRUSH> brush(CreateSolidBrush(shadow));
            FrameRgn(dc, region, brush.get(), borderWidth, borderWidth);
        } else {
            GdiObject<HPEN> pen(CreatePen(PS_SOLID, borderWidth, shadow));
            Selected usePen(dc, pen.get());
            OutlineRect(dc, face->frame);
        }
        InflateRect(&face->frame, -1, -1);
    } else if (shaped) {
        DrawRegionEdge(control, dc, region, (face->state & ODS_SELECTED) ? 1 : 0, borderWidth);
    } else {
        PushFrame(dc, &face->frame, face->state);
    }
}

}  // namespace

int32_t DrawButton(HWND control, const DRAWITEMSTRUCT* drawItem) {
    if (!control || !drawItem)
        return 0;
    ButtonFace face{};
    ReadFace(control, drawItem, &face);
    HDC dc = face.dc;
    const bool outline = HasOutline(face.state);
    if (outline)
        InflateRect(&face.frame, -1, -1);
    if (face.style & BS_FLAT) {
        OutlineRect(dc, face.frame);
        InflateRect(&face.frame, -1, -1);
    } else {
        PushFrame(dc, &face.frame, face.state);
    }
    FillFace(dc, face.frame, ColorProperty(control, kBackColorProperty));
    if (outline)
        OutlineRect(dc, face.item);
    DrawButtonText(control, &face);
    return 0;
}

int32_t DrawHotButton(HWND control, const DRAWITEMSTRUCT* drawItem) {
    if (!control || !drawItem)
        return 0;
    const auto borderWidth = static_cast<int32_t>(NumberProperty(control, kBorderWidthProperty));
    GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    const bool shaped = region.get() && GetWindowRgn(control, region.get()) != ERROR;
    MemoryDC memory(drawItem->hDC);
    ButtonFace face{};
    ReadFace(control, drawItem, &face);
    HDC dc = face.dc;
    const HotLook look = ReadHotLook(control, face.state);

    if (shaped)
        PaintShapedFace(dc, memory.get(), region.get(), face.item, look);
    if (borderWidth != 0)
        DrawHotBorder(control, &face, region.get(), shaped, borderWidth);
    if (!shaped) {
        PaintRectFace(dc, memory.get(), face.frame, look);
        if (HasOutline(face.state))
            OutlineRect(dc, face.item);
    }
    if (face.length > 0) {
        if (shaped)
            SelectClipRgn(dc, region.get());
        DrawButtonText(control, &face);
        if (shaped)
            SelectClipRgn(dc, nullptr);
    }
    return 0;
}

int32_t DrawRegionEdge(HWND, HDC dc, HRGN region, int32_t pressed, int32_t borderWidth) {
    struct Band {
        int offset;
        int colorIndex;
    };
    // Later bands paint over earlier ones.
    static constexpr std::array<Band, 4> kRaisedWide{
        {{2, COLOR_BTNHIGHLIGHT}, {-2, COLOR_BTNSHADOW}, {1, COLOR_3DLIGHT}, {-1, COLOR_3DDKSHADOW}}};
    static constexpr std::array<Band, 4> kPressedWide{
        {{2, COLOR_3DDKSHADOW}, {-2, COLOR_3DLIGHT}, {1, COLOR_BTNSHADOW}, {-1, COLOR_BTNHIGHLIGHT}}};
    static constexpr std::array<Band, 2> kRaised{{{1, COLOR_BTNHIGHLIGHT}, {-1, COLOR_3DDKSHADOW}}};
    static constexpr std::array<Band, 2> kPressed{{{1, COLOR_3DDKSHADOW}, {-1, COLOR_BTNHIGHLIGHT}}};

    if (!dc || !region)
        return 0;
    GdiObject<HRGN> scratch(CreateRectRgn(0, 0, 0, 0));
    if (!scratch.get())
        return 0;
    auto paint = [&](const Band& band) {
        CombineRgn(scratch.get(), region, nullptr, RGN_COPY);
        OffsetRgn(scratch.get(), band.offset, band.offset);
        CombineRgn(scratch.get(), region, scratch.get(), RGN_DIFF);
        GdiObject<HBRUSH> brush(CreateSolidBrush(GetSysColor(band.colorIndex)));
        FillRgn(dc, scratch.get(), brush.get());
    };
    if (borderWidth == 2) {
        for (const Band& band : pressed ? kPressedWide : kRaisedWide)
            paint(band);
    } else {
        for (const Band& band : pressed ? kPressed : kRaised)
            paint(band);
    }
    return 0;
}

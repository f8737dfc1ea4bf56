#include "runtime/control/subclass.h"

#include "runtime/control/controls.h"

namespace {

constexpr int kTextColorIndex = COLOR_BTNTEXT;

int BackgroundColorIndex(int32_t type) {
    switch (type) {
    case CT_BUTTON:
    case CT_HOTBUTTON:
    case CT_CHECKBOX:
    case CT_RADIO:
    case CT_GROUPBOX:
    case CT_PUSHBUTTON:
    case CT_LABEL:
        return COLOR_BTNFACE;
    case CT_SCROLLBAR:
        return COLOR_SCROLLBAR;
    default:
        return COLOR_WINDOW;
    }
}

HANDLE ColorValue(COLORREF color) { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(color)); }

COLORREF ColorProperty(HWND control, const char* name) {
    return static_cast<COLORREF>(reinterpret_cast<uintptr_t>(GetPropA(control, name)));
}

void DeleteBrushProperty(HWND control, const char* name) {
    if (HANDLE brush = RemovePropA(control, name))
        DeleteObject(brush);
}

// Everything SubclassControl, SetControlColors and SetHotColor hang on a
// control; removing a property that is not there does nothing.
void ReleaseProperties(HWND control) {
    DeleteBrushProperty(control, kBackBrushProperty);
    DeleteBrushProperty(control, kHotBrushProperty);
    RemovePropA(control, kBackColorProperty);
    RemovePropA(control, kTextColorProperty);
    RemovePropA(control, kHotColorProperty);
    RemovePropA(control, kBorderWidthProperty);
}

}  // namespace

int32_t SubclassControl(HWND control, int32_t type) {
    if (!control)
        return 0;
    const COLORREF back = GetSysColor(BackgroundColorIndex(type));
    SetPropA(control, kTextColorProperty, ColorValue(GetSysColor(kTextColorIndex)));
    SetPropA(control, kBackColorProperty, ColorValue(back));
    if (type == CT_SCROLLBAR) {
        SetPropA(control, kBackBrushProperty, nullptr);
    } else {
        SetPropA(control, kBackBrushProperty, CreateSolidBrush(back));
        if (type == CT_HOTBUTTON) {
            SetPropA(control, kHotColorProperty, ColorValue(back));
            SetPropA(control, kBorderWidthProperty, reinterpret_cast<HANDLE>(1));
        }
    }
    const LONG previous =
        SetWindowLongA(control, GWL_WNDPROC, static_cast<LONG>(reinterpret_cast<uintptr_t>(GeneralControlProc)));
    SetPropA(control, kPrevProcProperty, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(previous)));
    return 1;
}

LRESULT CALLBACK GeneralControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    // Read first: WM_DESTROY removes it before passing the message on.
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(control, kPrevProcProperty));

    switch (message) {
    case kReflectedColorMessage:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, ColorProperty(control, kTextColorProperty));
        SetBkColor(dc, ColorProperty(control, kBackColorProperty));
        return reinterpret_cast<LRESULT>(GetPropA(control, kBackBrushProperty));
    }
    case WM_DESTROY:
        ReleaseProperties(control);
        if (previous) {
            RemovePropA(control, kPrevProcProperty);
            SetWindowLongA(control, GWL_WNDPROC, static_cast<LONG>(reinterpret_cast<uintptr_t>(previous)));
        }
        break;
    default:
        break;
    }
    return previous ? CallWindowProcA(previous, control, message, wParam, lParam) : 0;
}

#include <windows.h>

#include <commctrl.h>

#include "runtime/control/control_properties.h"
#include "runtime/control/draw_button.h"
#include "runtime/control/subclass.h"
#include "runtime/window/window_proc.h"

namespace {

void LoadBitmapForBitmapButton(HWND control, LPARAM text) {
    const auto style = static_cast<uint32_t>(GetWindowLongA(control, GWL_STYLE));
    if (style & BS_BITMAP)
        LoadBitmapFromText(control, reinterpret_cast<const char*>(text), BM_GETIMAGE, BM_SETIMAGE);
}

// What both button procedures own besides the hot button's extras.
void ReleaseButtonProperties(HWND control) {
    DeleteControlFont(control);
    DeleteControlBitmap(control, BM_GETIMAGE);
    ReleaseColorProperties(control);
}

void ReleaseHotButtonProperties(HWND control) {
    RemovePropA(control, kHotStateProperty);
    RemovePropA(control, kBorderWidthProperty);
    DeleteObjectProperty(control, kHotBitmapProperty);
    DeleteObjectProperty(control, kNormalBitmapProperty);
    DeleteObjectProperty(control, kSelectedBitmapProperty);
}

// The button repaints once on entering; later moves change nothing until
// the leave notification has taken the hot state away.
void EnterHotState(HWND control) {
    if (GetPropA(control, kHotStateProperty))
        return;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = control;
    _TrackMouseEvent(&track);
    SetPropA(control, kHotStateProperty, PropertyValue(1));
    InvalidateRect(control, nullptr, TRUE);
}

void LeaveHotState(HWND control) {
    RemovePropA(control, kHotStateProperty);
    InvalidateRect(control, nullptr, TRUE);
}

}  // namespace

LRESULT CALLBACK ButtonControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    // Read first: WM_DESTROY removes it before passing the message on.
    const WNDPROC previous = PreviousProc(control);

    switch (message) {
    case WM_SETTEXT:
        LoadBitmapForBitmapButton(control, lParam);
        break;
    case kReflectedColorMessage:
        ApplyControlColors(control, wParam);
        return reinterpret_cast<LRESULT>(GetPropA(control, kBackBrushProperty));
    case WM_DRAWITEM:
        DrawButton(control, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        break;
    case WM_DESTROY:
        ReleaseButtonProperties(control);
        RestorePreviousProc(control, previous);
        break;
    default:
        break;
    }
    return PassOn(previous, control, message, wParam, lParam);
}

LRESULT CALLBACK HotButtonProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = PreviousProc(control);

    switch (message) {
    case WM_SETTEXT:
        LoadBitmapForBitmapButton(control, lParam);
        break;
    case kReflectedColorMessage:
        // The face is drawn by DrawHotButton; nothing is painted behind it.
        ApplyControlColors(control, wParam);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_DRAWITEM:
        DrawHotButton(control, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        break;
    case WM_MOUSEMOVE:
        EnterHotState(control);
        break;
    case WM_MOUSELEAVE:
        LeaveHotState(control);
        break;
    case WM_DESTROY:
        ReleaseButtonProperties(control);
        ReleaseHotButtonProperties(control);
        RestorePreviousProc(control, previous);
        break;
    default:
        break;
    }
    return PassOn(previous, control, message, wParam, lParam);
}

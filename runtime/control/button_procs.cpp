#include <windows.h>

#include <commctrl.h>

#include "runtime/control/control_procedures.h"
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

bool ButtonMessages(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
    switch (message) {
    case WM_SETTEXT:
        LoadBitmapForBitmapButton(control, lParam);
        return false;
    case kReflectedColorMessage:
        ApplyControlColors(control, wParam);
        *answer = reinterpret_cast<LRESULT>(GetPropA(control, kBackBrushProperty));
        return true;
    case WM_DRAWITEM:
        DrawButton(control, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return false;
    default:
        return false;
    }
}

bool HotButtonMessages(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
    switch (message) {
    case WM_SETTEXT:
        LoadBitmapForBitmapButton(control, lParam);
        return false;
    case kReflectedColorMessage:
        // The face is drawn by DrawHotButton; nothing is painted behind it.
        ApplyControlColors(control, wParam);
        *answer = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return true;
    case WM_DRAWITEM:
        DrawHotButton(control, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return false;
    case WM_MOUSEMOVE:
        EnterHotState(control);
        return false;
    case WM_MOUSELEAVE:
        LeaveHotState(control);
        return false;
    default:
        return false;
    }
}

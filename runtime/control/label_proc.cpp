#include "runtime/control/control_procedures.h"
#include "runtime/control/control_properties.h"
#include "runtime/window/control_styles.h"
#include "runtime/control/subclass.h"
#include "runtime/window/draw_scope.h"
#include "runtime/window/open_window.h"
#include "runtime/window/window_proc.h"

namespace {

constexpr uint32_t kPictureMask = 0xE;   // SS_BITMAP among the static type bits

uint32_t StyleOf(HWND label) { return static_cast<uint32_t>(GetWindowLongA(label, GWL_STYLE)); }

bool IsTransparent(HWND label) { return (StyleOf(label) & CS_TRANSPARENT) != 0; }

// Copies the part of the parent's drawing that lies under the label into
// the label's erase DC, so the label's text is drawn over it.
void ShowParentBehind(HWND label, HDC eraseDC) {
    WindowRecord* parent = RecordOfWindow(GetParent(label));
    if (!parent)
        return;
    RECT area{};
    GetWindowRect(label, &area);
    POINT corner{area.left, area.top};
    ScreenToClient(parent->hwnd, &corner);
    HDC dc = AcquireDrawDC(parent);
    if (!dc)
        return;
    BitBlt(eraseDC, 0, 0, area.right - area.left, area.bottom - area.top, dc, corner.x, corner.y, SRCCOPY);
    ReleaseDrawDC(parent, dc, 1);
}

}  // namespace

bool LabelMessages(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
    switch (message) {
    case WM_SETTEXT:
        if ((StyleOf(control) & kPictureMask) == SS_BITMAP)
            LoadBitmapFromText(control, reinterpret_cast<const char*>(lParam), STM_GETIMAGE, STM_SETIMAGE);
        if (IsTransparent(control))
            InvalidateRect(control, nullptr, TRUE);
        return false;
    case WM_ERASEBKGND:
        if (IsTransparent(control))
            ShowParentBehind(control, reinterpret_cast<HDC>(wParam));
        return false;
    case kReflectedColorMessage:
        SetTextColor(reinterpret_cast<HDC>(wParam), ColorProperty(control, kTextColorProperty));
        if (IsTransparent(control)) {
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            *answer = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        } else {
            SetBkColor(reinterpret_cast<HDC>(wParam), ColorProperty(control, kBackColorProperty));
            *answer = reinterpret_cast<LRESULT>(GetPropA(control, kBackBrushProperty));
        }
        return true;
    default:
        return false;
    }
}

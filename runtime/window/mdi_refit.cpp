#include "runtime/window/mdi_refit.h"

#include <commctrl.h>

#include "runtime/window/class_name.h"

namespace {

struct BarSpace {
    HWND frame;
    RECT free;     // the frame's client area minus the bars met so far
    int32_t found;
};

BOOL CALLBACK MeasureBar(HWND child, LPARAM param) {
    auto* space = reinterpret_cast<BarSpace*>(param);
    // Bars inside MDI children or other controls are theirs, not the frame's.
    if (GetParent(child) != space->frame)
        return TRUE;
    RECT area{};
    GetWindowRect(child, &area);
    const LONG width = area.right - area.left;
    const LONG height = area.bottom - area.top;
    if (HasClassName(child, "TOOLBARWINDOW32")) {
        const uint32_t style = static_cast<uint32_t>(GetWindowLongA(child, GWL_STYLE));
        const bool vertical = (style & CCS_VERT) != 0;
        if ((style & 3) == CCS_TOP) {
            if (vertical)
                space->free.left += width;
            else
                space->free.top += height;
        } else if ((style & 3) == CCS_BOTTOM) {
            if (vertical)
                space->free.right -= width;
            else
                space->free.bottom -= height;
        }
        space->found = 1;
    } else if (HasClassName(child, "MSCTLS_STATUSBAR32")) {
        space->free.bottom -= height;
        space->found = 1;
    }
    return TRUE;
}

// The frame's client area less its tool bars and status bars; found is 1
// when there was at least one bar.
BarSpace MeasureBars(HWND frame) {
    BarSpace space{frame, {}, 0};
    GetClientRect(frame, &space.free);
    EnumChildWindows(frame, MeasureBar, reinterpret_cast<LPARAM>(&space));
    return space;
}

}  // namespace

int32_t RefitMdiClient(HWND frame, HWND mdiClient) {
    if (!frame || !mdiClient)
        return 0;
    const BarSpace space = MeasureBars(frame);
    if (space.found)
        MoveWindow(mdiClient, space.free.left, space.free.top, space.free.right - space.free.left,
                   space.free.bottom - space.free.top, TRUE);
    return space.found;
}

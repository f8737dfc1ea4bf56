#include "runtime/window/paint_window.h"

#include <cmath>

#include "runtime/window/control_styles.h"
#include "runtime/window/class_name.h"
#include "runtime/window/gdi_guards.h"
#include "runtime/window/open_window.h"
#include "runtime/window/surface.h"
#include "runtime/window/window_proc.h"

namespace {

bool IsTransparentLabel(HWND child) {
    const uint32_t style = static_cast<uint32_t>(GetWindowLongA(child, GWL_STYLE));
    return (style & CS_TRANSPARENT) != 0 && HasClassName(child, "STATIC");
}

struct ExcludeContext {
    HWND parent;
    HDC dc;
};

BOOL CALLBACK ExcludeChild(HWND child, LPARAM param) {
    const auto* context = reinterpret_cast<const ExcludeContext*>(param);
    if (!IsWindowVisible(child) || IsTransparentLabel(child))
        return TRUE;
    RECT area{};
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, context->parent, reinterpret_cast<POINT*>(&area), 2);

    GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    if (region.get() && GetWindowRgn(child, region.get()) == COMPLEXREGION) {
        // A window region is relative to the child's own top-left corner.
        OffsetRgn(region.get(), area.left, area.top);
        ExtSelectClipRgn(context->dc, region.get(), RGN_DIFF);
    } else {
        ExcludeClipRect(context->dc, area.left, area.top, area.right, area.bottom);
    }
    return TRUE;
}

// Keeps the copy from painting over the children, which paint themselves;
// transparent labels are left in so the surface shows through them.
void ExcludeChildren(HWND hwnd, HDC dc) {
    ExcludeContext context{hwnd, dc};
    EnumChildWindows(hwnd, ExcludeChild, reinterpret_cast<LPARAM>(&context));
}

// To the nearest integer, halves to even (the default rounding mode).
int Round(float value) { return static_cast<int>(std::lrint(value)); }

void PrepareStretch(HDC dc) {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
}

// While a scope is open its DC holds the surface bitmap; only what the scope
// drew since the bounds were last read is copied.
void CopyScopeBounds(const WindowRecord* record, HDC dc) {
    RECT bounds{};
    if ((GetBoundsRect(record->drawDC, &bounds, DCB_RESET) & DCB_SET) != DCB_SET)
        return;
    SIZE bitmap{};
    SIZE client{};
    if (SurfaceIsStretched(record, &bitmap, &client)) {
        PrepareStretch(dc);
        StretchBlt(dc, 0, 0, client.cx, client.cy, record->drawDC, 0, 0, bitmap.cx, bitmap.cy, SRCCOPY);
        return;
    }
    BitBlt(dc, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
           record->drawDC, bounds.left, bounds.top, SRCCOPY);
}

void CopyUpdateRect(const WindowRecord* record, HDC dc, const RECT& update) {
    MemoryDC surface(dc);
    if (!surface.get())
        return;
    Selected surfaceBitmap(surface.get(), record->surfaceBitmap);
    const int32_t width = update.right - update.left;
    const int32_t height = update.bottom - update.top;
    SIZE bitmap{};
    SIZE client{};
    if (SurfaceIsStretched(record, &bitmap, &client)) {
        const float fx = static_cast<float>(bitmap.cx) / static_cast<float>(client.cx);
        const float fy = static_cast<float>(bitmap.cy) / static_cast<float>(client.cy);
        PrepareStretch(dc);
        StretchBlt(dc, update.left, update.top, width, height, surface.get(),
                   Round(fx * static_cast<float>(update.left)), Round(fy * static_cast<float>(update.top)),
                   Round(fx * static_cast<float>(width)), Round(fy * static_cast<float>(height)), SRCCOPY);
        return;
    }
    BitBlt(dc, update.left, update.top, width, height, surface.get(), update.left, update.top, SRCCOPY);
}

}  // namespace

int32_t PaintWindow(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (!hwnd)
        return 1;
    WindowRecord* record = RecordOfWindow(hwnd);
    RECT update{};
    GetUpdateRect(hwnd, &update, FALSE);
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    // A window without record still has its update region validated by the
    // Begin/EndPaint pair; left invalid, it would be sent WM_PAINT forever.
    if (record && dc) {
        ExcludeChildren(hwnd, dc);
        if (!HasSurface(record))
            RouteEvent(record, WM_PAINT, static_cast<uint32_t>(wParam), static_cast<int32_t>(lParam));
        else if (record->drawDC)
            CopyScopeBounds(record, dc);
        else
            CopyUpdateRect(record, dc, update);
    }
    EndPaint(hwnd, &ps);
    return 1;
}

#pragma once
// Reading back what a runtime window shows and what its surface holds.

#include <windows.h>

#include <ostream>
#include <vector>

#include "runtime/window/window_record.h"

// A pixel of the surface bitmap, read through a memory DC; only while no
// drawing scope has the bitmap selected.
inline COLORREF SurfacePixel(const WindowRecord& window, int x, int y) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, window.surfaceBitmap);
    const COLORREF color = GetPixel(memory, x, y);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return color;
}

// A pixel as the window shows it, from its own DC (client coordinates).
inline COLORREF WindowPixel(HWND hwnd, int x, int y) {
    HDC dc = GetDC(hwnd);
    const COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return color;
}

// Paints into the surface bitmap behind the runtime's back: the screen shows
// it only once a paint copies that part of the surface.
inline void FillSurfaceDirectly(const WindowRecord& window, RECT area, COLORREF color) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, window.surfaceBitmap);
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(memory, &area, brush);
    DeleteObject(brush);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// Watches the WM_PAINT messages a window receives: the update rectangle of
// each and, after the runtime has painted, an optional look at the result.
struct PaintWatch {
    HWND hwnd = nullptr;
    WNDPROC original = nullptr;
    std::vector<RECT> updates;
    void (*afterPaint)(HWND) = nullptr;
};
inline PaintWatch paintWatch;

inline LRESULT CALLBACK WatchPaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT)
        return CallWindowProcA(paintWatch.original, hwnd, message, wParam, lParam);
    RECT update{};
    GetUpdateRect(hwnd, &update, FALSE);
    paintWatch.updates.push_back(update);
    const LRESULT result = CallWindowProcA(paintWatch.original, hwnd, message, wParam, lParam);
    if (paintWatch.afterPaint)
        paintWatch.afterPaint(hwnd);
    return result;
}

inline void WatchPaintsOf(HWND hwnd) {
    paintWatch = PaintWatch{};
    paintWatch.hwnd = hwnd;
    paintWatch.original = reinterpret_cast<WNDPROC>(
        SetWindowLongA(hwnd, GWL_WNDPROC, static_cast<LONG>(reinterpret_cast<uintptr_t>(WatchPaint))));
}

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline void PrintTo(const RECT& r, std::ostream* out) {
    *out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

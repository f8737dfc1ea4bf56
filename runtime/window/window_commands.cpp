#include "runtime/window/window_commands.h"

namespace {

// The rectangle the window is centred on and the one it is kept inside.
struct CentringAreas {
    RECT reference;
    RECT bounds;
};

CentringAreas FindCentringAreas(HWND hwnd) {
    CentringAreas areas{};
    const auto style = static_cast<uint32_t>(GetWindowLongA(hwnd, GWL_STYLE));
    if (style & WS_CHILD) {
        GetClientRect(GetParent(hwnd), &areas.bounds);
        areas.reference = areas.bounds;
        return areas;
    }
    HWND owner = GetWindow(hwnd, GW_OWNER);
    if (owner) {
        const auto ownerStyle = static_cast<uint32_t>(GetWindowLongA(owner, GWL_STYLE));
        if (!(ownerStyle & WS_VISIBLE) || (ownerStyle & WS_MINIMIZE))
            owner = nullptr;
    }
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &areas.bounds, 0);
    if (owner)
        GetWindowRect(owner, &areas.reference);
    else
        areas.reference = areas.bounds;
    return areas;
}

// Start of a span of size length centred on [low, high] and kept inside
// [boundLow, boundHigh]; a span longer than the bounds starts at boundLow.
// Both divisions truncate toward zero.
int32_t CentredStart(LONG low, LONG high, int32_t length, LONG boundLow, LONG boundHigh) {
    int32_t start = (low + high) / 2 - length / 2;
    if (start < boundLow)
        start = boundLow;
    else if (start + length > boundHigh)
        start = boundHigh - length;
    return start;
}

}  // namespace

int32_t CenterWindow(const WindowRecord* window) {
    if (!window || !window->hwnd)
        return 0;
    HWND hwnd = window->hwnd;
    const CentringAreas areas = FindCentringAreas(hwnd);
    RECT own{};
    GetWindowRect(hwnd, &own);
    const int32_t width = own.right - own.left;
    const int32_t height = own.bottom - own.top;
    const int32_t x = CentredStart(areas.reference.left, areas.reference.right, width, areas.bounds.left,
                                   areas.bounds.right);
    const int32_t y = CentredStart(areas.reference.top, areas.reference.bottom, height, areas.bounds.top,
                                   areas.bounds.bottom);
    SetWindowPos(hwnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

int32_t ShowWindowOrControl(const WindowRecord* window, int32_t showCommand, int32_t controlId) {
    if (!window || !window->hwnd)
        return 0;
    HWND target = controlId == 0 ? window->hwnd : GetDlgItem(window->hwnd, controlId);
    if (target)
        ShowWindow(target, showCommand);
    return 0;
}

int32_t SetCaption(const WindowRecord* window, const char* text) {
    if (!window || !window->hwnd)
        return 0;
    SetWindowTextA(window->hwnd, text);
    return 0;
}

int32_t SetClassIcon(const WindowRecord* window, HICON icon) {
    if (!window || !window->hwnd)
        return 0;
    SetClassLongA(window->hwnd, GCL_HICON, static_cast<LONG>(reinterpret_cast<uintptr_t>(icon)));
    return 0;
}

#include "runtime/window/geometry.h"

namespace {

void Store(int32_t* target, int32_t value) {
    if (target)
        *target = value;
}

}  // namespace

int32_t GetBitmapSize(HBITMAP bitmap, int32_t* width, int32_t* height) {
    BITMAP bm{};
    // GetObjectA would fill the BITMAP with some other object's record.
    const bool ok = bitmap && GetObjectType(bitmap) == OBJ_BITMAP &&
                    GetObjectA(bitmap, sizeof(bm), &bm) != 0;
    Store(width, ok ? bm.bmWidth : 0);
    Store(height, ok ? bm.bmHeight : 0);
    return ok ? 1 : 0;
}

int32_t GetClientSize(const WindowRecord* window, int32_t* x, int32_t* y, int32_t* width,
                      int32_t* height) {
    RECT client{};
    const bool ok = window && window->hwnd && GetClientRect(window->hwnd, &client);
    Store(x, 0);
    Store(y, 0);
    Store(width, ok ? client.right - client.left : 0);
    Store(height, ok ? client.bottom - client.top : 0);
    return ok ? 1 : 0;
}

int32_t GetControlRect(const WindowRecord* window, int32_t* x, int32_t* y, int32_t* width,
                       int32_t* height, int32_t controlId) {
    HWND target = nullptr;
    if (window && window->hwnd)
        target = controlId ? GetDlgItem(window->hwnd, controlId) : window->hwnd;
    RECT area{};
    const bool ok = target && GetWindowRect(target, &area);
    Store(x, ok ? area.left : 0);
    Store(y, ok ? area.top : 0);
    Store(width, ok ? area.right - area.left : 0);
    Store(height, ok ? area.bottom - area.top : 0);
    return ok ? 1 : 0;
}

#include "runtime/window/surface.h"

#include "runtime/window/geometry.h"

int32_t FillSolid(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, COLORREF color) {
    if (!dc)
        return 0;
    SetBkColor(dc, color);
    const RECT area{x, y, x + width, y + height};
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    return 0;
}

bool SurfaceIsStretched(const WindowRecord* record, SIZE* bitmap, SIZE* client) {
    if (!(record->surfaceMode & SURFACE_CLIENT_SIZED))
        return false;
    int32_t bitmapWidth = 0;
    int32_t bitmapHeight = 0;
    RECT area{};
    if (!GetBitmapSize(record->surfaceBitmap, &bitmapWidth, &bitmapHeight) ||
        !GetClientRect(record->hwnd, &area))
        return false;
    *bitmap = SIZE{bitmapWidth, bitmapHeight};
    *client = SIZE{area.right - area.left, area.bottom - area.top};
    // A minimised (empty) client area has nothing to stretch onto.
    if (client->cx <= 0 || client->cy <= 0 || bitmap->cx <= 0 || bitmap->cy <= 0)
        return false;
    return bitmap->cx != client->cx || bitmap->cy != client->cy;
}

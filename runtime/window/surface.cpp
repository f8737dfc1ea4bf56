#include "runtime/window/surface.h"

int32_t FillSolid(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom, COLORREF color) {
    if (!dc)
        return 0;
    SetBkColor(dc, color);
    const RECT area{left, top, right, bottom};
    return ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr) ? 1 : 0;
}

LRESULT PaintWindow(WindowRecord*, HWND) { return 0; }

int32_t RefitMdiClient(WindowRecord*) { return 0; }

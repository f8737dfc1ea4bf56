#include "runtime/window/draw_scope.h"

#include <ddraw.h>

#include <cmath>

#include "runtime/window/surface.h"

namespace {

IDirectDrawSurface* AltSurface(const WindowRecord* window) {
    return static_cast<IDirectDrawSurface*>(window->altSurface);
}

HDC TakeWindowDC(const WindowRecord* window) {
    if (!window->altSurfaceMode)
        return GetDC(window->hwnd);
    IDirectDrawSurface* surface = AltSurface(window);
    HDC dc = nullptr;
    if (!surface || FAILED(surface->GetDC(&dc)))
        return nullptr;
    return dc;
}

void GiveBackWindowDC(const WindowRecord* window, HDC dc) {
    if (!window->altSurfaceMode) {
        ReleaseDC(window->hwnd, dc);
        return;
    }
    if (IDirectDrawSurface* surface = AltSurface(window))
        surface->ReleaseDC(dc);
}

void ApplyDrawingState(const WindowRecord* window, HDC dc) {
    MoveToEx(dc, window->penX, window->penY, nullptr);
    if (window->font)
        SelectObject(dc, window->font);
    if (window->pen) {
        SelectObject(dc, window->pen);
        LOGPEN lp{};
        if (GetObjectA(window->pen, sizeof(lp), &lp))
            SetTextColor(dc, lp.lopnColor);
    }
    SetTextAlign(dc, TA_UPDATECP);
    SetBkMode(dc, window->bkMode);
    SetBkColor(dc, window->bkColor);
    SetROP2(dc, window->rop2);
}

// Bounds in surface pixels to client pixels of a stretched surface, widened
// by one pixel on the left and top so rounding never leaves an edge behind.
RECT ScaleToClient(const RECT& bounds, SIZE bitmap, SIZE client) {
    const float sx = static_cast<float>(client.cx) / static_cast<float>(bitmap.cx);
    const float sy = static_cast<float>(client.cy) / static_cast<float>(bitmap.cy);
    const float w = static_cast<float>(bounds.right - bounds.left + 1);
    const float h = static_cast<float>(bounds.bottom - bounds.top + 1);
    const LONG left = std::lrint(sx * static_cast<float>(bounds.left));
    const LONG top = std::lrint(sy * static_cast<float>(bounds.top));
    const LONG right = std::lrint(static_cast<float>(left) + sx * w);
    const LONG bottom = std::lrint(static_cast<float>(top) + sy * h);
    return RECT{left - 1, top - 1, right, bottom};
}

void InvalidateDrawnArea(const WindowRecord* window, HDC dc) {
    RECT bounds{};
    if ((GetBoundsRect(dc, &bounds, DCB_RESET) & DCB_SET) != DCB_SET)
        return;
    SIZE bitmap{};
    SIZE client{};
    if (SurfaceIsStretched(window, &bitmap, &client))
        bounds = ScaleToClient(bounds, bitmap, client);
    InvalidateRect(window->hwnd, &bounds, FALSE);
}

}  // namespace

HDC AcquireDrawDC(WindowRecord* window) {
    if (!window || !window->hwnd)
        return nullptr;
    if (window->targetDC)
        return window->targetDC;
    if (window->paintDC)
        return window->paintDC;
    if (window->drawDCDepth && window->drawDC) {
        ++window->drawDCDepth;
        return window->drawDC;
    }

    HDC windowDC = TakeWindowDC(window);
    if (!windowDC)
        return nullptr;
    const bool surface = HasSurface(window);
    HDC dc = windowDC;
    if (surface) {
        dc = CreateCompatibleDC(windowDC);
        if (!dc) {
            GiveBackWindowDC(window, windowDC);
            return nullptr;
        }
    }

    SaveDC(dc);
    if (surface)
        SelectObject(dc, window->surfaceBitmap);
    ApplyDrawingState(window, dc);
    if (surface)
        GiveBackWindowDC(window, windowDC);

    window->drawDC = dc;
    window->drawDCDepth = 1;
    if (!window->altSurfaceMode)
        SetBoundsRect(dc, nullptr, DCB_RESET | DCB_ACCUMULATE | DCB_ENABLE);
    return dc;
}

int32_t ReleaseDrawDC(WindowRecord* window, HDC dc, int32_t update) {
    if (!window || !window->hwnd || window->targetDC || window->paintDC)
        return 0;
    if (window->drawDCDepth)
        --window->drawDCDepth;
    const bool surface = HasSurface(window);
    if (window->drawDCDepth > 0) {
        // PaintWindow copies what the open scope has drawn so far.
        if (update && surface) {
            InvalidateRect(window->hwnd, nullptr, FALSE);
            UpdateWindow(window->hwnd);
        }
        return 0;
    }
    window->drawDC = nullptr;
    if (!dc)
        return 0;

    POINT position{};
    if (GetCurrentPositionEx(dc, &position)) {
        window->penX = position.x;
        window->penY = position.y;
    }
    window->bkMode = GetBkMode(dc);
    window->bkColor = GetBkColor(dc);
    window->rop2 = GetROP2(dc);
    LOGPEN lp{};
    HGDIOBJ currentPen = GetCurrentObject(dc, OBJ_PEN);
    const bool keepPen = currentPen && GetObjectA(currentPen, sizeof(lp), &lp) != 0;
    LOGFONTA lf{};
    HGDIOBJ currentFont = GetCurrentObject(dc, OBJ_FONT);
    const bool keepFont = currentFont && GetObjectA(currentFont, sizeof(lf), &lf) != 0;

    if (surface && update)
        InvalidateDrawnArea(window, dc);
    RestoreDC(dc, -1);

    // Only now are the record's old objects out of the DC and safe to delete.
    if (keepPen) {
        DeleteObject(window->pen);
        window->pen = CreatePenIndirect(&lp);
    }
    if (keepFont) {
        DeleteObject(window->font);
        window->font = CreateFontIndirectA(&lf);
    }

    if (surface)
        DeleteDC(dc);
    else
        GiveBackWindowDC(window, dc);
    if (update && surface)
        UpdateWindow(window->hwnd);
    return 0;
}

#pragma once
// The persistent drawing surface: whether a window has one and how it is
// shown, and the small drawing routines the controls share.

#include <windows.h>

#include <cstdint>

#include "runtime/window/window_record.h"

// True when drawing goes to the window's off-screen bitmap. A non-zero mode
// whose bitmap could not be made counts as no surface, so drawing is not
// lost into a memory DC's one-pixel default bitmap.
inline bool HasSurface(const WindowRecord* record) {
    return record->surfaceMode != 0 && record->surfaceBitmap != nullptr;
}

// True when a client-sized surface (surfaceMode bit 0x10) no longer has the
// client area's size and is shown stretched; gives both sizes, all non-zero.
bool SurfaceIsStretched(const WindowRecord* record, SIZE* bitmap, SIZE* client);

// Sets the DC's background colour (kept afterwards) and paints the rectangle
// opaque with it; nothing when dc is null. Returns 0.
int32_t FillSolid(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, COLORREF color);

#pragma once
// The persistent drawing surface: painting a window from it, and the small
// drawing routines the controls share.

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
// opaque with it; 0 when dc is null.
int32_t FillSolid(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, COLORREF color);

// WM_PAINT of a runtime window: copies the surface to the screen, or routes
// the paint event to the handler of a window without surface. Returns 1.
int32_t PaintWindow(HWND hwnd, WPARAM wParam, LPARAM lParam);

// Moves the MDI client into the part of the frame's client area that the
// frame's tool bars and status bars leave free; 1 when it found any bar,
// 0 when the default frame procedure should size the client.
int32_t RefitMdiClient(HWND frame, HWND mdiClient);

#pragma once
// Drawing scopes: every drawing into a runtime window happens between
// AcquireDrawDC and ReleaseDrawDC. The DC carries the drawing state kept in
// the record (font, pen, position, background mode and colour, mix mode);
// text is drawn in the pen's colour and moves the current position.

#include <windows.h>

#include <cstdint>

#include "runtime/window/window_record.h"

// The DC to draw on the window, or null. targetDC or paintDC, when set, is
// returned without opening a scope. Otherwise a scope opens, or an open one
// nests and the same DC comes back. With a surface the DC is a memory DC on
// the surface bitmap; without one it is the window's DC. When
// altSurfaceMode is set, altSurface is an IDirectDrawSurface whose GetDC
// and ReleaseDC give and take the window's DC.
[[nodiscard]] HDC AcquireDrawDC(WindowRecord* window);

// Closes one level of a scope; the outermost level stores the drawing state
// back into the record (new pen and font objects copying those selected at
// the end) and disposes of the DC. With update non-zero and a surface, the
// area drawn is on the screen when the call returns. Returns 0.
int32_t ReleaseDrawDC(WindowRecord* window, HDC dc, int32_t update);

#pragma once
// The persistent drawing surface and painting.

#include <windows.h>

#include <cstdint>

#include "runtime/window/window_record.h"

// Sets the DC's background colour and paints the rectangle opaque with it.
int32_t FillSolid(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom, COLORREF color);

// WM_PAINT of a runtime window; 0 leaves the message to the default procedure.
LRESULT PaintWindow(WindowRecord* record, HWND hwnd);

// Fits a frame's MDI client between its tool bars and status bars; returns
// 1 when it found any, 0 when the default frame procedure should size it.
int32_t RefitMdiClient(WindowRecord* record);

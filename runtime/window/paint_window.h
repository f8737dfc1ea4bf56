#pragma once
// Painting a runtime window.

#include <windows.h>

#include <cstdint>

// WM_PAINT of a runtime window: copies the surface to the screen, or routes
// the paint event to the handler of a window without surface. Returns 1.
int32_t PaintWindow(HWND hwnd, WPARAM wParam, LPARAM lParam);

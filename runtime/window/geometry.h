#pragma once
// Sizes and positions of bitmaps, windows and controls, read into the
// caller's variables. Every out pointer may be null.

#include <windows.h>

#include <cstdint>

#include "runtime/window/window_record.h"

// Each returns 1 when it read the sizes, 0 as written below.

// Width and height of a bitmap; both 0 (and result 0) when it is null or
// not a bitmap.
int32_t GetBitmapSize(HBITMAP bitmap, int32_t* width, int32_t* height);

// The client area as 0, 0, width, height; all four 0 (and result 0) when the
// record has no window.
int32_t GetClientSize(const WindowRecord* window, int32_t* x, int32_t* y, int32_t* width,
                      int32_t* height);

// Screen position and size of a control of the window, or of the window
// itself for controlId 0; all four 0 (and result 0) when there is no such
// window.
int32_t GetControlRect(const WindowRecord* window, int32_t* x, int32_t* y, int32_t* width,
                       int32_t* height, int32_t controlId);

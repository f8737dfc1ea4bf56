#pragma once
// Small commands on an open window: centring, showing, caption, class icon.
// Each returns 0, whether it did its work or not (it does nothing for a
// record without window); what it did is read from the window itself.

#include <windows.h>

#include <cstdint>

#include "runtime/window/window_record.h"

// Moves the window, unsized, unactivated and in its Z place, to the middle
// of its parent's client area (child windows) or of its visible, not
// minimized owner, else of the work area; then into the parent's client
// area or the work area, a window larger than that keeping its left or top
// edge on the bounds.
int32_t CenterWindow(const WindowRecord* window);

// ShowWindow on the window itself (controlId 0) or on its control; nothing
// when there is no such control.
int32_t ShowWindowOrControl(const WindowRecord* window, int32_t showCommand, int32_t controlId);

// The window's caption.
int32_t SetCaption(const WindowRecord* window, const char* text);

// The icon of the window's class: every window of that class shows it.
int32_t SetClassIcon(const WindowRecord* window, HICON icon);

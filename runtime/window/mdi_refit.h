#pragma once
// Keeping an MDI frame's client area clear of its tool bars and status bars.

#include <windows.h>

#include <cstdint>

// Moves the MDI client into the part of the frame's client area that the
// frame's tool bars and status bars leave free; 1 when it found any bar,
// 0 when the default frame procedure should size the client.
int32_t RefitMdiClient(HWND frame, HWND mdiClient);

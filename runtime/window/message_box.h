#pragma once
// The runtime's message box: centred over its owner (or the screen) and kept
// inside the work area by a CBT hook that lives as long as the box.

#include <windows.h>

#include <cstdint>

#include "runtime/window/window_record.h"

// The centring hook of the innermost ShowMessage in progress, else null.
extern HHOOK messageBoxHook;

// MessageBoxA with the owner's window (none when owner is null) and flags
// (0 means MB_ICONEXCLAMATION | MB_OK); returns the platform's result. Every
// captioned or pop-up window the thread creates while the box is open is
// centred the same way.
int32_t ShowMessage(WindowRecord* owner, const char* text, const char* caption, uint32_t flags);

// The CBT hook ShowMessage installs; the platform's hook chain result.
LRESULT CALLBACK CenterHookProc(int code, WPARAM wParam, LPARAM lParam);

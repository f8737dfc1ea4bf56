#pragma once
// Routines registered per window for control notifications, menu commands
// and event codes; they run after the window's handler.

#include <windows.h>

#include <cstdint>

int32_t DispatchHandlerTables(HWND hwnd, int32_t eventCode);
int32_t ReleaseHandlerTables(HWND hwnd);

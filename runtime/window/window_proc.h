#pragma once
// The runtime windows' procedure, and the single path by which an event
// reaches a program's handler.

#include <windows.h>

#include <cstdint>

#include "runtime/window/window_record.h"

// WM_CTLCOLOR: the parent reflects every colour request of a control to the
// control as this message (same wParam and lParam), and the control's
// subclass procedure answers it with its brush.
constexpr UINT kReflectedColorMessage = 0x0019;

// Sets up what routing keeps per thread; called once, before the runtime's
// window classes are registered. Without it routing asks the window manager
// for every message.
void PrepareRouting();

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Fills messageRecord, calls the record's handler and then the handler
// tables, and restores messageRecord; returns the handler's result OR the
// tables' result.
int32_t RouteEvent(WindowRecord* record, uint32_t message, uint32_t wParam, int32_t lParam);

// The colour requests a parent reflects to the control named in lParam
// (every WM_CTLCOLOR* but WM_CTLCOLORDLG).
bool IsControlColorMessage(UINT message);

LRESULT EraseBackground(HWND hwnd, HDC dc, LPARAM lParam);

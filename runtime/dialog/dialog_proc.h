#pragma once
// The procedure the dialog manager calls for the runtime's dialogs: it ties
// the dialog window to its record, takes over the controls, reflects colour
// and drawing requests to them and routes the rest to the handler.

#include <windows.h>

#include <cstdint>

#include "runtime/window/window_record.h"

// The record of the dialog being opened: set just before the platform's
// dialog call, taken and cleared at WM_INITDIALOG. One slot, so opening a
// dialog must not nest before the first one's WM_INITDIALOG.
extern WindowRecord* DialogUnderCreation;

// Messages before WM_INITDIALOG (no "DLGPTR" yet) are answered 0 and reach
// no handler. WM_INITDIALOG always answers 1, so the dialog manager sets the
// focus. WM_CLOSE ends a modal dialog with 2 and is still routed; on a
// modeless dialog it becomes EV_CLOSE_WINDOW and the handler decides.
INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Subclasses the control of every item by the item's type and makes the
// item marked default the dialog's default button (DM_SETDEFID). Returns the
// number of controls taken over; 0 without window or template.
int32_t InitDialogControls(WindowRecord* window);

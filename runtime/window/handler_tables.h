#pragma once
// Handler tables: routines a program registers on a window for one control
// notification, one menu command or one event code. They run after the
// window's own handler, for every event routed to the window, and read
// messageRecord like the handler does. The tables hang on the window as the
// property CV_HANDLERS and are released by CloseWindow, or when the window
// is destroyed in any other way (with its parent, by the dialog manager).
//
//     int32_t OnStart() { ... return 1; }
//     SetControlHandler(&mainWindow, 105, BN_CLICKED, OnStart);
//
// Registering again under the same key replaces the routine; registering a
// null routine switches the entry off. The routines are not owned.

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "runtime/window/handler_map.h"
#include "runtime/window/window_record.h"

// Key of the window property that holds a window's HandlerTables.
inline constexpr char CV_HANDLERS[] = "CV_HANDLERS";

// Each map is null until something is registered in it.
struct HandlerTables {
    HandlerMap* controlMaps;   // control id -> HandlerMap of notification code -> routine
    HandlerMap* menuMap;       // menu command id -> routine
    HandlerMap* eventMap;      // event code -> routine
};
static_assert(sizeof(HandlerTables) == 3 * 4);
static_assert(offsetof(HandlerTables, controlMaps) == 0 * 4);
static_assert(offsetof(HandlerTables, menuMap) == 1 * 4);
static_assert(offsetof(HandlerTables, eventMap) == 2 * 4);

// The routine runs for EV_CONTROL events of that control with that
// notification code (0 for BN_CLICKED and the like; 0 and -1 share an
// entry). 1 when registered; 0 when the record has no window, the control
// id is 0 (never found) or memory ran out, and then the tables are as
// they were.
int32_t SetControlHandler(WindowRecord* record, int32_t controlId, int32_t notifyCode, HandlerProc handler);

// The routine runs for EV_MENU events with that command id. Results as
// for SetControlHandler; command id 0 is never found.
// Toolbar buttons are controls here, not menu items: a click arrives as
// EV_CONTROL with the button's command id as controlId and notifyCode 0, so
// it is registered with SetControlHandler(record, commandId, 0, routine); a
// button that repeats a menu command is registered both ways.
int32_t SetMenuHandler(WindowRecord* record, int32_t menuId, HandlerProc handler);

// The routine runs for every event with that code (an EV_ code or a
// message number), and for EV_CONTROL and EV_MENU events whose own routine
// is missing or returned 0. Results as for SetControlHandler; event code 0
// is never found.
int32_t SetEventHandler(WindowRecord* record, int32_t eventCode, HandlerProc handler);

// Runs the routines registered on hwnd for the event being delivered (its
// controlId, notifyCode and menuId come from messageRecord); returns the
// routine's result, 0 when none ran. Called by RouteEvent after the
// window's handler.
int32_t DispatchHandlerTables(HWND hwnd, int32_t eventCode);

// Frees the window's tables and removes the property; returns 0. Called by
// CloseWindow.
int32_t FreeHandlerTables(WindowRecord* record);

// The same for a window known by its handle: called by the window and
// dialog procedures at WM_DESTROY, after the event was routed, so tables go
// with their window whoever destroys it. Tables already freed are not
// freed again. Returns 0.
int32_t FreeWindowHandlerTables(HWND hwnd);

// Windows that hold tables now, in every thread. While it is 0, routing asks
// no window for its tables.
int32_t WindowsWithHandlerTables();

#pragma once
// A window's accelerator table: the keys the message loop turns into menu
// commands for it. The table hangs on the window as the property
// "_ACCEL_TABLE". Reading a property is a trip to the window server under
// Wine, so the loop asks for it only while some window has a table
// installed here.

#include <windows.h>

#include <cstdint>

#include "runtime/window/window_record.h"

// Installs table as the window's accelerators, or removes them for a null
// table. The runtime owns the table from here on: it destroys the table it
// replaces, and the window's table when the window is closed or destroyed.
// Returns 1, or 0 when the record has no window or the property could not
// be set (the table is then destroyed).
int32_t SetWindowAccelerators(WindowRecord* record, HACCEL table);

// The window's accelerator table, or null; without asking the window server
// while no window has a table installed with SetWindowAccelerators.
HACCEL WindowAccelerators(HWND hwnd);

// Destroys the window's table, if it has one, and removes the property.
// Returns 1 when there was one, else 0.
int32_t ReleaseWindowAccelerators(HWND hwnd);

#pragma once
// Opening a dialog template: a fresh DLGTEMPLATE is built in memory for
// every opening, so one description can be shown many times.

#include <windows.h>

#include <cstdint>

#include "runtime/window/window_record.h"

// Shows the dialog modally, owned by the owner record's window when one is
// given (else the template's default owner), and returns the value it was
// ended with; -1 (the platform's failure value) when it could not be
// created; 0 when the record is not a dialog template.
int32_t RunModalDialog(WindowRecord* window, const WindowRecord* owner);

// Opens the dialog and returns at once with its window handle; the dialog
// is shown unless its template was made with RF_HIDDEN. Null when the record
// is not a dialog template or the dialog could not be created.
HWND OpenModelessDialog(WindowRecord* window, const WindowRecord* owner);

// Ends the modal dialog shown for the record: its RunModalDialog returns
// value once the handler that called this has returned. Returns 1, or 0
// when the record has no dialog window. A modeless dialog is closed with
// CloseWindow instead.
int32_t EndModalDialog(const WindowRecord* dialog, int32_t value);

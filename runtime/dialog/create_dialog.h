#pragma once
// Dialogs described like windows: a record becomes a dialog template, the
// control creation calls record its items, and the dialog is built in
// memory when it opens.

#include <windows.h>

#include <cstdint>

#include "runtime/window/window_record.h"

// Registers "CorvaneDlgClass" from the system dialog class, once; a failed
// registration leaves the atom 0 and is tried again by the next dialog.
// Returns the class atom, 0 when registration failed.
ATOM RegisterDialogClass();

// Turns the record into a dialog template: the pixel rectangle in dialog
// units of an 8-point "MS Sans Serif", WS_VISIBLE unless the style has
// RF_HIDDEN, always WS_POPUP | DS_MODALFRAME | DS_SETFONT, the owner
// record's window as default owner. A caption longer than 255 characters is
// cut there. The template belongs to the runtime and is freed at shutdown;
// describing the record again frees the previous one. Returns 1; 0 for a
// null record, without memory or when the font cannot be measured, and then
// the record is as it was.
int32_t CreateDialogTemplate(WindowRecord* window, int32_t x, int32_t y, int32_t width, int32_t height,
                             uint32_t style, const WindowRecord* owner, const char* caption,
                             HandlerProc handler);

#pragma once
// Child controls of a runtime window: creation by type code (or the
// DialogItem recorded instead while the record describes a dialog template),
// and the accessors that find a control again by its identifier.

#include <windows.h>

#include <cstdint>

#include "runtime/window/control_styles.h"
#include "runtime/window/dialog_template.h"
#include "runtime/core/typed_arg.h"
#include "runtime/window/window_record.h"

// Control type codes; each names a system window class and the styles the
// runtime adds for it.
enum : int32_t {
    CT_BUTTON = 1,       // owner-drawn push button
    CT_CHECKBOX = 2,
    CT_RADIO = 3,
    CT_EDIT = 4,
    CT_LISTBOX = 5,
    CT_COMBOBOX = 6,
    CT_LABEL = 7,
    CT_SCROLLBAR = 8,
    CT_GROUPBOX = 9,
    CT_RICHEDIT = 10,
    CT_LISTVIEW = 11,
    CT_STATUSBAR = 12,
    CT_PUSHBUTTON = 13,  // the system draws it
    CT_TREEVIEW = 14,
    CT_HOTBUTTON = 20,   // owner-drawn, with hot tracking
    CT_CUSTOM = 99,      // any registered class, through CreateCustomControl
};

// Set once, never reset: InitCommonControls has been called.
extern int32_t commonControlsReady;
// The rich edit library, loaded by the first rich edit control and kept for
// the life of the process; null until a load succeeds.
extern HMODULE richEditLibrary;

// Creates the control (or records it in the template) and subclasses it;
// nothing for a record without window, a duplicate identifier or a failed
// creation. Returns 0 in every case: the control is found afterwards by its
// identifier.
int32_t CreateControl(WindowRecord* window, int32_t type, const char* text, int32_t x, int32_t y,
                      int32_t cx, int32_t cy, uint32_t style, int32_t controlId);

// A control of any registered class; its handle, or null when an item was
// recorded instead or nothing was created.
HWND CreateCustomControl(WindowRecord* window, const char* className, const char* text, int32_t x,
                         int32_t y, int32_t cx, int32_t cy, uint32_t style, uint32_t exStyle,
                         int32_t controlId);

// Template mode: appends an item (position and size already in dialog
// units) to the record's template; nothing without template, for an
// identifier outside 0 to 65535 or already in the list, or a class name
// over 31 characters. Returns 0 in every case.
int32_t AppendDialogItem(WindowRecord* window, uint32_t exStyle, const char* className,
                         const char* text, uint32_t style, int32_t x, int32_t y, int32_t cx,
                         int32_t cy, int32_t controlId, int32_t type, int32_t isDefault);

// Converts a pixel rectangle to dialog units with the template's base
// units; both edges are rounded (to nearest, halves to even) before the
// size is taken. 0 and the rectangle untouched when a base unit is not
// positive.
int32_t PixelsToDialogUnits(const DialogTemplate* dialogTemplate, int32_t* x, int32_t* y, int32_t* cx,
                            int32_t* cy);

// The control's text as a new string-heap string owned by the caller; the
// empty string when there is no window or no such control. Null only when
// the string heap has no block for it (none created, or exhausted).
[[nodiscard]] char* GetControlText(const WindowRecord* window, int32_t controlId);

// BM_GETCHECK of a button-class control (0, 1 or 2); -1 for any other
// class or a missing control.
int32_t GetCheckState(const WindowRecord* window, int32_t controlId);

// SetWindowTextA on the control. Returns 0.
int32_t SetControlText(const WindowRecord* window, int32_t controlId, const char* text);

// Stores the colours (packed RGB) in "FGRND" and "BGRND" and replaces the
// "BBRUSH" background brush, deleting the old one. Returns 0.
int32_t SetControlColors(const WindowRecord* window, int32_t controlId, uint32_t textColor,
                         uint32_t backColor);

// Stores the hot colour in "HTCLR" and replaces the "HBRUSH" brush, whose
// presence switches hot colouring on. Returns 0.
int32_t SetHotColor(const WindowRecord* window, int32_t controlId, uint32_t hotColor);

// Focuses the control, or the window itself for controlId 0. Returns 0.
int32_t FocusControl(const WindowRecord* window, int32_t controlId);

// Moves and sizes the window's control (x and y in the window's client
// area), or the window itself for controlId 0, and repaints it. Returns 1,
// or 0 when there is no such window or control.
int32_t MoveControl(const WindowRecord* window, int32_t controlId, int32_t x, int32_t y,
                    int32_t width, int32_t height);

// SendMessageA to the target: a window handle (TY_INTEGER or TY_DWORD, by
// value or by reference) or a WindowRecord (TY_WINDOW), or its child with
// controlId when that is non-zero. lParam is passed as its value; by
// reference, strings and records pass their address and every other type
// the 32-bit value stored there. 0 when there is no target window.
int32_t SendWindowMessage(TypedArg target, uint32_t message, uint32_t wParam, TypedArg lParam,
                          int32_t controlId);

#pragma once
// Window classes and window creation from a WindowRecord.

#include <windows.h>

#include <cstdint>

#include "runtime/window/window_record.h"

inline constexpr char kWindowClassName[] = "CorvaneWndClass";
inline constexpr char kFrameClassName[] = "CorvaneFrameClass";
inline constexpr char kDialogClassName[] = "CorvaneDlgClass";
// Property of a dialog window holding its WindowRecord (window long 0 of the
// dialog class is the dialog manager's own).
inline constexpr char kDialogRecordProperty[] = "DLGPTR";

// Class atoms, 0 until registered; the dialog class is registered by the
// dialog code.
extern ATOM windowClassAtom;
extern ATOM frameClassAtom;
extern ATOM dialogClassAtom;

// Atom of the MDI client class once a frame is opened; 0xFFFF (no class)
// once any other window is opened first.
extern ATOM MdiClientAtom;

// The record whose window CreateWindowExA is creating, else null.
extern WindowRecord* WindowUnderCreation;

// Registers the window and frame classes once; OpenWindow calls it. Returns 0.
int32_t RegisterWindowClasses();

// Creates the record's window (a frame with RF_FRAME, a child of parent when
// given) with the RF_ flags in bits 0x10 to 0x800 and window styles in the
// rest; handler receives its events. Returns 1 with record->hwnd set, 0 when
// the record is null or the platform made no window. Unlike the channel
// calls, 1 means success here.
[[nodiscard]] int32_t OpenWindow(WindowRecord* record, int32_t left, int32_t top, int32_t width,
                                 int32_t height, uint32_t flags, WindowRecord* parent,
                                 const char* caption, HandlerProc handler);

// Non-zero flag: the window's messages go through IsDialogMessageA, so Tab
// and the arrow keys move between its controls. Returns 0.
int32_t SetDialogKeys(WindowRecord* record, int32_t flag);

// The record attached to a window of the runtime's window classes (window
// long 0), or null.
WindowRecord* RecordOfWindow(HWND hwnd);
// True for the atom of one of the runtime's window classes.
bool IsRuntimeClassAtom(ATOM atom);
// True when the window's parent is an MDI client.
bool IsMdiChild(HWND hwnd);

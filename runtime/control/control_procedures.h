#pragma once
// What the runtime's four control procedures (GeneralControlProc,
// ButtonControlProc, HotButtonProc, LabelControlProc) share: the previous
// procedure read first, the note of a font handed to the control, the
// release on WM_DESTROY and the hand-on to the previous procedure. What sets
// each apart is one row of the table in control_procedures.cpp: its own
// messages, below, and what it owns besides its colours.

#include <windows.h>

// A procedure's own messages: true when it answered (the answer in *answer)
// and the message goes no further; false to hand the message on.
using OwnMessages = bool (*)(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer);

// The procedures' own parts, each defined beside the helpers it uses.
bool GeneralMessages(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer);   // subclass.cpp
bool ButtonMessages(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer);    // button_procs.cpp
bool HotButtonMessages(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer); // button_procs.cpp
bool LabelMessages(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer);     // label_proc.cpp

#pragma once
// Recognising a window by its class name.

#include <windows.h>

// True when the window's class name is upperName, which is given in upper
// case; the name is compared without regard to case. At most 19 characters
// of the class name are read: every name the runtime asks about is shorter,
// so a longer class name, cut, never matches by accident. False for a null
// window.
bool HasClassName(HWND window, const char* upperName);

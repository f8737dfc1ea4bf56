#pragma once
// Reading and releasing the properties the runtime keeps on its controls.

#include <windows.h>

#include <cstdint>

#include "runtime/control/subclass.h"

inline HANDLE PropertyValue(uint32_t value) { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value)); }

// A property holding a number; 0 when it is missing.
inline uint32_t NumberProperty(HWND control, const char* name) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetPropA(control, name)));
}

inline COLORREF ColorProperty(HWND control, const char* name) { return NumberProperty(control, name); }

// Removes the property and deletes the GDI object it held, if any.
inline void DeleteObjectProperty(HWND control, const char* name) {
    if (HANDLE object = RemovePropA(control, name))
        DeleteObject(object);
}

// The colours and brushes every control may hold. SetHotColor hangs a hot
// colour and brush on any control, not only on hot buttons.
inline void ReleaseColorProperties(HWND control) {
    DeleteObjectProperty(control, kBackBrushProperty);
    DeleteObjectProperty(control, kHotBrushProperty);
    RemovePropA(control, kBackColorProperty);
    RemovePropA(control, kTextColorProperty);
    RemovePropA(control, kHotColorProperty);
}

// The image a button or picture label holds, deleted as the control's own.
inline void DeleteControlBitmap(HWND control, UINT getImage) {
    if (auto bitmap = reinterpret_cast<HGDIOBJ>(SendMessageA(control, getImage, IMAGE_BITMAP, 0)))
        DeleteObject(bitmap);
}

// Puts the procedure read from "LPFN" at the start of the message back.
inline void RestorePreviousProc(HWND control, WNDPROC previous) {
    if (!previous)
        return;
    RemovePropA(control, kPrevProcProperty);
    SetWindowLongA(control, GWL_WNDPROC, static_cast<LONG>(reinterpret_cast<uintptr_t>(previous)));
}

inline LRESULT PassOn(WNDPROC previous, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return previous ? CallWindowProcA(previous, control, message, wParam, lParam) : 0;
}

// Sets the DC's colours from "FGRND" and "BGRND" for a colour answer.
inline void ApplyControlColors(HWND control, WPARAM dc) {
    SetTextColor(reinterpret_cast<HDC>(dc), ColorProperty(control, kTextColorProperty));
    SetBkColor(reinterpret_cast<HDC>(dc), ColorProperty(control, kBackColorProperty));
}

inline WNDPROC PreviousProc(HWND control) { return reinterpret_cast<WNDPROC>(GetPropA(control, kPrevProcProperty)); }

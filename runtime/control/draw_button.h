#pragma once
// Drawing of the runtime's two owner-drawn button types, on the DC the
// system hands over with WM_DRAWITEM; nothing persists between drawings.

#include <windows.h>

#include <cstdint>

// CT_BUTTON: the system's 3D push button in the control's own colours
// ("FGRND", "BGRND"), flat with BS_FLAT; pressed text moves one pixel right
// and down; the default or focused button gets a one-pixel outline.
int32_t DrawButton(HWND control, const DRAWITEMSTRUCT* drawItem);

// CT_HOTBUTTON: as DrawButton, with the hot colour or face bitmaps while the
// mouse is over it, a border of "BORDERWIDTH" pixels, and shaped buttons
// drawn along their window region.
int32_t DrawHotButton(HWND control, const DRAWITEMSTRUCT* drawItem);

// The 3D edge of a shaped button, raised or pressed, as bands of the region
// painted in the system's edge colours.
int32_t DrawRegionEdge(HWND control, HDC dc, HRGN region, int32_t pressed, int32_t borderWidth);

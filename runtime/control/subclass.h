#pragma once
// The runtime's window procedure for its controls, and the per-control
// properties it keeps: the previous procedure and the default colours.

#include <windows.h>

#include <cstdint>

// Property names on a control; programs may read and set them.
inline constexpr char kPrevProcProperty[] = "LPFN";
inline constexpr char kTextColorProperty[] = "FGRND";
inline constexpr char kBackColorProperty[] = "BGRND";
inline constexpr char kBackBrushProperty[] = "BBRUSH";
inline constexpr char kHotColorProperty[] = "HTCLR";
inline constexpr char kHotBrushProperty[] = "HBRUSH";
inline constexpr char kBorderWidthProperty[] = "BORDERWIDTH";

// Message the parent reflects colour requests to the control with.
constexpr UINT kReflectedColorMessage = 0x0019;

// Once per control, right after it exists: default colours and background
// brush by type code, and the runtime procedure in place of the control's
// own. 1 when done; 0 for a null control.
int32_t SubclassControl(HWND control, int32_t type);

// Answers the reflected colour requests from the control's properties,
// releases the properties and brushes on WM_DESTROY and puts the previous
// procedure back; everything else goes to the procedure in "LPFN".
LRESULT CALLBACK GeneralControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

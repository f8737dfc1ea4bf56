#pragma once
// The runtime's window procedures for its controls, and the per-control
// properties they keep: the previous procedure, the colours and brushes,
// the hot-button state and face bitmaps, and the notification requests.

#include <windows.h>

#include <cstdint>

// Property names on a control; programs may read and set them. A brush or
// bitmap a program stores in one becomes the control's: it is deleted with
// the control.
inline constexpr char kPrevProcProperty[] = "LPFN";
inline constexpr char kTextColorProperty[] = "FGRND";
inline constexpr char kBackColorProperty[] = "BGRND";
inline constexpr char kBackBrushProperty[] = "BBRUSH";
inline constexpr char kHotColorProperty[] = "HTCLR";
inline constexpr char kHotBrushProperty[] = "HBRUSH";
inline constexpr char kBorderWidthProperty[] = "BORDERWIDTH";
inline constexpr char kHotStateProperty[] = "DOHOT";
inline constexpr char kHotBitmapProperty[] = "HOTBMP";
inline constexpr char kNormalBitmapProperty[] = "NORBMP";
inline constexpr char kSelectedBitmapProperty[] = "SELBMP";
inline constexpr char kNotifyTabProperty[] = "NOTIFY_TAB";
inline constexpr char kNotifyEnterProperty[] = "NOTIFY_ENTER";

// Notification codes (high word of WM_COMMAND's wParam) a control sends its
// parent for Tab and Enter when "NOTIFY_TAB" or "NOTIFY_ENTER" is set.
constexpr WORD CN_ENTER = 0x0A00;
constexpr WORD CN_TAB = 0x0A01;

// Once per control, right after it exists: default colours and background
// brush by type code, and the runtime procedure for the type in place of
// the control's own; nothing for a null control. Returns 0. A second call
// would record the runtime procedure itself as the previous one.
int32_t SubclassControl(HWND control, int32_t type);

// The four runtime procedures (control_procedures.cpp). Each releases on
// WM_DESTROY its properties, brushes and bitmaps, and a font only when the
// control was handed it through WM_SETFONT after the takeover and still
// holds it: a dialog's font belongs to the dialog manager, a status bar's
// default font to the status bar.

// Every type without a procedure of its own: colour answers, Tab and Enter
// as notifications.
LRESULT CALLBACK GeneralControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// Owner-drawn push buttons; a BS_BITMAP button loads its bitmap from the text.
LRESULT CALLBACK ButtonControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// Owner-drawn buttons with hot tracking, border width and face bitmaps.
LRESULT CALLBACK HotButtonProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// Labels: picture labels load their bitmap from the text; CS_TRANSPARENT
// labels show the parent's drawing surface behind their text.
LRESULT CALLBACK LabelControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// Longest text LoadBitmapFromText takes as a file path or resource name.
constexpr int32_t kBitmapTextMax = MAX_PATH - 1;

// Replaces the control's bitmap (get-image and set-image messages given) by
// the one the text names: a file path when it holds a colon, else a bitmap
// resource of the program, by number when the text's value is positive and
// by name otherwise. The old bitmap is deleted first. A text longer than
// kBitmapTextMax, or one that loads nothing, leaves the control without a
// bitmap. 1 when a bitmap was set; 0 otherwise.
int32_t LoadBitmapFromText(HWND control, const char* text, UINT getImage, UINT setImage);

#include "runtime/control/control_procedures.h"

#include <array>

#include "runtime/control/control_properties.h"
#include "runtime/control/subclass.h"

namespace {

// The font a control was handed through WM_SETFONT after the runtime took
// it over; only that font is the control's to delete. The dialog manager
// hands its one font to every control of a dialog before the takeover and
// deletes it itself; a status bar reports a default font of its own, which
// it deletes itself.
constexpr char kHandedFontProperty[] = "OWNFONT";

struct ControlKind {
    OwnMessages own;
    UINT getImage;                           // asks for the bitmap the control owns; 0: none
    std::array<const char*, 2> removed;      // properties it removes besides the colours
    std::array<const char*, 3> deleted;      // properties whose objects it deletes
};

enum : size_t { KIND_GENERAL, KIND_BUTTON, KIND_HOTBUTTON, KIND_LABEL };

constexpr std::array<ControlKind, 4> kControlKinds{{
    // GeneralControlProc, every type without a procedure of its own: colour
    // answers (a combo box's field and list too), Tab and Enter notifications.
    {GeneralMessages, 0, {kNotifyTabProperty, kNotifyEnterProperty}, {}},
    // ButtonControlProc, CT_BUTTON: owner-drawn; a BS_BITMAP button owns its bitmap.
    {ButtonMessages, BM_GETIMAGE, {}, {}},
    // HotButtonProc, CT_HOTBUTTON: owner-drawn with hot tracking; owns its
    // bitmap and its three face bitmaps.
    {HotButtonMessages, BM_GETIMAGE, {kHotStateProperty, kBorderWidthProperty},
     {kHotBitmapProperty, kNormalBitmapProperty, kSelectedBitmapProperty}},
    // LabelControlProc, CT_LABEL: a picture label owns its bitmap; a
    // transparent one shows the parent's surface behind it.
    {LabelMessages, STM_GETIMAGE, {}, {}},
}};

void NoteHandedFont(HWND control, WPARAM font) {
    if (font)
        SetPropA(control, kHandedFontProperty, reinterpret_cast<HANDLE>(font));
    else
        RemovePropA(control, kHandedFontProperty);
}

// Deleted only while the control still holds it: a control that ignored it
// (a picture label, observed under Wine) leaves it to whoever made it.
void DeleteHandedFont(HWND control) {
    HANDLE handed = RemovePropA(control, kHandedFontProperty);
    if (handed && SendMessageA(control, WM_GETFONT, 0, 0) == reinterpret_cast<LRESULT>(handed))
        DeleteObject(handed);
}

void ReleaseControl(HWND control, const ControlKind& kind, WNDPROC previous) {
    DeleteHandedFont(control);
    if (kind.getImage)
        DeleteControlBitmap(control, kind.getImage);
    ReleaseColorProperties(control);
    for (const char* name : kind.removed)
        if (name)
            RemovePropA(control, name);
    for (const char* name : kind.deleted)
        if (name)
            DeleteObjectProperty(control, name);
    RestorePreviousProc(control, previous);
}

LRESULT RunControlProcedure(const ControlKind& kind, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    // Read first: WM_DESTROY removes it before the message is handed on.
    const WNDPROC previous = PreviousProc(control);
    switch (message) {
    case WM_SETFONT:
        NoteHandedFont(control, wParam);
        break;
    case WM_DESTROY:
        ReleaseControl(control, kind, previous);
        break;
    default: {
        LRESULT answer = 0;
        if (kind.own(control, message, wParam, lParam, &answer))
            return answer;
        break;
    }
    }
    return PassOn(previous, control, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK GeneralControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return RunControlProcedure(kControlKinds[KIND_GENERAL], control, message, wParam, lParam);
}

LRESULT CALLBACK ButtonControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return RunControlProcedure(kControlKinds[KIND_BUTTON], control, message, wParam, lParam);
}

LRESULT CALLBACK HotButtonProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return RunControlProcedure(kControlKinds[KIND_HOTBUTTON], control, message, wParam, lParam);
}

LRESULT CALLBACK LabelControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return RunControlProcedure(kControlKinds[KIND_LABEL], control, message, wParam, lParam);
}

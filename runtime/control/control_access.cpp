#include "runtime/control/controls.h"

#include "runtime/control/control_properties.h"
#include "runtime/core/strings.h"
#include "runtime/window/class_name.h"

namespace {

HWND FindControl(const WindowRecord* window, int32_t controlId) {
    if (!window || !window->hwnd)
        return nullptr;
    return GetDlgItem(window->hwnd, controlId);
}

// Stores the new brush before the old one is deleted, so the property never
// names a deleted brush.
void ReplaceBrush(HWND control, const char* name, uint32_t color) {
    HANDLE old = GetPropA(control, name);
    SetPropA(control, name, CreateSolidBrush(color));
    if (old)
        DeleteObject(old);
}

}  // namespace

char* GetControlText(const WindowRecord* window, int32_t controlId) {
    HWND control = FindControl(window, controlId);
    if (!control)
        return AllocString(2);
    const int32_t length = GetWindowTextLengthA(control);
    char* text = AllocString(length + 1);
    if (text)
        GetWindowTextA(control, text, length + 1);
    return text;
}

int32_t GetCheckState(const WindowRecord* window, int32_t controlId) {
    HWND control = FindControl(window, controlId);
    if (!control || !HasClassName(control, "BUTTON"))
        return -1;
    const TypedArg target{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(control)), TY_DWORD};
    return SendWindowMessage(target, BM_GETCHECK, 0, IntArg(0), 0);
}

int32_t SetControlText(const WindowRecord* window, int32_t controlId, const char* text) {
    if (HWND control = FindControl(window, controlId))
        SetWindowTextA(control, text);
    return 0;
}

int32_t SetControlColors(const WindowRecord* window, int32_t controlId, uint32_t textColor,
                         uint32_t backColor) {
    HWND control = FindControl(window, controlId);
    if (!control)
        return 0;
    SetPropA(control, kTextColorProperty, PropertyValue(textColor));
    SetPropA(control, kBackColorProperty, PropertyValue(backColor));
    ReplaceBrush(control, kBackBrushProperty, backColor);
    InvalidateRect(control, nullptr, TRUE);
    return 0;
}

int32_t SetHotColor(const WindowRecord* window, int32_t controlId, uint32_t hotColor) {
    HWND control = FindControl(window, controlId);
    if (!control)
        return 0;
    SetPropA(control, kHotColorProperty, PropertyValue(hotColor));
    ReplaceBrush(control, kHotBrushProperty, hotColor);
    InvalidateRect(control, nullptr, TRUE);
    return 0;
}

int32_t FocusControl(const WindowRecord* window, int32_t controlId) {
    if (!window || !window->hwnd)
        return 0;
    HWND target = controlId == 0 ? window->hwnd : GetDlgItem(window->hwnd, controlId);
    if (target)
        SetFocus(target);
    return 0;
}

int32_t MoveControl(const WindowRecord* window, int32_t controlId, int32_t x, int32_t y,
                    int32_t width, int32_t height) {
    if (!window || !window->hwnd)
        return 0;
    HWND target = controlId ? GetDlgItem(window->hwnd, controlId) : window->hwnd;
    if (!target)
        return 0;
    return MoveWindow(target, x, y, width, height, TRUE) ? 1 : 0;
}

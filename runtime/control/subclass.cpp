#include "runtime/control/subclass.h"

#include "runtime/control/control_procedures.h"
#include "runtime/control/control_properties.h"
#include "runtime/control/controls.h"
#include "runtime/control/rich_edit_callback.h"
#include "runtime/control/thread_ole.h"
#include "runtime/core/typed_arg.h"
#include "runtime/window/window_proc.h"

namespace {

constexpr int kTextColorIndex = COLOR_BTNTEXT;

struct SubclassChoice {
    WNDPROC procedure;
    int backgroundIndex;
};

SubclassChoice ChoiceFor(int32_t type) {
    switch (type) {
    case CT_BUTTON:
        return {ButtonControlProc, COLOR_BTNFACE};
    case CT_HOTBUTTON:
        return {HotButtonProc, COLOR_BTNFACE};
    case CT_LABEL:
        return {LabelControlProc, COLOR_BTNFACE};
    case CT_CHECKBOX:
    case CT_RADIO:
    case CT_GROUPBOX:
    case CT_PUSHBUTTON:
        return {GeneralControlProc, COLOR_BTNFACE};
    case CT_SCROLLBAR:
        return {GeneralControlProc, COLOR_SCROLLBAR};
    default:
        return {GeneralControlProc, COLOR_WINDOW};
    }
}

// Tab or Enter as a control notification to the parent, when asked for.
bool NotifyKey(HWND control, WPARAM key) {
    WORD code = 0;
    if (key == '\t' && GetPropA(control, kNotifyTabProperty))
        code = CN_TAB;
    else if (key == '\r' && GetPropA(control, kNotifyEnterProperty))
        code = CN_ENTER;
    else
        return false;
    const auto id = static_cast<uint32_t>(GetDlgCtrlID(control));
    const auto parent = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetParent(control)));
    const auto self = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(control));
    SendWindowMessage(TypedArg{parent, TY_DWORD}, WM_COMMAND, MAKEWPARAM(id, code), TypedArg{self, TY_DWORD}, 0);
    return true;
}

}  // namespace

int32_t SubclassControl(HWND control, int32_t type) {
    if (!control)
        return 0;
    const SubclassChoice choice = ChoiceFor(type);
    if (type == CT_RICHEDIT) {
        StartThreadOle();
        InstallRichEditCallback(control);
    }
    const COLORREF back = GetSysColor(choice.backgroundIndex);
    SetPropA(control, kTextColorProperty, PropertyValue(GetSysColor(kTextColorIndex)));
    SetPropA(control, kBackColorProperty, PropertyValue(back));
    if (type == CT_SCROLLBAR) {
        SetPropA(control, kBackBrushProperty, nullptr);
    } else {
        SetPropA(control, kBackBrushProperty, CreateSolidBrush(back));
        if (type == CT_HOTBUTTON) {
            SetPropA(control, kHotColorProperty, PropertyValue(back));
            SetPropA(control, kBorderWidthProperty, PropertyValue(1));
        }
    }
    const LONG previous =
        SetWindowLongA(control, GWL_WNDPROC, static_cast<LONG>(reinterpret_cast<uintptr_t>(choice.procedure)));
    SetPropA(control, kPrevProcProperty, PropertyValue(static_cast<uint32_t>(previous)));
    return 0;
}

bool GeneralMessages(HWND control, UINT message, WPARAM wParam, LPARAM, LRESULT* answer) {
    switch (message) {
    case kReflectedColorMessage:
    // A combo box gets these two straight from its own edit field and list.
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        ApplyControlColors(control, wParam);
        *answer = reinterpret_cast<LRESULT>(GetPropA(control, kBackBrushProperty));
        return true;
    case WM_CHAR:
        if (!NotifyKey(control, wParam))
            return false;
        *answer = 1;
        return true;
    default:
        return false;
    }
}

#include "runtime/control/controls.h"

#include <commctrl.h>

#include <array>

#include "runtime/control/subclass.h"
#include "runtime/core/system_library.h"
#include "runtime/window/mdi_refit.h"

int32_t commonControlsReady;
HMODULE richEditLibrary;

namespace {

constexpr uint32_t kChildVisible = WS_CHILD | WS_VISIBLE;
constexpr uint32_t kDefaultButtonBit = BS_DEFPUSHBUTTON;

enum : uint32_t {
    PREP_COMMON = 1,      // needs InitCommonControls
    PREP_RICHEDIT = 2,    // needs the rich edit library
};

enum : uint32_t {
    RULE_NONE = 0,
    RULE_OWNERDRAW = 1,      // BS_OWNERDRAW unless the caller asked for BS_BITMAP
    RULE_EDGE_ON_BORDER = 2, // client edge only with the caller's WS_BORDER
};

struct ControlClass {
    int32_t type;
    const char* className;
    uint32_t addedStyle;
    uint32_t exStyle;
    uint32_t rule;
    uint32_t preparation;
};

constexpr std::array<ControlClass, 15> kControlClasses{{
    {CT_BUTTON, "BUTTON", 0, 0, RULE_OWNERDRAW, 0},
    {CT_CHECKBOX, "BUTTON", BS_AUTOCHECKBOX, 0, RULE_NONE, 0},
    {CT_RADIO, "BUTTON", BS_AUTORADIOBUTTON, 0, RULE_NONE, 0},
    {CT_EDIT, "EDIT", WS_BORDER, WS_EX_CLIENTEDGE, RULE_NONE, 0},
    {CT_LISTBOX, "LISTBOX", WS_BORDER | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE, RULE_NONE, 0},
    {CT_COMBOBOX, "COMBOBOX", WS_BORDER | CBS_HASSTRINGS | CBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE, RULE_NONE, 0},
    {CT_LABEL, "STATIC", 0, 0, RULE_NONE, 0},
    {CT_SCROLLBAR, "SCROLLBAR", 0, 0, RULE_NONE, 0},
    {CT_GROUPBOX, "BUTTON", BS_GROUPBOX, 0, RULE_NONE, 0},
    {CT_RICHEDIT, "RichEdit", 0, WS_EX_CLIENTEDGE, RULE_EDGE_ON_BORDER, PREP_COMMON | PREP_RICHEDIT},
    {CT_LISTVIEW, "SysListView32", 0, 0, RULE_NONE, PREP_COMMON},
    {CT_STATUSBAR, "msctls_statusbar32", 0, 0, RULE_NONE, PREP_COMMON},
    {CT_PUSHBUTTON, "BUTTON", 0, 0, RULE_NONE, 0},
    {CT_TREEVIEW, "SysTreeView32", 0, WS_EX_CLIENTEDGE, RULE_EDGE_ON_BORDER, PREP_COMMON},
    {CT_HOTBUTTON, "BUTTON", 0, 0, RULE_OWNERDRAW, 0},
}};

// The type's row, or null for a code without a window class.
const ControlClass* FindControlClass(int32_t type) {
    for (const ControlClass& entry : kControlClasses)
        if (entry.type == type)
            return &entry;
    return nullptr;
}

void PrepareCommonControls() {
    if (commonControlsReady)
        return;
    InitCommonControls();
    commonControlsReady = 1;
}

// A failed load leaves the handle null, so the next rich edit tries again.
void PrepareRichEdit() {
    if (!richEditLibrary)
        richEditLibrary = LoadSystemLibrary("riched32.dll");
}

bool IsDefaultButton(int32_t type, uint32_t style) {
    return (type == CT_BUTTON || type == CT_PUSHBUTTON || type == CT_HOTBUTTON) &&
           (style & kDefaultButtonBit) != 0;
}

// A live window takes no second control with one identifier; a record in
// template mode is checked by AppendDialogItem instead.
bool IdentifierIsFree(const WindowRecord* window, int32_t controlId) {
    return window->hwnd && !GetDlgItem(window->hwnd, controlId);
}

bool InTemplateMode(const WindowRecord* window) {
    return window->templateMode != 0 && window->dialogTemplate != nullptr;
}

HWND CreateChild(const WindowRecord* window, uint32_t exStyle, const char* className, const char* text,
                 uint32_t style, int32_t x, int32_t y, int32_t cx, int32_t cy, int32_t controlId) {
    return CreateWindowExA(exStyle, className, text, style, x, y, cx, cy, window->hwnd,
                           reinterpret_cast<HMENU>(static_cast<uintptr_t>(static_cast<uint32_t>(controlId))),
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

int32_t CreateControl(WindowRecord* window, int32_t type, const char* text, int32_t x, int32_t y,
                      int32_t cx, int32_t cy, uint32_t style, int32_t controlId) {
    if (!window)
        return 0;
    if (InTemplateMode(window)) {
        if (!PixelsToDialogUnits(static_cast<const DialogTemplate*>(window->dialogTemplate), &x, &y, &cx, &cy))
            return 0;
    } else if (!IdentifierIsFree(window, controlId)) {
        return 0;
    }

    const int32_t isDefault = IsDefaultButton(type, style) ? 1 : 0;
    const ControlClass* entry = FindControlClass(type);
    const char* className = entry ? entry->className : "";
    uint32_t exStyle = 0;
    if (entry) {
        style |= entry->addedStyle;
        if (entry->rule == RULE_OWNERDRAW && !(style & BS_BITMAP))
            style |= BS_OWNERDRAW;
        if (entry->rule != RULE_EDGE_ON_BORDER || (style & WS_BORDER))
            exStyle = entry->exStyle;
        if (entry->preparation & PREP_COMMON)
            PrepareCommonControls();
        if (entry->preparation & PREP_RICHEDIT)
            PrepareRichEdit();
    }

    style |= kChildVisible;
    if (style & CS_HIDDEN)
        style &= ~(WS_VISIBLE | CS_HIDDEN);

    if (window->templateMode) {
        AppendDialogItem(window, exStyle, className, text, style, x, y, cx, cy, controlId, type, isDefault);
        return 0;
    }

    HWND control = CreateChild(window, exStyle, className, text, style, x, y, cx, cy, controlId);
    SubclassControl(control, type);
    if (control && type == CT_STATUSBAR && window->mdiClient)
        RefitMdiClient(window->hwnd, window->mdiClient);
    return 0;
}

HWND CreateCustomControl(WindowRecord* window, const char* className, const char* text, int32_t x, int32_t y,
                         int32_t cx, int32_t cy, uint32_t style, uint32_t exStyle, int32_t controlId) {
    if (!window)
        return nullptr;
    if (InTemplateMode(window)) {
        if (!PixelsToDialogUnits(static_cast<const DialogTemplate*>(window->dialogTemplate), &x, &y, &cx, &cy))
            return nullptr;
    } else if (!IdentifierIsFree(window, controlId)) {
        return nullptr;
    }

    PrepareCommonControls();
    style |= kChildVisible;

    if (window->templateMode) {
        AppendDialogItem(window, exStyle, className, text, style, x, y, cx, cy, controlId, CT_CUSTOM, 0);
        return nullptr;
    }
    HWND control = CreateChild(window, exStyle, className, text, style, x, y, cx, cy, controlId);
    SubclassControl(control, CT_CUSTOM);
    return control;
}

#include "runtime/dialog/dialog_proc.h"

#include "runtime/control/controls.h"
#include "runtime/control/subclass.h"
#include "runtime/window/handler_tables.h"
#include "runtime/window/open_window.h"
#include "runtime/window/window_proc.h"

WindowRecord* DialogUnderCreation;

namespace {

constexpr INT_PTR kModalCloseResult = 2;   // IDCANCEL

int32_t Route(WindowRecord* record, UINT message, WPARAM wParam, LPARAM lParam) {
    return RouteEvent(record, message, static_cast<uint32_t>(wParam), static_cast<int32_t>(lParam));
}

WindowRecord* RecordOfDialog(HWND dialog) {
    return dialog ? static_cast<WindowRecord*>(GetPropA(dialog, kDialogRecordProperty)) : nullptr;
}

bool IsModeless(const WindowRecord* record) {
    const auto* dialog = static_cast<const DialogTemplate*>(record->dialogTemplate);
    return dialog && dialog->modeless;
}

void TakeRecord(HWND dialog, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = DialogUnderCreation;
    DialogUnderCreation = nullptr;
    if (!record)
        return;
    SetPropA(dialog, kDialogRecordProperty, record);
    record->hwnd = dialog;
    InitDialogControls(record);
    Route(record, WM_INITDIALOG, wParam, lParam);
}

int32_t RouteDialogMessage(WindowRecord* record, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        RemovePropA(dialog, kDialogRecordProperty);
        return Route(record, message, wParam, lParam);
    case WM_SIZE:
    case WM_SIZING:
        Route(record, EV_SIZE, wParam, lParam);
        return Route(record, message, wParam, lParam);
    case WM_CLOSE:
        if (IsModeless(record))
            return Route(record, EV_CLOSE_WINDOW, wParam, lParam);
        EndDialog(dialog, kModalCloseResult);
        return Route(record, message, wParam, lParam);
    default:
        return Route(record, message, wParam, lParam);
    }
}

}  // namespace

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        TakeRecord(dialog, wParam, lParam);
        return 1;
    }
    if (message == WM_DRAWITEM)
        return wParam ? SendMessageA(GetDlgItem(dialog, static_cast<int>(wParam)), WM_DRAWITEM, wParam, lParam) : 0;
    if (IsControlColorMessage(message))
        return lParam ? SendMessageA(reinterpret_cast<HWND>(lParam), kReflectedColorMessage, wParam, lParam) : 0;

    WindowRecord* record = RecordOfDialog(dialog);
    if (!record)
        return 0;
    const int32_t result = RouteDialogMessage(record, dialog, message, wParam, lParam);
    if (message == WM_SETCURSOR && result == 0 && LOWORD(lParam) == HTCLIENT &&
        reinterpret_cast<HWND>(wParam) == dialog)
        SetCursor(record->cursor);
    if (message == WM_DESTROY) {
        // CloseWindow leaves dialogs alone: their tables go with the window.
        FreeWindowHandlerTables(dialog);
        record->hwnd = nullptr;
    }
    return result;
}

int32_t InitDialogControls(WindowRecord* window) {
    if (!window || !window->hwnd || !window->dialogTemplate)
        return 0;
    const auto dialogHandle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window->hwnd));
    int32_t taken = 0;
    for (const DialogItem* item = static_cast<const DialogTemplate*>(window->dialogTemplate)->items; item;
         item = item->next) {
        if (HWND control = GetDlgItem(window->hwnd, item->id)) {
            SubclassControl(control, item->type);
            ++taken;
        }
        if (item->isDefault)
            SendWindowMessage(TypedArg{dialogHandle, TY_DWORD}, DM_SETDEFID, static_cast<uint32_t>(item->id), NoArg,
                              0);
    }
    return taken;
}

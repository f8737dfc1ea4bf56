#include <windows.h>

#include "fleet/fleet.h"
#include "fleet/host_list.h"

namespace {

enum : int32_t { ID_NAME_FIELD = 11, ID_INTERVAL_FIELD = 12, ID_ALERT_BOX = 13 };

constexpr uint32_t kErrorFlags = 0x30;   // exclamation icon, OK, as the monitor's errors

WindowRecord dialog;
HostFields* editing;   // the fields the open dialog fills on OK

// OK: the fields are checked as the monitor checks its own; a bad one keeps
// the dialog open with the fields as the user left them.
int32_t OnOk() {
    char* name = GetControlText(&dialog, ID_NAME_FIELD);
    char* interval = GetControlText(&dialog, ID_INTERVAL_FIELD);
    int32_t seconds = 0;
    const char* fault = CheckHostFields(name, interval, &seconds);
    if (fault) {
        ShowMessage(&dialog, fault, "Error", kErrorFlags);
    } else {
        lstrcpynA(editing->name, name, kHostNameSize);
        editing->intervalSeconds = seconds;
        editing->alert = GetCheckState(&dialog, ID_ALERT_BOX) == 1 ? 1 : 0;
        EndModalDialog(&dialog, 1);
    }
    FreeString(name);
    FreeString(interval);
    return 1;
}

int32_t OnCancel() {
    EndModalDialog(&dialog, 0);
    return 1;
}

int32_t DialogHandler() {
    if (messageRecord.eventCode == WM_INITDIALOG) {
        if (editing->alert)
            SendMessageA(GetDlgItem(dialog.hwnd, ID_ALERT_BOX), BM_SETCHECK, BST_CHECKED, 0);
        SendMessageA(GetDlgItem(dialog.hwnd, ID_NAME_FIELD), EM_LIMITTEXT, kHostNameSize - 1, 0);
    }
    if (messageRecord.eventCode == EV_CLOSE_WINDOW)
        return OnCancel();
    if (messageRecord.eventCode == EV_CONTROL && messageRecord.notifyCode == BN_CLICKED) {
        if (messageRecord.controlId == IDOK)
            return OnOk();
        if (messageRecord.controlId == IDCANCEL)
            return OnCancel();
    }
    return 0;
}

}  // namespace

int32_t RunHostDialog(const char* caption, HostFields* fields) {
    HostFields working = *fields;
    editing = &working;
    if (!CreateDialogTemplate(&dialog, 0, 0, 330, 170, WS_CAPTION | WS_SYSMENU, &frame, caption, DialogHandler))
        return 0;
    char interval[16];
    wsprintfA(interval, "%d", fields->intervalSeconds);
    CreateControl(&dialog, CT_LABEL, "IP Address Or PC Name", 12, 14, 150, 20, 0, 0);
    CreateControl(&dialog, CT_EDIT, fields->name, 166, 12, 150, 22, ES_AUTOHSCROLL | WS_TABSTOP, ID_NAME_FIELD);
    CreateControl(&dialog, CT_LABEL, "Interval (seconds)", 12, 46, 150, 20, 0, 0);
    CreateControl(&dialog, CT_EDIT, interval, 166, 44, 60, 22, ES_AUTOHSCROLL | WS_TABSTOP, ID_INTERVAL_FIELD);
    CreateControl(&dialog, CT_CHECKBOX, "Failure message", 12, 78, 200, 20, WS_TABSTOP, ID_ALERT_BOX);
    CreateControl(&dialog, CT_PUSHBUTTON, "OK", 150, 108, 78, 26, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK);
    CreateControl(&dialog, CT_PUSHBUTTON, "Cancel", 236, 108, 78, 26, WS_TABSTOP, IDCANCEL);
    const int32_t result = RunModalDialog(&dialog, &frame);
    editing = nullptr;
    if (result != 1)
        return 0;
    *fields = working;
    return 1;
}

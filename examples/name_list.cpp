// A list of names: a toolbar and a menu with the same two commands, a list
// view, a status bar, and a dialog described in memory that asks for a name.
// Started with "demo" it adds a row, names it through the dialog and closes.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "runtime/runtime.h"

namespace {

enum : int32_t {
    ID_TOOLBAR = 1, ID_LIST = 2, ID_STATUS = 3,
    ID_ADD = 201, ID_NAME = 202, ID_EXIT = 203,
    ID_NAME_FIELD = 301,
};

WindowRecord window;
WindowRecord dialog;
bool demo;
char name[64] = "nobody";

int32_t OnDialog() {
    WindowRecord* self = messageRecord.window;
    if (messageRecord.eventCode == WM_INITDIALOG && demo) {
        SetControlText(self, ID_NAME_FIELD, "Ada");
        PostMessageA(self->hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(self->hwnd, IDOK)));
    }
    if (messageRecord.eventCode == EV_CONTROL && messageRecord.controlId == IDOK) {
        char* text = GetControlText(self, ID_NAME_FIELD);
        lstrcpynA(name, text, sizeof(name));
        FreeString(text);
        EndModalDialog(self, 1);
    }
    return 0;
}

int32_t OnAdd() {
    const int32_t row = SendControlCommand(&window, ID_LIST, CC_LV_GET_ITEM_COUNT);
    SendControlCommand(&window, ID_LIST, CC_LV_INSERT_ITEM, IntArg(row), StrArg("new row"));
    SendControlCommand(&window, ID_STATUS, CC_SB_SET_TEXT, IntArg(0), StrArg("row added"));
    PrintValues(3, TY_STRING, "rows: ", TY_INTEGER, row + 1, TY_STRING, "\r\n");
    return 1;
}

// Names the last row through a modal dialog built from control calls.
int32_t OnName() {
    if (CreateDialogTemplate(&dialog, 0, 0, 240, 110, WS_CAPTION | WS_SYSMENU, &window, "Name", OnDialog) == 0)
        return 1;
    CreateControl(&dialog, CT_LABEL, "Name:", 10, 14, 50, 20, 0, 0);
    CreateControl(&dialog, CT_EDIT, name, 64, 10, 160, 24, ES_AUTOHSCROLL, ID_NAME_FIELD);
    CreateControl(&dialog, CT_PUSHBUTTON, "OK", 144, 48, 80, 26, BS_DEFPUSHBUTTON, IDOK);
    if (RunModalDialog(&dialog, &window) == 1) {
        const int32_t last = SendControlCommand(&window, ID_LIST, CC_LV_GET_ITEM_COUNT) - 1;
        SendControlCommand(&window, ID_LIST, CC_LV_SET_ITEM_TEXT, IntArg(last), IntArg(0), StrArg(name));
        char* status = ConcatStrings("Name: ", name);
        SendControlCommand(&window, ID_STATUS, CC_SB_SET_TEXT, IntArg(0), StrArg(status));
        PrintValues(2, TY_STRING, status, TY_STRING, "\r\n");
        FreeString(status);
    }
    if (demo)   // after the dialog: its loop would run a message posted before
        PostMessageA(window.hwnd, WM_COMMAND, ID_EXIT, 0);
    return 1;
}

int32_t OnExit() {
    CloseWindow(&window);
    EndProgram();
}

void BuildBars() {
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, ID_ADD, "&Add row");
    AppendMenuA(edit, MF_STRING, ID_NAME, "&Name row...");
    AppendMenuA(edit, MF_STRING, ID_EXIT, "E&xit");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    SetMenu(window.hwnd, bar);

    CreateCustomControl(&window, TOOLBARCLASSNAMEA, "", 0, 0, 0, 0, TBSTYLE_FLAT | TBSTYLE_LIST, 0, ID_TOOLBAR);
    SendControlCommand(&window, ID_TOOLBAR, CC_TB_ADD_STRINGS, StrArg("Add|Name|"));
    SendControlCommand(&window, ID_TOOLBAR, CC_TB_ADD_BUTTON, IntArg(ID_ADD), IntArg(I_IMAGENONE), NoArg, IntArg(0));
    SendControlCommand(&window, ID_TOOLBAR, CC_TB_ADD_BUTTON, IntArg(ID_NAME), IntArg(I_IMAGENONE), NoArg, IntArg(1));
    // Toolbar clicks are control events; the menu items are menu events.
    (void)SetMenuHandler(&window, ID_ADD, OnAdd);
    (void)SetControlHandler(&window, ID_ADD, 0, OnAdd);
    (void)SetMenuHandler(&window, ID_NAME, OnName);
    (void)SetControlHandler(&window, ID_NAME, 0, OnName);
    (void)SetMenuHandler(&window, ID_EXIT, OnExit);
    (void)SetEventHandler(&window, EV_CLOSE_WINDOW, OnExit);
}

[[noreturn]] void Main() {
    if (OpenWindow(&window, 100, 100, 420, 300, WS_OVERLAPPEDWINDOW, nullptr, "Names", nullptr) == 0)
        EndProgram();
    BuildBars();
    CreateControl(&window, CT_LISTVIEW, "", 0, 40, 420, 200, LVS_REPORT, ID_LIST);
    SendControlCommand(&window, ID_LIST, CC_LV_INSERT_COLUMN, IntArg(0), StrArg("Name"));
    SendControlCommand(&window, ID_LIST, CC_LV_SET_COLUMN_WIDTH, IntArg(0), IntArg(200));
    CreateControl(&window, CT_STATUSBAR, "ready", 0, 0, 0, 0, 0, ID_STATUS);
    if (demo) {
        HWND toolbar = GetDlgItem(window.hwnd, ID_TOOLBAR);
        PostMessageA(window.hwnd, WM_COMMAND, ID_ADD, reinterpret_cast<LPARAM>(toolbar));
        PostMessageA(window.hwnd, WM_COMMAND, ID_NAME, 0);
    }
    for (;;)
        WaitEvents(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    demo = std::strcmp(commandLine, "demo") == 0;
    RunProgram(Main);
}

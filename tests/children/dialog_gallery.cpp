// A dialog with a control of every type, filled in and coloured, for the
// screenshot in docs/. Modal until it is closed; ends by itself after a
// minute, so that nothing is left running.
#include <windows.h>

#include <commctrl.h>

#include <initializer_list>

#include "runtime/control/controls.h"
#include "runtime/program/program.h"
#include "runtime/dialog/create_dialog.h"
#include "runtime/dialog/open_dialog.h"
#include "tests/dialog/oracle_dialogs.h"

namespace {

constexpr UINT_PTR kGiveUpTimer = 1;
constexpr UINT kGiveUpMs = 60000;
WindowRecord gallery;

void Send(int32_t id, UINT message, WPARAM wParam, const void* lParam) {
    SendMessageA(GetDlgItem(gallery.hwnd, id), message, wParam, reinterpret_cast<LPARAM>(lParam));
}

void FillIn() {
    for (const char* item : {"alpha", "beta", "gamma"}) {
        Send(105, LB_ADDSTRING, 0, item);
        Send(106, CB_ADDSTRING, 0, item);
    }
    Send(106, CB_SETCURSEL, 1, nullptr);
    Send(102, BM_SETCHECK, BST_CHECKED, nullptr);
    Send(103, BM_SETCHECK, BST_CHECKED, nullptr);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 110;
    column.pszText = const_cast<char*>("Host");
    Send(111, LVM_INSERTCOLUMNA, 0, &column);
    for (const char* host : {"127.0.0.1", "example.org"}) {
        LVITEMA row{};
        row.mask = LVIF_TEXT;
        row.iItem = 99;
        row.pszText = const_cast<char*>(host);
        Send(111, LVM_INSERTITEMA, 0, &row);
    }
    TVINSERTSTRUCTA node{};
    node.hInsertAfter = TVI_LAST;
    node.item.mask = TVIF_TEXT;
    node.item.pszText = const_cast<char*>("Network");
    const auto parent = reinterpret_cast<HTREEITEM>(
        SendMessageA(GetDlgItem(gallery.hwnd, 114), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&node)));
    node.hParent = parent;
    node.item.pszText = const_cast<char*>("loopback");
    Send(114, TVM_INSERTITEMA, 0, &node);
    Send(114, TVM_EXPAND, TVE_EXPAND, parent);
    Send(110, WM_SETTEXT, 0, "Rich edit text");
    Send(112, SB_SETTEXTA, 0, "Ready");
    SetControlColors(&gallery, 104, RGB(0, 0, 160), RGB(255, 255, 224));
    SetControlColors(&gallery, 101, RGB(255, 255, 255), RGB(0, 120, 60));
    SetControlColors(&gallery, 107, RGB(160, 0, 0), GetSysColor(COLOR_BTNFACE));
    SetControlColors(&gallery, 120, RGB(255, 255, 255), RGB(40, 60, 140));
    SetHotColor(&gallery, 120, RGB(90, 120, 220));
}

int32_t GalleryHandler() {
    HWND hwnd = messageRecord.window->hwnd;
    switch (messageRecord.eventCode) {
    case WM_INITDIALOG:
        FillIn();
        SetTimer(hwnd, kGiveUpTimer, kGiveUpMs, nullptr);
        return 0;
    case WM_TIMER:
        EndDialog(hwnd, 0);
        return 1;
    default:
        return 0;
    }
}

#define GALLERY_CONTROL(type, id, text, x, y, cx, cy, asked, cls, style, ex) \
    CreateControl(&gallery, type, text, 2 * (x), 2 * (y), 2 * (cx), 2 * (cy), asked, id);

void Run() {
    CreateDialogTemplate(&gallery, 60, 60, 400, 310, WS_CAPTION | WS_SYSMENU, nullptr, "Every control type",
                         GalleryHandler);
    ORACLE_EVERY_TYPE_ITEMS(GALLERY_CONTROL)
    RunModalDialog(&gallery, nullptr);
    EndProgram();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { RunProgram(Run); }

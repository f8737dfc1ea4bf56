// Run from a folder that also holds planted libraries named riched32.dll,
// crtdll.dll and comdlg32.dll (tests/fakes/planted_library.cpp). Makes a rich
// edit, prints a value and opens the print dialog (cancelled at once), which
// load the runtime's three libraries, then writes to the file named by its
// argument whether the rich edit was made and which planted libraries loaded.
#include <windows.h>

#include <cstring>

#include "runtime/control/controls.h"
#include "runtime/control/rich_edit_print.h"
#include "runtime/window/print_values.h"
#include "runtime/program/program.h"
#include "runtime/core/strings.h"
#include "runtime/window/open_window.h"

namespace {

WindowRecord window;

BOOL CALLBACK CancelDialog(HWND hwnd, LPARAM) {
    char name[16] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    if (std::strcmp(name, "#32770") == 0)
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CALLBACK CancelDialogs(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0); }

void Body() {
    const char* log = std::strchr(GetCommandLineA() + 1, '"');
    log = log ? log + 1 : "";
    while (*log == ' ')
        ++log;
    (void)OpenWindow(&window, 0, 0, 200, 150, RF_HIDDEN, nullptr, "libraries", nullptr);
    CreateControl(&window, CT_RICHEDIT, "", 0, 0, 100, 50, ES_MULTILINE, 10);
    HWND control = GetDlgItem(window.hwnd, 10);
    PrintValues(1, TY_INTEGER, 7);
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, CancelDialogs);
    PrintRichEdit(control, kDefaultPrintMargin);
    KillTimer(nullptr, timer);

    char loads[1024] = {};
    GetEnvironmentVariableA("PLANTED_LOADS", loads, sizeof(loads));
    HANDLE file = CreateFileA(log, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const char* made = control ? "rich edit|" : "no rich edit|";
    WriteFile(file, made, static_cast<DWORD>(std::strlen(made)), &written, nullptr);
    WriteFile(file, loads, static_cast<DWORD>(std::strlen(loads)), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { RunProgram(Body); }

// A window with a menu whose commands are routines in the window's handler
// tables. Started with "demo" it chooses its own menu items and closes.
#include <windows.h>

#include <cstring>

#include "runtime/runtime.h"

namespace {

enum : int32_t { ID_HELLO = 101, ID_COUNT = 102, ID_EXIT = 103 };

WindowRecord window;
int32_t count;

int32_t OnHello() {
    PrintValues(1, TY_STRING, "Hello from the menu\r\n");
    return 1;
}

int32_t OnCount() {
    ++count;
    char* caption = ConcatStrings("Counted ", count == 1 ? "once" : "again");
    SetCaption(&window, caption);
    FreeString(caption);
    PrintValues(3, TY_STRING, "count: ", TY_INTEGER, count, TY_STRING, "\r\n");
    return 1;
}

// Exit, and the close box: both end the program.
int32_t OnExit() {
    PrintValues(1, TY_STRING, "bye\r\n");
    CloseWindow(&window);
    EndProgram();
}

HMENU BuildMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, ID_HELLO, "&Hello");
    AppendMenuA(file, MF_STRING, ID_COUNT, "&Count");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, ID_EXIT, "E&xit");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    return bar;
}

bool demo;

[[noreturn]] void Main() {
    if (OpenWindow(&window, 100, 100, 320, 200, WS_OVERLAPPEDWINDOW, nullptr, "Menu", nullptr) == 0)
        EndProgram();
    SetMenu(window.hwnd, BuildMenu());   // the window destroys its menu with itself
    (void)SetMenuHandler(&window, ID_HELLO, OnHello);
    (void)SetMenuHandler(&window, ID_COUNT, OnCount);
    (void)SetMenuHandler(&window, ID_EXIT, OnExit);
    (void)SetEventHandler(&window, EV_CLOSE_WINDOW, OnExit);
    if (demo) {
        for (const int32_t item : {ID_HELLO, ID_COUNT, ID_COUNT, ID_EXIT})
            PostMessageA(window.hwnd, WM_COMMAND, static_cast<WPARAM>(item), 0);
    }
    for (;;)
        WaitEvents(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    demo = std::strcmp(commandLine, "demo") == 0;
    RunProgram(Main);
}

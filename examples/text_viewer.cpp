// A text viewer: reads a file through a channel into a rich edit control,
// saves it as RTF and prints it. Started as "text_viewer demo" it opens
// sample.txt, saves sample.rtf and closes, without printing.
#include <windows.h>

#include <cstring>

#include "runtime/runtime.h"

namespace {

enum : int32_t { ID_TEXT = 1, ID_SAVE = 101, ID_PRINT = 102, ID_EXIT = 103 };

WindowRecord window;

// The file's text, read through a text channel; the characters read, or -1.
int32_t Load(const char* fileName) {
    HANDLE file = nullptr;
    if (OpenFileChannel(&file, TY_TEXTFILE, fileName, "R") != 0)
        return -1;
    const int32_t read = SendControlCommand(&window, ID_TEXT, CC_ED_STREAM_IN, ChannelArg(&file), IntArg(0));
    CloseFileChannel(&file, TY_TEXTFILE);
    return read;
}

// The control's contents as RTF (1 as the second argument: RTF, not text).
int32_t SaveRtf(const char* fileName) {
    HANDLE file = nullptr;
    if (OpenFileChannel(&file, TY_TEXTFILE, fileName, "W") != 0)
        return -1;
    const int32_t written = SendControlCommand(&window, ID_TEXT, CC_ED_STREAM_OUT, ChannelArg(&file), IntArg(1));
    CloseFileChannel(&file, TY_TEXTFILE);
    return written;
}

int32_t OnSave() {
    PrintValues(3, TY_STRING, "saved ", TY_INTEGER, SaveRtf("sample.rtf"), TY_STRING, "bytes of RTF\r\n");
    return 1;
}

int32_t OnPrint() {
    SendControlCommand(&window, ID_TEXT, CC_ED_PRINT);   // asks for a printer first
    return 1;
}

int32_t OnExit() {
    CloseWindow(&window);
    EndProgram();
}

// The text control fills the client area whatever its size.
int32_t OnSize() {
    int32_t x = 0, y = 0, width = 0, height = 0;
    if (GetClientSize(&window, &x, &y, &width, &height))
        MoveControl(&window, ID_TEXT, 0, 0, width, height);
    return 0;
}

HMENU BuildMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, ID_SAVE, "&Save as RTF");
    AppendMenuA(file, MF_STRING, ID_PRINT, "&Print...");
    AppendMenuA(file, MF_STRING, ID_EXIT, "E&xit");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    return bar;
}

bool demo;

[[noreturn]] void Main() {
    if (OpenWindow(&window, 100, 100, 480, 320, WS_OVERLAPPEDWINDOW, nullptr, "Viewer", nullptr) == 0)
        EndProgram();
    SetMenu(window.hwnd, BuildMenu());
    CreateControl(&window, CT_RICHEDIT, "", 0, 0, 480, 320, ES_MULTILINE | ES_READONLY | WS_VSCROLL, ID_TEXT);
    (void)SetMenuHandler(&window, ID_SAVE, OnSave);
    (void)SetMenuHandler(&window, ID_PRINT, OnPrint);
    (void)SetMenuHandler(&window, ID_EXIT, OnExit);
    (void)SetEventHandler(&window, EV_CLOSE_WINDOW, OnExit);
    (void)SetEventHandler(&window, EV_SIZE, OnSize);
    OnSize();

    const int32_t read = Load("sample.txt");
    PrintValues(3, TY_STRING, "read ", TY_INTEGER, read, TY_STRING, "characters\r\n");
    PrintValues(3, TY_STRING, "lines: ", TY_INTEGER,
                SendControlCommand(&window, ID_TEXT, CC_ED_GET_LINE_COUNT), TY_STRING, "\r\n");
    if (demo) {
        PostMessageA(window.hwnd, WM_COMMAND, ID_SAVE, 0);
        PostMessageA(window.hwnd, WM_COMMAND, ID_EXIT, 0);
    }
    for (;;)
        WaitEvents(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    demo = std::strcmp(commandLine, "demo") == 0;
    RunProgram(Main);
}

// The start-up baseline: a plain Win32 program that opens the monitor's
// window, 400 by 400, with the same nine controls as plain system controls
// (no subclassing, no owner drawing, no runtime), centres it and shows it.
// Closing it ends the process.

#include <windows.h>

namespace {

struct Child {
    const char* className;
    const char* text;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height, id;
};

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
const Child kChildren[] = {
    {"STATIC", "Ip Address", kVisible, 0, 10, 10, 100, 25, 101},
    {"EDIT", "", kVisible | WS_BORDER | WS_TABSTOP, WS_EX_CLIENTEDGE, 110, 10, 200, 25, 103},
    {"STATIC", "Interval", kVisible, 0, 10, 45, 100, 25, 102},
    {"EDIT", "30", kVisible | WS_BORDER | WS_TABSTOP, WS_EX_CLIENTEDGE, 110, 45, 40, 25, 104},
    {"BUTTON", "Failure message", kVisible | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 10, 80, 150, 25, 109},
    {"BUTTON", "Start", kVisible | WS_TABSTOP, 0, 100, 120, 60, 25, 105},
    {"BUTTON", "Stop", kVisible | WS_TABSTOP, 0, 170, 120, 60, 25, 106},
    {"BUTTON", "Exit", kVisible | WS_TABSTOP, 0, 240, 120, 60, 25, 107},
    {"RichEdit", "", kVisible | WS_BORDER | WS_VSCROLL | ES_READONLY | ES_MULTILINE, WS_EX_CLIENTEDGE, 10, 160,
     372, 200, 108},
};

LRESULT CALLBACK BareProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        DestroyWindow(hwnd);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    LoadLibraryA("riched32.dll");
    WNDCLASSA wc{};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "BareBenchWindow";
    RegisterClassA(&wc);

    HWND window = CreateWindowExA(0, wc.lpszClassName, "Reachlet",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 0, 0,
                                  400, 400, nullptr, nullptr, instance, nullptr);
    for (const Child& c : kChildren)
        CreateWindowExA(c.exStyle, c.className, c.text, c.style, c.x, c.y, c.width, c.height, window,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(c.id)), instance, nullptr);
    SetFocus(GetDlgItem(window, 103));

    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(window, nullptr, work.left + (work.right - work.left - 400) / 2,
                 work.top + (work.bottom - work.top - 400) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOW);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(window, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

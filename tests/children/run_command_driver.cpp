// Drives a Reachlet that someone else started, as a user would, for the
// end-to-end runs of the run command (tests/app/run_command_e2e.sh): waits
// for the main window, types the target, sets the 10-second minimum
// interval, presses Start, waits for the timer's result lines, prints what
// it saw and presses Exit. Usage:
//   run_command_driver <target> <result lines>
// Prints "sensapi=<path of the module the program loaded>",
// "caption=<caption after Start>", the log after "log:", and last
// "exit=<exit code>". Returns 0 when the lines came and the program ended.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/layout.h"

namespace {

// Covers Reachlet's own start-up; the script starts this program only once
// the run command has built and prepared the prefix.
constexpr DWORD kWindowTimeoutMs = 60000;
// Room for the wanted ticks of the 10-second timer, each two probes long.
constexpr DWORD kTickBudgetMs = 15000;
constexpr DWORD kPollMs = 250;
constexpr DWORD kExitTimeoutMs = 15000;
inline constexpr char kMinimumInterval[] = "10";

void Print(const std::string& text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written,
              nullptr);
}

std::string Text(HWND hwnd) {
    static char text[65536];
    text[0] = 0;
    SendMessageA(hwnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// Lines of the log that a tick of the timer wrote.
int ResultLines(const std::string& log) {
    int count = 0;
    size_t begin = 0;
    while (begin < log.size()) {
        size_t end = log.find_first_of("\r\n", begin);
        if (end == std::string::npos)
            end = log.size();
        const std::string line = log.substr(begin, end - begin);
        if (StartsWith(line, "Contact successful at ") || StartsWith(line, "No response at "))
            ++count;
        begin = end + 1;
    }
    return count;
}

struct Search {
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND hwnd, LPARAM param) {
    char className[64] = {};
    GetClassNameA(hwnd, className, sizeof(className));
    if (std::strcmp(className, "CorvaneWndClass") != 0 || !IsWindowVisible(hwnd) ||
        !StartsWith(Text(hwnd), kMainWindowCaption) || !GetDlgItem(hwnd, ID_LOG))
        return TRUE;
    reinterpret_cast<Search*>(param)->found = hwnd;
    return FALSE;
}

HWND WaitForMainWindow() {
    const DWORD start = GetTickCount();
    for (;;) {
        Search search{nullptr};
        EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount() - start > kWindowTimeoutMs)
            return search.found;
        Sleep(kPollMs);
    }
}

std::string SensapiPath(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return "";
    std::string path;
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szModule, "sensapi.dll") == 0)
            path = entry.szExePath;
    CloseHandle(snapshot);
    return path;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc != 3) {
        Print("usage: run_command_driver <target> <result lines>\n");
        return 2;
    }
    const char* target = __argv[1];
    const int wanted = std::atoi(__argv[2]);

    HWND main = WaitForMainWindow();
    if (!main) {
        Print("no Reachlet window\n");
        return 1;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (!process) {
        Print("cannot open the Reachlet process\n");
        return 1;
    }
    Print("sensapi=" + SensapiPath(processId) + "\n");

    SendMessageA(GetDlgItem(main, ID_TARGET), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target));
    SendMessageA(GetDlgItem(main, ID_INTERVAL), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kMinimumInterval));
    SendMessageA(GetDlgItem(main, ID_START), BM_CLICK, 0, 0);
    Print("caption=" + Text(main) + "\n");

    // Waiting on the process wakes at once if it ends instead of logging.
    HWND log = GetDlgItem(main, ID_LOG);
    const DWORD budget = kTickBudgetMs * static_cast<DWORD>(wanted > 0 ? wanted : 1);
    const DWORD start = GetTickCount();
    std::string text = Text(log);
    while (ResultLines(text) < wanted && GetTickCount() - start < budget &&
           WaitForSingleObject(process, kPollMs) == WAIT_TIMEOUT)
        text = Text(log);
    Print("log:\n" + text + "\n");
    const bool logged = ResultLines(text) >= wanted;

    PostMessageA(GetDlgItem(main, ID_EXIT), BM_CLICK, 0, 0);
    DWORD programExit = STILL_ACTIVE;
    if (WaitForSingleObject(process, kExitTimeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &programExit);
    CloseHandle(process);
    Print("exit=" + std::to_string(programExit) + "\n");
    return logged && programExit == 0 ? 0 : 1;
}

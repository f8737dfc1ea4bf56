#include "tests/support/program_process.h"

#include <vector>

ProgramProcess::~ProgramProcess() {
    if (!info_.hProcess)
        return;
    if (Running()) {
        TerminateProcess(info_.hProcess, 255);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool ProgramProcess::Start(const std::string& program, const std::string& arguments) {
    std::string command = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    return CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &info_) != 0;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    if (owner == search->processId && lstrcmpA(name, search->className) == 0 && IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND ProgramProcess::FindMainWindow(const char* className, DWORD timeoutMs) {
    // Not WaitForInputIdle alone: on a loaded machine it timed out while the
    // program was still laying out its hidden window, and the test found the
    // window without its controls. The window is shown last.
    const DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search{info_.dwProcessId, className, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        // Wakes early if the process ends instead of making its window.
        if (WaitForSingleObject(info_.hProcess, 20) == WAIT_OBJECT_0)
            return nullptr;
    }
}

bool ProgramProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    GetExitCodeProcess(info_.hProcess, exitCode);
    return true;
}

bool ProgramProcess::Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

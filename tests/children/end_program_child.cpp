// Started by the END sequence tests. Argument 1 names the scenario, argument 2
// a log file that the exit routines and any code that must not run append to.
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "runtime/program/program.h"
#include "runtime/core/strings.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"

namespace {

char logPath[MAX_PATH];
char scenario[64];
WindowRecord window;

void Append(const char* text) {
    HANDLE file = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
    CloseHandle(file);
}

void LogExitRoutine(int32_t value) {
    const char text[2] = {static_cast<char>(value), 0};
    Append(text);
}

int32_t CloseHandler() {
    if (messageRecord.eventCode == EV_CLOSE_WINDOW) {
        CloseWindow(&window);
        EndProgram();
        Append("[after EndProgram]");
    }
    return 0;
}

void CALLBACK EndFromTimer(HWND, UINT, UINT_PTR, DWORD) {
    Append("[timer]");
    EndProgram();
}

void ParseArguments() {
    // Command line: "program" scenario log
    const char* line = GetCommandLineA();
    const char* p = line;
    if (*p == '"') {
        p = std::strchr(p + 1, '"');
        p = p ? p + 1 : line + std::strlen(line);
    } else {
        while (*p && *p != ' ')
            ++p;
    }
    while (*p == ' ')
        ++p;
    int n = 0;
    while (*p && *p != ' ' && n < 63)
        scenario[n++] = *p++;
    while (*p == ' ')
        ++p;
    lstrcpynA(logPath, p, MAX_PATH);
}

// The x87 control word as four hex digits.
void AppendControlWord() {
    uint16_t word = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(word));
    char text[8];
    wsprintfA(text, "%04X", word);
    Append(text);
}

void Body() {
    ParseArguments();
    if (std::strcmp(scenario, "control-word") == 0) {
        // As the entry left it, before anything else runs.
        AppendControlWord();
        return;
    }
    AddExitRoutine(LogExitRoutine, 'a');
    AddExitRoutine(LogExitRoutine, 'b');
    AddExitRoutine(LogExitRoutine, 'c');
    (void)OpenWindow(&window, 0, 0, 200, 150, RF_HIDDEN, nullptr, "end child", CloseHandler);

    if (std::strcmp(scenario, "close") == 0) {
        PostMessageA(window.hwnd, WM_CLOSE, 0, 0);
    } else if (std::strcmp(scenario, "message-box") == 0) {
        // The timer fires inside the box's own modal loop.
        SetTimer(nullptr, 0, 50, EndFromTimer);
        MessageBoxA(nullptr, "waiting", "child", MB_OK);
        Append("[box returned]");
    } else if (std::strcmp(scenario, "return") == 0) {
        return;
    }
    for (;;)
        WaitEvents(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { RunProgram(Body); }

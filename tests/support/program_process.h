#pragma once
// Runs the real Reachlet.exe as a child process and finds its main window.

#include <windows.h>

#include <string>

class ProgramProcess {
public:
    ProgramProcess() = default;
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool Start(const std::string& program);
    // The process's top-level window of the given class, waiting up to
    // timeoutMs for it to exist; null if the process ended or time ran out.
    HWND FindMainWindow(const char* className, DWORD timeoutMs = 15000);
    // Waits for the process to end; false on time-out.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    bool Running() const;
    DWORD Id() const { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_{};
};

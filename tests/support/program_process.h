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

    // arguments follow the quoted program name on the command line.
    bool Start(const std::string& program, const std::string& arguments = "");
    // The process's visible top-level window of the given class, waiting up
    // to timeoutMs for it to be shown; null if the process ended or time ran
    // out. The bound is generous: under emulation on a busy machine a start
    // has taken more than 15 seconds.
    HWND FindMainWindow(const char* className, DWORD timeoutMs = 60000);
    // Waits for the process to end; false on time-out.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    bool Running() const;
    DWORD Id() const { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_{};
};

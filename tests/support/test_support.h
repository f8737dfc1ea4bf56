#pragma once
// Helpers for tests that drive real windows under the real platform.

#include <windows.h>

#include <cstdint>
#include <string>

// Dispatches what is queued, at most maxMessages messages; never waits.
int32_t PumpMessages(int32_t maxMessages = 1000);

// Path of a file in the build tree, from the folder above the test program.
std::string BuildPath(const std::string& relative);

// A fresh, empty folder for one test's files, under the build tree.
std::string ScratchFolder(const std::string& name);

std::string ReadWholeFile(const std::string& path);

// GDI handle slots this process has free: regions are made until the table
// is full and then deleted again. Wine has no GetGuiResources (it answers 0
// with ERROR_CALL_NOT_IMPLEMENTED), so the objects held are counted from the
// other side.
int32_t FreeGdiSlots();

// Windows of this thread, top-level and child alike: the USER objects that
// windows and their controls are made of. (Wine's USER handles sit in one
// table for every process of the wineserver, so that one is not filled up.)
int32_t ThreadWindowCount();

struct ChildResult {
    bool started = false;
    bool finished = false;   // false: killed after the time-out
    DWORD exitCode = 0;
};

// Starts a program and waits up to timeoutMs (times the suite's time scale)
// for it to end; a child still running then is terminated. Console output of the child is not captured.
ChildResult RunChild(const std::string& program, const std::string& arguments,
                     DWORD timeoutMs = 20000);

// Captures the debugger output strings sent by this process while alive.
class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;
    // Everything captured so far, strings separated by '\n'.
    std::string Text() const;

private:
    void* previous_;
};

// For a long test that says how far it has come: Due() is true once a minute,
// and Seconds() counts from the clock's making.
class ProgressClock {
public:
    bool Due() {
        const DWORD now = GetTickCount();
        if (now - last_ < 60000)
            return false;
        last_ = now;
        return true;
    }
    DWORD Seconds() const { return (GetTickCount() - start_) / 1000; }

private:
    DWORD start_ = GetTickCount();
    DWORD last_ = start_;
};


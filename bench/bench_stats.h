#pragma once
// Timing and reporting shared by the benchmark programs. Each program prints
// its figures and the table rows that show them; scripts/bench.sh gathers
// them into one table, rows in the order they were printed:
//   figure <key> <unit> <median> <min> <max> <runs>
//   row <label>|<our figure's key>|<the baseline's key, or ->|<goal>
//   note <text under the table>
// A goal is "<=x" or ">=x" on the ratio ours / baseline (on our figure
// itself when there is no baseline), or "report" for none.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace bench {

inline double Seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

// Median, min and max of the runs of one figure.
inline void Report(const char* key, const char* unit, std::vector<double> runs) {
    if (runs.empty())
        return;
    std::sort(runs.begin(), runs.end());
    const size_t n = runs.size();
    const double median = n % 2 ? runs[n / 2] : (runs[n / 2 - 1] + runs[n / 2]) / 2;
    std::printf("figure %s %s %.6g %.6g %.6g %u\n", key, unit, median, runs.front(), runs.back(),
                static_cast<unsigned>(n));
    std::fflush(stdout);
}

// One row of the table; it is left out when our figure is missing.
inline void Row(const char* label, const char* oursKey, const char* baselineKey, const char* goal) {
    std::printf("row %s|%s|%s|%s\n", label, oursKey, baselineKey, goal);
    std::fflush(stdout);
}

// A note that the table prints under its rows: what a figure stands for.
inline void Note(const char* text) {
    std::printf("note %s\n", text);
    std::fflush(stdout);
}

inline bool HasArg(int argc, char** argv, const char* arg) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], arg) == 0)
            return true;
    return false;
}

// Runs op count times and gives the seconds per call.
template <typename Op>
double PerCall(int count, Op op) {
    const double start = Seconds();
    for (int i = 0; i < count; ++i)
        op();
    return (Seconds() - start) / count;
}

// Times ours and the baseline in turns, rounds times each, every round
// long enough to take about `seconds`, and reports both per call in unit
// ("us" or "ms").
template <typename Ours, typename Base>
void Compare(const char* oursKey, const char* baseKey, const char* unit, int rounds, double seconds, Ours ours,
             Base base) {
    const double scale = std::strcmp(unit, "ms") == 0 ? 1e3 : 1e6;
    int count = 1;
    while (PerCall(count, ours) * count < seconds && count < (1 << 26))
        count *= 2;
    std::vector<double> oursRuns, baseRuns;
    for (int r = 0; r < rounds; ++r) {
        oursRuns.push_back(PerCall(count, ours) * scale);
        baseRuns.push_back(PerCall(count, base) * scale);
    }
    Report(oursKey, unit, oursRuns);
    Report(baseKey, unit, baseRuns);
}

// What the process's heaps hold in use. Wine 8.0 leaves the private-bytes counter of
// GetProcessMemoryInfo at 0, so the heaps are walked instead.
inline double HeapInUseKiB() {
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    if (count > 64)
        count = 64;
    double bytes = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                bytes += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return bytes / 1024;
}

// The folder this program was started from, without a trailing backslash;
// the other benchmark programs sit beside it, the monitor in ..\app.
inline std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    const size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
}

// Closes a program a benchmark started: WM_CLOSE to its window (when one
// was found), then terminated if it lingers; the process's handles closed.
inline void CloseStartedProgram(PROCESS_INFORMATION& info, HWND window) {
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

// Runs a command line to its end with this program's standard handles, so
// its figures join ours; gives its exit code, or -1 when it did not start.
inline int RunChild(std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    std::fflush(stdout);
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

// Dispatches what is queued, at most maxMessages; never waits.
inline int Pump(int maxMessages = 10000) {
    MSG msg;
    int count = 0;
    while (count < maxMessages && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        ++count;
    }
    return count;
}

}  // namespace bench

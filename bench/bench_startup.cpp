// Start-up: from CreateProcess to the program's main window being visible,
// for Reachlet.exe (in ..\app from this program's folder) and the bare
// Win32 program bare_window.exe (beside this program), in turns, so that
// both see the same moments of a noisy machine. Each program is closed
// (WM_CLOSE, then terminated if it lingers) before the next one starts.
// The window is looked for by its class, a few server calls every 2 ms, so
// that the search takes little of the processor the starting program needs.
//   bench_startup [--quick]

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_stats.h"
#include "runtime/window/open_window.h"

namespace {

// Seconds from CreateProcess to a visible top-level window; negative when
// the program could not be started or showed nothing within 60 s.
double TimeToWindow(const std::string& program, const char* windowClass) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + program + "\"";
    const double start = bench::Seconds();
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return -1;
    HWND found = nullptr;
    double elapsed = -1;
    while (bench::Seconds() - start < 60) {
        found = FindWindowExA(nullptr, nullptr, windowClass, nullptr);
        if (found && IsWindowVisible(found)) {
            elapsed = bench::Seconds() - start;
            break;
        }
        if (WaitForSingleObject(info.hProcess, 2) == WAIT_OBJECT_0)
            break;
    }
    bench::CloseStartedProgram(info, found);
    return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = bench::HasArg(argc, argv, "--quick");
    const int rounds = quick ? 1 : 9;
    struct Subject {
        const char* key;
        const char* windowClass;
        std::string program;
        std::vector<double> runs;
    };
    const std::string folder = bench::ProgramFolder();
    Subject subjects[] = {
        {"startup.ours", kWindowClassName, folder + "\\..\\app\\Reachlet.exe", {}},
        {"startup.bare", "BareBenchWindow", folder + "\\bare_window.exe", {}},
    };

    // Once each untimed: the first start of a program reads its files cold.
    for (Subject& s : subjects)
        TimeToWindow(s.program, s.windowClass);
    for (int round = 0; round < rounds; ++round)
        for (Subject& s : subjects) {
            const double seconds = TimeToWindow(s.program, s.windowClass);
            if (seconds < 0) {
                std::printf("error %s (%s) showed no window\n", s.key, s.program.c_str());
                return 1;
            }
            s.runs.push_back(seconds * 1000);
        }
    for (Subject& s : subjects)
        bench::Report(s.key, "ms", s.runs);
    bench::Row("start-up, process start to the window visible", "startup.ours", "startup.bare", "<=1.1");
    return 0;
}

#pragma once
// Timing and reporting shared by the benchmark programs. Each program prints
// one line per figure, which scripts/bench.sh gathers into its table:
//   figure <key> <unit> <median> <min> <max> <runs>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
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

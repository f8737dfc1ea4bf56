// String primitives against msvcrt's, on strings of 16 bytes and 1 KiB:
// StringLength / strlen, CopyString / strcpy, and ConcatStrings of two
// halves (a new string, then FreeString) against what msvcrt needs for the
// same new string: malloc, strcpy, strcat, free. The msvcrt routines are
// taken from msvcrt.dll by name, so the compiler cannot put its own
// built-ins in their place.
//   bench_strings [--quick]

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_stats.h"
#include "runtime/core/strings.h"

namespace {

using StrlenFn = size_t(__cdecl*)(const char*);
using StrcpyFn = char*(__cdecl*)(char*, const char*);
using MallocFn = void*(__cdecl*)(size_t);
using FreeFn = void(__cdecl*)(void*);

template <typename Fn>
Fn Import(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

volatile size_t sink;

// Calls per round so that one round of op takes at least `seconds`.
template <typename Op>
int Calibrate(double seconds, Op op) {
    int count = 64;
    while (bench::PerCall(count, op) * count < seconds && count < (1 << 28))
        count *= 2;
    return count;
}

// Millions of calls per second, median of the rounds, ours and msvcrt's in turns.
template <typename Ours, typename Theirs>
void Compare(const char* name, int size, int rounds, double seconds, Ours ours, Theirs theirs) {
    const int count = Calibrate(seconds, ours);
    std::vector<double> oursRuns, theirsRuns;
    for (int r = 0; r < rounds; ++r) {
        oursRuns.push_back(1e-6 / bench::PerCall(count, ours));
        theirsRuns.push_back(1e-6 / bench::PerCall(count, theirs));
    }
    char key[64];
    std::snprintf(key, sizeof(key), "strings.%s.%d.ours", name, size);
    bench::Report(key, "M/s", oursRuns);
    std::snprintf(key, sizeof(key), "strings.%s.%d.msvcrt", name, size);
    bench::Report(key, "M/s", theirsRuns);
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = bench::HasArg(argc, argv, "--quick");
    const int rounds = quick ? 3 : 9;
    const double seconds = quick ? 0.01 : 0.05;

    HMODULE msvcrt = LoadLibraryA("msvcrt.dll");
    const auto crtStrlen = Import<StrlenFn>(msvcrt, "strlen");
    const auto crtStrcpy = Import<StrcpyFn>(msvcrt, "strcpy");
    const auto crtStrcat = Import<StrcpyFn>(msvcrt, "strcat");
    const auto crtMalloc = Import<MallocFn>(msvcrt, "malloc");
    const auto crtFree = Import<FreeFn>(msvcrt, "free");
    if (!crtStrlen || !crtStrcpy || !crtStrcat || !crtMalloc || !crtFree || !CreateStringHeap())
        return 1;

    for (int size : {16, 1024}) {
        // Word-aligned sources, as heap blocks are.
        std::vector<uint32_t> sourceWords(size / 4 + 2, 0);
        std::vector<uint32_t> halfWords(size / 8 + 2, 0);
        std::vector<uint32_t> destinationWords(size / 4 + 2, 0);
        char* source = reinterpret_cast<char*>(sourceWords.data());
        char* half = reinterpret_cast<char*>(halfWords.data());
        char* destination = reinterpret_cast<char*>(destinationWords.data());
        for (int i = 0; i < size; ++i)
            source[i] = static_cast<char>('a' + i % 26);
        std::memcpy(half, source, static_cast<size_t>(size / 2));

        Compare("length", size, rounds, seconds, [&] { sink = static_cast<size_t>(StringLength(source)); },
                [&] { sink = crtStrlen(source); });
        Compare("copy", size, rounds, seconds, [&] { sink = reinterpret_cast<size_t>(CopyString(destination, source)); },
                [&] { sink = reinterpret_cast<size_t>(crtStrcpy(destination, source)); });
        Compare(
            "concat", size, rounds, seconds,
            [&] {
                char* joined = ConcatStrings(half, half);
                sink = static_cast<size_t>(joined[0]);
                FreeString(joined);
            },
            [&] {
                char* joined = static_cast<char*>(crtMalloc(crtStrlen(half) * 2 + 1));
                crtStrcpy(joined, half);
                crtStrcat(joined, half);
                sink = static_cast<size_t>(joined[0]);
                crtFree(joined);
            });
    }
    ShutdownStringHeap();
    for (int size : {16, 1024}) {
        struct RowKind {
            const char* label;
            const char* name;
        };
        constexpr RowKind kRows[] = {
            {"StringLength / strlen, %d B", "length"},
            {"CopyString / strcpy, %d B", "copy"},
            {"ConcatStrings / malloc+strcpy+strcat+free, %d B", "concat"},
        };
        char label[96], ours[64], theirs[64];
        for (const RowKind& row : kRows) {
            std::snprintf(label, sizeof(label), row.label, size);
            std::snprintf(ours, sizeof(ours), "strings.%s.%d.ours", row.name, size);
            std::snprintf(theirs, sizeof(theirs), "strings.%s.%d.msvcrt", row.name, size);
            bench::Row(label, ours, theirs, ">=1.0");
        }
    }
    return 0;
}

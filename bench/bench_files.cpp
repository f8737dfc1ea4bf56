// File channels: lines per second through a text channel (ReadFileChannel
// into a string) on a file of 100,000 lines of 100 bytes, 10 MB, against
// msvcrt's fgets on the same file; and numbers per second read into a
// double through a text channel against msvcrt's fscanf "%lf". The files
// are written here, into the folder REACHLET_BENCH_DATA names (Windows
// form; scripts/bench.sh sets it), else into the temporary folder. The
// msvcrt routines are taken from msvcrt.dll by name, so that it is
// msvcrt's stdio and not the toolchain's that is measured.
//   bench_files [--quick]

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_stats.h"
#include "runtime/program/program.h"
#include "runtime/core/strings.h"
#include "runtime/resource/file_channel.h"

namespace {

using FopenFn = FILE*(__cdecl*)(const char*, const char*);
using FcloseFn = int(__cdecl*)(FILE*);
using FgetsFn = char*(__cdecl*)(char*, int, FILE*);
using FscanfFn = int(__cdecl*)(FILE*, const char*, ...);

template <typename Fn>
Fn Import(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

FopenFn crtFopen;
FcloseFn crtFclose;
FgetsFn crtFgets;
FscanfFn crtFscanf;

constexpr int kLineBytes = 100;   // with its CR LF
constexpr int kNumbersPerLine = 10;

std::string DataFolder() {
    char folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("REACHLET_BENCH_DATA", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        GetTempPathA(MAX_PATH, folder);
    std::string path = folder;
    if (!path.empty() && path.back() != '\\' && path.back() != '/')
        path += '\\';
    return path;
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

// Lines of kLineBytes: a number, then letters that differ from line to line.
std::string LinesText(int lines) {
    std::string text;
    text.reserve(static_cast<size_t>(lines) * kLineBytes);
    char head[16];
    for (int i = 0; i < lines; ++i) {
        std::snprintf(head, sizeof(head), "%06d ", i);
        text += head;
        for (int c = static_cast<int>(std::char_traits<char>::length(head)); c < kLineBytes - 2; ++c)
            text += static_cast<char>('a' + (i + c) % 26);
        text += "\r\n";
    }
    return text;
}

// Integers and decimals, some negative, kNumbersPerLine a line; their sum.
std::string NumbersText(int count, double& sum) {
    std::string text;
    char number[32];
    sum = 0;
    for (int i = 0; i < count; ++i) {
        const int whole = (i * 7919) % 100000 - (i % 3 == 0 ? 50000 : 0);
        if (i % 2) {
            std::snprintf(number, sizeof(number), "%d", whole);
            sum += whole;
        } else {
            const int thousandths = (i * 31) % 1000;
            std::snprintf(number, sizeof(number), "%s%d.%03d", whole < 0 ? "-" : "", whole < 0 ? -whole : whole,
                          thousandths);
            sum += whole < 0 ? whole - thousandths / 1000.0 : whole + thousandths / 1000.0;
        }
        text += number;
        text += (i + 1) % kNumbersPerLine ? " " : "\r\n";
    }
    return text;
}

// Lines of the file read through a text channel; -1 when it did not open.
int ChannelLines(const std::string& path, char* line) {
    HANDLE channel = nullptr;
    if (OpenFileChannel(&channel, TY_TEXTFILE, path.c_str(), "R") != 0)
        return -1;
    const TypedArg arg{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&channel)), TY_TEXTFILE | TY_BYREF};
    int lines = 0;
    while (ReadFileChannel(arg, StrArg(line)) == 0)
        ++lines;
    CloseFileChannel(&channel, TY_TEXTFILE);
    return lines;
}

int FgetsLines(const std::string& path) {
    FILE* file = crtFopen(path.c_str(), "r");
    if (!file)
        return -1;
    char line[256];
    int lines = 0;
    while (crtFgets(line, sizeof(line), file))
        ++lines;
    crtFclose(file);
    return lines;
}

int ChannelNumbers(const std::string& path, double& sum) {
    HANDLE channel = nullptr;
    if (OpenFileChannel(&channel, TY_TEXTFILE, path.c_str(), "R") != 0)
        return -1;
    const TypedArg arg{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&channel)), TY_TEXTFILE | TY_BYREF};
    double value = 0;
    const TypedArg destination{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&value)), TY_DOUBLE};
    int count = 0;
    sum = 0;
    while (ReadFileChannel(arg, destination) == 0) {
        sum += value;
        ++count;
    }
    CloseFileChannel(&channel, TY_TEXTFILE);
    return count;
}

int FscanfNumbers(const std::string& path, double& sum) {
    FILE* file = crtFopen(path.c_str(), "r");
    if (!file)
        return -1;
    double value = 0;
    int count = 0;
    sum = 0;
    while (crtFscanf(file, "%lf", &value) == 1) {
        sum += value;
        ++count;
    }
    crtFclose(file);
    return count;
}

bool SameSum(double a, double b) { return std::fabs(a - b) <= 1e-6 * (std::fabs(b) + 1); }

}  // namespace

int main(int argc, char** argv) {
    const bool quick = bench::HasArg(argc, argv, "--quick");
    const int rounds = quick ? 3 : 5;
    const int lines = quick ? 10000 : 100000;
    const int numbers = quick ? 2000 : 20000;
    ResetFloatingPoint();
    CreateStringHeap();

    HMODULE msvcrt = LoadLibraryA("msvcrt.dll");
    crtFopen = Import<FopenFn>(msvcrt, "fopen");
    crtFclose = Import<FcloseFn>(msvcrt, "fclose");
    crtFgets = Import<FgetsFn>(msvcrt, "fgets");
    crtFscanf = Import<FscanfFn>(msvcrt, "fscanf");
    if (!crtFopen || !crtFclose || !crtFgets || !crtFscanf)
        return 1;

    const std::string folder = DataFolder();
    const std::string linesPath = folder + "bench_lines.txt";
    const std::string numbersPath = folder + "bench_numbers.txt";
    double expectedSum = 0;
    if (!WriteWhole(linesPath, LinesText(lines)) || !WriteWhole(numbersPath, NumbersText(numbers, expectedSum))) {
        std::printf("error files: cannot write the test files in %s\n", folder.c_str());
        return 1;
    }

    char* line = AllocString(255);
    std::vector<double> channelRuns, fgetsRuns, channelNumberRuns, fscanfRuns;
    for (int r = 0; r < rounds; ++r) {
        double start = bench::Seconds();
        const int ours = ChannelLines(linesPath, line);
        const double oursSeconds = bench::Seconds() - start;
        start = bench::Seconds();
        const int theirs = FgetsLines(linesPath);
        const double theirsSeconds = bench::Seconds() - start;
        if (ours != lines || theirs != lines) {
            std::printf("error files: %d lines written, the channel read %d, fgets %d\n", lines, ours, theirs);
            return 1;
        }
        channelRuns.push_back(lines / oursSeconds / 1e3);
        fgetsRuns.push_back(lines / theirsSeconds / 1e3);

        double oursSum = 0, theirsSum = 0;
        start = bench::Seconds();
        const int oursNumbers = ChannelNumbers(numbersPath, oursSum);
        const double oursNumberSeconds = bench::Seconds() - start;
        start = bench::Seconds();
        const int theirsNumbers = FscanfNumbers(numbersPath, theirsSum);
        const double theirsNumberSeconds = bench::Seconds() - start;
        if (oursNumbers != numbers || theirsNumbers != numbers || !SameSum(oursSum, expectedSum) ||
            !SameSum(theirsSum, expectedSum)) {
            std::printf("error files: %d numbers written (sum %.3f), the channel read %d (sum %.3f), fscanf %d "
                        "(sum %.3f)\n",
                        numbers, expectedSum, oursNumbers, oursSum, theirsNumbers, theirsSum);
            return 1;
        }
        channelNumberRuns.push_back(numbers / oursNumberSeconds / 1e3);
        fscanfRuns.push_back(numbers / theirsNumberSeconds / 1e3);
    }
    FreeString(line);
    DeleteFileA(linesPath.c_str());
    DeleteFileA(numbersPath.c_str());

    bench::Report("files.lines.channel", "k/s", channelRuns);
    bench::Report("files.lines.fgets", "k/s", fgetsRuns);
    bench::Report("files.numbers.channel", "k/s", channelNumberRuns);
    bench::Report("files.numbers.fscanf", "k/s", fscanfRuns);
    char label[128];
    std::snprintf(label, sizeof(label), "file lines, text channel / fgets, %d lines of %d B", lines, kLineBytes);
    bench::Row(label, "files.lines.channel", "files.lines.fgets", "report");
    std::snprintf(label, sizeof(label), "file numbers, ReadFileChannel / fscanf %%lf, %d numbers", numbers);
    bench::Row(label, "files.numbers.channel", "files.numbers.fscanf", ">=0.5");
    bench::Note("file lines and numbers: a channel shares its handle with direct ReadFile and WriteFile calls, so "
                "every read leaves the file pointer just after what it consumed: a chunk read and a step back, two "
                "system calls a line or a number, where fgets and fscanf read 4 KiB buffers");
    return 0;
}

// The log: AppendLogLine on the monitor's real layout ("ours"), or the raw
// insertion on a bare rich edit of the same class and style ("bare"): select
// at 0, set the selection colour, select at 0, replace. Each mode runs in a
// process of its own, so that the heap bytes in use are that mode's alone.
// At each checkpoint (lines written so far) it reports the time per line,
// the heap bytes in use, the log's length and the messages one line sends.
// Without a mode it runs both, one after the other, and prints the rows.
//   bench_log [ours|bare] [--quick | --emulated]
// --emulated is for a machine that emulates the processor, where a line
// takes the best part of a second: it stops at 3,000 lines. The monitor's
// log is full from about 1,200 lines on (the control's 32,767 characters), so
// every later line does the same work, deleting the oldest line as it adds
// one; 3,000 lines is already well past that point.

#include <windows.h>
#include <richedit.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/layout.h"
#include "app/monitor.h"
#include "bench/bench_stats.h"
#include "runtime/program/program.h"
#include "runtime/core/strings.h"
#include "runtime/window/open_window.h"

namespace {

// The monitor's four lines, with a fixed time.
struct LineKind {
    const char* text;
    COLORREF color;
};
constexpr LineKind kLines[] = {
    {"Contact successful at 12:34:56", RGB(0, 0, 0)},
    {"No response at 12:34:56", RGB(0, 0, 255)},
    {"Ping started at 12:34:56", RGB(0, 255, 0)},
    {"Ping stopped at 12:34:56", RGB(255, 0, 0)},
};

HWND bareLog;
std::vector<std::string> bareTexts;   // the lines with their "\r\n", made once

void BareAppend(int i) {
    const LineKind& line = kLines[i % 4];
    SendMessageA(bareLog, EM_SETSEL, 0, 0);
    CHARFORMATA format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    format.crTextColor = line.color;
    SendMessageA(bareLog, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    SendMessageA(bareLog, EM_SETSEL, 0, 0);
    SendMessageA(bareLog, EM_REPLACESEL, 1, reinterpret_cast<LPARAM>(bareTexts[i % 4].c_str()));
}

void OursAppend(int i) {
    const LineKind& line = kLines[i % 4];
    AppendLogLine(line.text, line.color);
}

HWND OpenBare() {
    LoadLibraryA("riched32.dll");
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "BareLogWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "Reachlet", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                                  0, 0, 400, 400, nullptr, nullptr, wc.hInstance, nullptr);
    for (const LineKind& line : kLines)
        bareTexts.push_back(std::string(line.text) + "\r\n");
    HWND log = CreateWindowExA(WS_EX_CLIENTEDGE, "RichEdit", "",
                               WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_READONLY | ES_MULTILINE, 10,
                               160, 372, 200, window, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(108)),
                               wc.hInstance, nullptr);
    // At the control's default limit (32,767 characters, some 1,200 lines)
    // the replace would insert nothing and the baseline would time a refusal.
    if (log)
        SendMessageA(log, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    return log;
}


// Messages sent on this thread while one line is written: to the log, and
// in all.
HWND countedLog;
int sentToLog;
int sentInAll;
LRESULT CALLBACK CountSent(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        ++sentInAll;
        if (reinterpret_cast<const CWPSTRUCT*>(lParam)->hwnd == countedLog)
            ++sentToLog;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

enum class Scale { kQuick, kEmulated, kFull };

Scale ScaleOf(int argc, char** argv) {
    if (bench::HasArg(argc, argv, "--quick"))
        return Scale::kQuick;
    return bench::HasArg(argc, argv, "--emulated") ? Scale::kEmulated : Scale::kFull;
}

const char* ScaleArg(Scale scale) {
    switch (scale) {
    case Scale::kQuick: return " --quick";
    case Scale::kEmulated: return " --emulated";
    default: return "";
    }
}

std::vector<int> Checkpoints(Scale scale) {
    switch (scale) {
    case Scale::kQuick: return {0, 20, 60};
    case Scale::kEmulated: return {0, 1500, 3000};
    default: return {0, 10000, 100000};
    }
}

// Runs both modes as processes of their own, then prints the rows.
int RunBoth(Scale scale) {
    const std::string self = "\"" + bench::ProgramFolder() + "\\bench_log.exe\"";
    for (const char* mode : {"ours", "bare"})
        if (bench::RunChild(self + " " + mode + ScaleArg(scale)) != 0) {
            std::printf("error bench_log %s failed\n", mode);
            return 1;
        }
    // Each kind of row at every checkpoint: label, key (%s the mode), goal.
    struct RowKind {
        const char* label;
        const char* key;
        const char* goal;
    };
    constexpr RowKind kRows[] = {
        {"log line, AppendLogLine at %d lines written", "log.%s.line.%d", "<=1.5"},
        {"log, heap bytes in use at %d lines", "log.%s.mem.%d", "report"},
        {"log, characters held at %d lines", "log.%s.chars.%d", "report"},
        {"log, messages sent for one line at %d lines", "log.%s.sent.%d", "report"},
        {"log, of them to the log control, at %d lines", "log.%s.sentlog.%d", "report"},
    };
    const std::vector<int> checkpoints = Checkpoints(scale);
    char label[128], ours[64], bare[64];
    for (const RowKind& row : kRows)
        for (int n : checkpoints) {
            std::snprintf(label, sizeof(label), row.label, n);
            std::snprintf(ours, sizeof(ours), row.key, "ours", n);
            std::snprintf(bare, sizeof(bare), row.key, "bare", n);
            bench::Row(label, ours, bare, row.goal);
        }
    if (scale == Scale::kEmulated)
        bench::Note("log: under emulation the rows stop at 3,000 lines, not 100,000; the log is full from about "
                    "1,200 lines on, and every later line does the same work");
    // Flat: the last checkpoint's line against the first, ours alone.
    std::snprintf(label, sizeof(label), "log line, ours at %d lines against ours at 0", checkpoints.back());
    std::snprintf(ours, sizeof(ours), "log.ours.line.%d", checkpoints.back());
    bench::Row(label, ours, "log.ours.line.0", "<=1.2");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const Scale scale = ScaleOf(argc, argv);
    const bool ours = argc > 1 && std::strcmp(argv[1], "ours") == 0;
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    if (!ours && !bare)
        return RunBoth(scale);
    const char* mode = ours ? "ours" : "bare";
    HWND log = nullptr;
    void (*append)(int) = nullptr;
    if (ours) {
        ResetFloatingPoint();
        CreateStringHeap();
        if (!OpenWindow(&mainWindow, 0, 0, kMainWindowWidth, kMainWindowHeight, kMainWindowFlags, nullptr,
                        kMainWindowCaption, MonitorHandler))
            return 1;
        BuildLayout();
        log = GetDlgItem(mainWindow.hwnd, LOG_CONTROL_ID);
        append = OursAppend;
    } else {
        bareLog = OpenBare();
        log = bareLog;
        append = BareAppend;
    }
    if (!log)
        return 1;
    bench::Pump();

    const std::vector<int> checkpoints = Checkpoints(scale);
    const int rounds = scale == Scale::kFull ? 9 : scale == Scale::kEmulated ? 5 : 3;
    const int batch = scale == Scale::kFull ? 100 : scale == Scale::kEmulated ? 20 : 5;
    int written = 0;
    for (int checkpoint : checkpoints) {
        while (written < checkpoint) {
            append(written++);
            if (written % 100 == 0)
                bench::Pump();
        }
        const double heapKiB = bench::HeapInUseKiB();
        char key[64];

        countedLog = log;
        sentToLog = sentInAll = 0;
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CountSent, nullptr, GetCurrentThreadId());
        append(written++);
        UnhookWindowsHookEx(hook);
        std::snprintf(key, sizeof(key), "log.%s.sent.%d", mode, checkpoint);
        bench::Report(key, "msgs", {static_cast<double>(sentInAll)});
        std::snprintf(key, sizeof(key), "log.%s.sentlog.%d", mode, checkpoint);
        bench::Report(key, "msgs", {static_cast<double>(sentToLog)});

        std::vector<double> perLine;
        for (int r = 0; r < rounds; ++r) {
            perLine.push_back(bench::PerCall(batch, [&] { append(written++); }) * 1e6);
            bench::Pump();
        }
        std::snprintf(key, sizeof(key), "log.%s.line.%d", mode, checkpoint);
        bench::Report(key, "us", perLine);
        std::snprintf(key, sizeof(key), "log.%s.mem.%d", mode, checkpoint);
        bench::Report(key, "KiB", {heapKiB});
        std::snprintf(key, sizeof(key), "log.%s.chars.%d", mode, checkpoint);
        bench::Report(key, "chars", {static_cast<double>(GetWindowTextLengthA(log))});
    }
    return 0;
}

// Routing: events per second that SendMessage delivers to a runtime window,
// through WindowProc, RouteEvent and the window's handler, against
// SendMessage to a window whose raw window procedure handles the message.
//   bench_routing [--quick]

#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/bench_stats.h"
#include "runtime/program/program.h"
#include "runtime/core/strings.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"

namespace {

constexpr UINT kBenchMessage = WM_USER + 1;
volatile int32_t handled;

WindowRecord runtimeWindow;

int32_t CountingHandler() {
    if (messageRecord.eventCode != static_cast<int32_t>(kBenchMessage))
        return 0;
    handled = handled + 1;
    return 1;
}

LRESULT CALLBACK RawProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kBenchMessage) {
        handled = handled + 1;
        return 1;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND OpenRaw() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = RawProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BareRoutingWindow";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "raw", WS_POPUP | WS_CAPTION, 0, 0, 400, 400, nullptr, nullptr,
                           wc.hInstance, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = bench::HasArg(argc, argv, "--quick");
    const int rounds = quick ? 3 : 9;
    const double seconds = quick ? 0.02 : 0.1;
    ResetFloatingPoint();
    CreateStringHeap();
    if (!OpenWindow(&runtimeWindow, 0, 0, 400, 400, RF_HIDDEN, nullptr, "routing", CountingHandler))
        return 1;
    HWND raw = OpenRaw();
    if (!raw)
        return 1;
    bench::Pump();

    HWND ours = runtimeWindow.hwnd;
    auto sendOurs = [ours] { SendMessageA(ours, kBenchMessage, 1, 2); };
    auto sendRaw = [raw] { SendMessageA(raw, kBenchMessage, 1, 2); };
    int count = 256;
    while (bench::PerCall(count, sendOurs) * count < seconds && count < (1 << 26))
        count *= 2;

    std::vector<double> oursRuns, rawRuns;
    handled = 0;
    for (int r = 0; r < rounds; ++r) {
        oursRuns.push_back(1e-3 / bench::PerCall(count, sendOurs));
        rawRuns.push_back(1e-3 / bench::PerCall(count, sendRaw));
    }
    // Every message reached its handler: the figures count delivered events.
    if (handled != 2 * rounds * count) {
        std::printf("error routing delivered %d of %d events\n", static_cast<int>(handled), 2 * rounds * count);
        return 1;
    }
    bench::Report("routing.ours", "k/s", oursRuns);
    bench::Report("routing.raw", "k/s", rawRuns);
    bench::Row("routing, events through WindowProc and RouteEvent", "routing.ours", "routing.raw", ">=0.8");
    CloseWindow(&runtimeWindow);
    DestroyWindow(raw);
    return 0;
}

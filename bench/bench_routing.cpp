// Routing: events per second that SendMessage delivers to a runtime window,
// through WindowProc, RouteEvent and the window's handler, against
// SendMessage to a window whose raw window procedure handles the message;
// and events posted and drained by WaitEvents while no window holds
// accelerators, against the same while another window holds a table.
//   bench_routing [--quick]

#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/bench_stats.h"
#include "runtime/program/program.h"
#include "runtime/core/strings.h"
#include "runtime/window/accelerators.h"
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

    // Posted events through WaitEvents: while no window holds accelerators,
    // against the same while another window holds a table.
    constexpr int kPosted = 64;
    auto postAndWait = [ours] {
        for (int i = 0; i < kPosted; ++i)
            PostMessageA(ours, kBenchMessage, 1, 2);
        WaitEvents(1);
    };
    WindowRecord keyed{};
    ACCEL accelerator{FVIRTKEY | FCONTROL, 'Q', 900};
    if (!OpenWindow(&keyed, 0, 0, 100, 100, RF_HIDDEN, nullptr, "keyed", nullptr))
        return 1;
    int posts = 1;
    while (bench::PerCall(posts, postAndWait) * posts < seconds && posts < (1 << 20))
        posts *= 2;
    std::vector<double> plainRuns, keyedRuns;
    for (int r = 0; r < rounds; ++r) {
        plainRuns.push_back(kPosted * 1e-3 / bench::PerCall(posts, postAndWait));
        SetWindowAccelerators(&keyed, CreateAcceleratorTableA(&accelerator, 1));
        keyedRuns.push_back(kPosted * 1e-3 / bench::PerCall(posts, postAndWait));
        SetWindowAccelerators(&keyed, nullptr);
    }
    CloseWindow(&keyed);
    bench::Report("loop.plain", "k/s", plainRuns);
    bench::Report("loop.keyed", "k/s", keyedRuns);
    bench::Row("loop, posted events with no accelerators / with a window holding some", "loop.plain",
               "loop.keyed", ">=1.0");
    CloseWindow(&runtimeWindow);
    DestroyWindow(raw);
    return 0;
}

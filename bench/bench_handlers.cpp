// Handler tables: a control notification sent to a runtime window that has
// 1,000 routines registered with SetControlHandler (one per control id, all
// in the one control map), against the same notification sent to a runtime
// window whose HandlerProc picks the routine with a switch. Both go through
// WindowProc and RouteEvent, so the ratio is what the tables cost. The same
// with 10 routines, and the lookup alone (DispatchHandlerTables against the
// switch, called directly), show where the time goes.
//   bench_handlers [--quick]

#include <windows.h>

#include <array>
#include <cstdio>
#include <utility>
#include <vector>

#include "bench/bench_stats.h"
#include "runtime/program/program.h"
#include "runtime/core/strings.h"
#include "runtime/window/handler_tables.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"

namespace {

constexpr int kRoutines = 1000;
constexpr int kFewRoutines = 10;

volatile int32_t handled;
volatile int32_t lastControl;

// One routine per control id; each says which one ran.
template <int Id>
int32_t Routine() {
    handled = handled + 1;
    lastControl = Id;
    return 1;
}

template <int... I>
constexpr std::array<HandlerProc, sizeof...(I)> MakeRoutines(std::integer_sequence<int, I...>) {
    return {{&Routine<I + 1>...}};
}
constexpr std::array<HandlerProc, kRoutines> kRoutineTable = MakeRoutines(std::make_integer_sequence<int, kRoutines>{});

// The switch a program would write instead: case id: return Routine<id>();
// for ids 1 to 1000.
#define BENCH_CASE1(n) \
    case (n) + 1:      \
        return Routine<(n) + 1>();
#define BENCH_CASE10(n)                                                                                         \
    BENCH_CASE1((n) * 10 + 0) BENCH_CASE1((n) * 10 + 1) BENCH_CASE1((n) * 10 + 2) BENCH_CASE1((n) * 10 + 3)     \
        BENCH_CASE1((n) * 10 + 4) BENCH_CASE1((n) * 10 + 5) BENCH_CASE1((n) * 10 + 6) BENCH_CASE1((n) * 10 + 7) \
            BENCH_CASE1((n) * 10 + 8) BENCH_CASE1((n) * 10 + 9)
#define BENCH_CASE100(n)                                                                                            \
    BENCH_CASE10((n) * 10 + 0) BENCH_CASE10((n) * 10 + 1) BENCH_CASE10((n) * 10 + 2) BENCH_CASE10((n) * 10 + 3)     \
        BENCH_CASE10((n) * 10 + 4) BENCH_CASE10((n) * 10 + 5) BENCH_CASE10((n) * 10 + 6) BENCH_CASE10((n) * 10 + 7) \
            BENCH_CASE10((n) * 10 + 8) BENCH_CASE10((n) * 10 + 9)

int32_t SwitchHandler() {
    if (messageRecord.eventCode != EV_CONTROL || messageRecord.notifyCode != BN_CLICKED)
        return 0;
    switch (messageRecord.controlId) {
        BENCH_CASE100(0)
        BENCH_CASE100(1)
        BENCH_CASE100(2)
        BENCH_CASE100(3)
        BENCH_CASE100(4)
        BENCH_CASE100(5)
        BENCH_CASE100(6)
        BENCH_CASE100(7)
        BENCH_CASE100(8)
        BENCH_CASE100(9)
    default:
        return 0;
    }
}

WindowRecord tablesWindow;     // 1,000 routines in its tables, no handler
WindowRecord fewTablesWindow;  // 10 routines in its tables, no handler
WindowRecord switchWindow;     // the switch as its handler

// A control notification: BN_CLICKED from control id. The control handle
// only has to be non-null for the event to be a control's; the window's
// own stands in.
void Click(HWND hwnd, int id) {
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
}

// Every id reaches its own routine, once.
bool EveryIdArrives(HWND hwnd, int ids) {
    const int32_t before = handled;
    for (int id = 1; id <= ids; ++id) {
        lastControl = 0;
        Click(hwnd, id);
        if (lastControl != id)
            return false;
    }
    return handled - before == ids;
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = bench::HasArg(argc, argv, "--quick");
    const int rounds = quick ? 3 : 9;
    const double seconds = quick ? 0.02 : 0.1;
    ResetFloatingPoint();
    CreateStringHeap();
    if (!OpenWindow(&tablesWindow, 0, 0, 400, 400, RF_HIDDEN, nullptr, "tables", nullptr) ||
        !OpenWindow(&fewTablesWindow, 0, 0, 400, 400, RF_HIDDEN, nullptr, "few tables", nullptr) ||
        !OpenWindow(&switchWindow, 0, 0, 400, 400, RF_HIDDEN, nullptr, "switch", SwitchHandler))
        return 1;
    for (int id = 1; id <= kRoutines; ++id)
        if (!SetControlHandler(&tablesWindow, id, BN_CLICKED, kRoutineTable[static_cast<size_t>(id - 1)]) ||
            (id <= kFewRoutines &&
             !SetControlHandler(&fewTablesWindow, id, BN_CLICKED, kRoutineTable[static_cast<size_t>(id - 1)]))) {
            std::printf("error handlers: registering control %d failed\n", id);
            return 1;
        }
    bench::Pump();
    const HWND tables = tablesWindow.hwnd;
    const HWND fewTables = fewTablesWindow.hwnd;
    const HWND switched = switchWindow.hwnd;
    if (!EveryIdArrives(tables, kRoutines) || !EveryIdArrives(fewTables, kFewRoutines) ||
        !EveryIdArrives(switched, kRoutines)) {
        std::printf("error handlers: a notification did not reach its routine\n");
        return 1;
    }

    // The ids in turn, so that every chain of the map is walked alike.
    int next = 0;
    bench::Compare(
        "handlers.tables.1000", "handlers.switch.1000", "us", rounds, seconds,
        [&] { Click(tables, next++ % kRoutines + 1); }, [&] { Click(switched, next++ % kRoutines + 1); });
    bench::Compare(
        "handlers.tables.10", "handlers.switch.10", "us", rounds, seconds,
        [&] { Click(fewTables, next++ % kFewRoutines + 1); }, [&] { Click(switched, next++ % kFewRoutines + 1); });

    // The lookup alone: what RouteEvent calls once it has filled messageRecord.
    messageRecord.eventCode = EV_CONTROL;
    messageRecord.notifyCode = BN_CLICKED;
    bench::Compare(
        "handlers.lookup.1000", "handlers.lookupswitch.1000", "us", rounds, seconds,
        [&] {
            messageRecord.controlId = next++ % kRoutines + 1;
            handled = handled + DispatchHandlerTables(tables, EV_CONTROL);
        },
        [&] {
            messageRecord.controlId = next++ % kRoutines + 1;
            handled = handled + SwitchHandler();
        });

    bench::Row("handler tables, a notification with 1,000 routines / a switch in the handler",
               "handlers.tables.1000", "handlers.switch.1000", "<=1.5");
    bench::Row("handler tables, the same with 10 routines", "handlers.tables.10", "handlers.switch.10", "report");
    bench::Row("handler tables, the lookup alone with 1,000 routines / the switch alone", "handlers.lookup.1000",
               "handlers.lookupswitch.1000", "report");
    CloseWindow(&tablesWindow);
    CloseWindow(&fewTablesWindow);
    CloseWindow(&switchWindow);
    return 0;
}

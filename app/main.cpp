#include <windows.h>

#include "app/layout.h"
#include "app/monitor.h"
#include "runtime/core/program.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"

namespace {

constexpr uint32_t kMainWindowFlags = WS_MINIMIZEBOX | RF_HIDDEN;

[[noreturn]] void MonitorMain() {
    (void)OpenWindow(&mainWindow, 0, 0, 400, 400, kMainWindowFlags, nullptr, "Reachlet", MonitorHandler);
    BuildLayout();
    for (;;)
        WaitEvents(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RunProgram(MonitorMain);
}

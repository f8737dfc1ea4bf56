#include <windows.h>

#include "app/layout.h"
#include "app/monitor.h"
#include "runtime/program/program.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"

namespace {

[[noreturn]] void MonitorMain() {
    (void)OpenWindow(&mainWindow, 0, 0, kMainWindowWidth, kMainWindowHeight, kMainWindowFlags, nullptr,
                     kMainWindowCaption, MonitorHandler);
    BuildLayout();
    for (;;)
        WaitEvents(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RunProgram(MonitorMain);
}

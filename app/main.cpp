#include <windows.h>

#include "app/layout.h"
#include "app/monitor.h"
#include "runtime/runtime.h"

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

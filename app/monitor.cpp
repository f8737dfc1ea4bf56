#include "app/monitor.h"

#include "runtime/core/program.h"
#include "runtime/window/message_loop.h"

WindowRecord mainWindow;
HICON appIcon;
int32_t intervalSeconds;
int32_t started;
char ProbeTarget[kProbeTargetSize];

int32_t MonitorHandler() {
    if (messageRecord.eventCode == EV_CLOSE_WINDOW) {
        CloseWindow(&mainWindow);
        EndProgram();
    }
    return 0;
}

// A window with an edit control, built only from the runtime's one header.
#include "runtime/runtime.h"

// The runtime's platform definitions are its own, not its consumers'.
#if defined(WIN32_LEAN_AND_MEAN) || _WIN32_WINNT == 0x0501 || _WIN32_IE == 0x0600
#error "the runtime pushed its platform definitions onto this program"
#endif

namespace {

WindowRecord mainWindow;

int32_t OnEvent() {
    if (messageRecord.eventCode == EV_CLOSE_WINDOW) {
        CloseWindow(&mainWindow);
        EndProgram();
    }
    return 0;
}

void Body() {
    int unused;  // -Wall warns; -Werror from the runtime would stop the build
    if (OpenWindow(&mainWindow, 100, 100, 320, 200, 0, nullptr, "Outside", OnEvent) == 0)
        EndProgram();
    CreateControl(&mainWindow, CT_EDIT, "", 8, 8, 200, 24, 0, 1);
    SendControlCommand(&mainWindow, 1, CC_ED_REPLACE_SEL, StrArg("hello"));
    for (;;)
        WaitEvents(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RunProgram(Body);
}

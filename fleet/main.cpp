#include <windows.h>

#include "fleet/fleet.h"

namespace {

char commandPath[MAX_PATH];

[[noreturn]] void FleetMain() {
    if (!OpenFleet(commandPath))
        EndProgram();
    for (;;)
        WaitEvents(0);
}

}  // namespace

// The command line names a host list; without one the list beside the
// program is read.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    const char* start = commandLine;
    while (*start == ' ')
        ++start;
    const bool quoted = *start == '"';
    lstrcpynA(commandPath, start + (quoted ? 1 : 0), MAX_PATH);
    char* end = commandPath + lstrlenA(commandPath);
    while (end > commandPath && (end[-1] == ' ' || (quoted && end[-1] == '"')))
        *--end = '\0';
    RunProgram(FleetMain);
}

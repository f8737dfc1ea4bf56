// Writes a Fleet host's log as RTF and as text through Fleet's own save, for
// unrtf to read back (control/rich_edit_rtf_check.sh):
//   fleet_log_writer <rtf path> <text path>
// The host's answers are booked as the frame books a worker's, without a
// network: two contacts, a failure, a contact, then a stop.
#include <windows.h>

#include <cstdlib>

#include "fleet/fleet.h"
#include "fleet/probe_workers.h"

namespace {

[[noreturn]] void Write() {
    char list[MAX_PATH];
    GetTempPathA(MAX_PATH, list);
    lstrcatA(list, "fleet-log-writer.txt");
    CloseHandle(CreateFileA(list, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (__argc != 3 || !OpenFleet(list)) {
        exitCode = 2;
        EndProgram();
    }
    Host* host = AddHost("127.0.0.1", 10, 0);
    AddHostRow(host);
    StartHost(host);
    OpenHostWindow(host);
    for (int32_t reachable : {1, 1, 0, 1}) {
        host->inFlight = 1;
        TakeAnswer(host->id, PackAnswer(ProbeAnswer{host->epoch, reachable, 3}));
    }
    StopHost(host);
    const bool written = SaveHostLog(host, __argv[1], 1) > 0 && SaveHostLog(host, __argv[2], 0) > 0;
    exitCode = written ? 0 : 1;
    ExitFleet();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { RunProgram(Write); }

#pragma once
// Reachlet Fleet: an MDI frame watching many hosts. The frame, the overview
// and the hosts' windows share these records and identifiers.

#include <windows.h>

#include <cstdint>

#include "fleet/hosts.h"
#include "runtime/runtime.h"

inline constexpr char kFleetCaption[] = "Reachlet Fleet";
inline constexpr char kDefaultListName[] = "fleet-hosts.txt";

// Menu commands; the toolbar's buttons repeat the Hosts menu.
enum : int32_t {
    ID_OPEN_LIST = 101,
    ID_SAVE_LIST = 102,
    ID_SAVE_LOG = 103,
    ID_PRINT_LOG = 104,
    ID_EXIT = 105,
    ID_ADD_HOST = 201,
    ID_EDIT_HOST = 202,
    ID_REMOVE_HOST = 203,
    ID_START_ALL = 204,
    ID_STOP_ALL = 205,
    ID_ABOUT = 301,
};

// Controls and resources.
enum : int32_t {
    ID_TOOLBAR = 1,
    ID_STATUS = 2,
    ID_HOST_LIST = 3,    // the overview's list view
    ID_HOST_LOG = 4,     // a host window's rich edit
    RES_FLEET_ICON = 1,
    RES_TOOLBAR_IMAGES = 2,
    RES_STATE_IMAGES = 3,
};

extern WindowRecord frame;
extern WindowRecord overview;
extern char listPath[MAX_PATH];

// frame.cpp
// Opens the frame with its menus, bars and overview, loads the list at
// path (or the default one beside the program when path is null or empty)
// and starts the probes. Returns 1, or 0 when no window could be opened.
int32_t OpenFleet(const char* path);
// Stops the probes, waiting at most the longest probe for the calls in
// progress (no thread is killed), drops the hosts and closes the frame.
// Returns the probe threads still in a call (0: all ended).
int32_t CloseFleet();
// CloseFleet, then the end of the program.
[[noreturn]] void ExitFleet();
// Starts or stops one host, logging it. Return 0.
int32_t StartHost(Host* host);
int32_t StopHost(Host* host);
// Queues the probes that are due (the frame's timer calls it). Returns the
// number queued.
int32_t QueueDueProbes(uint32_t now);
// Books one answer as WM_PROBE_ANSWER brings it: 1 when booked, 0 when
// dropped (a host removed, stopped or changed since the probe went out).
int32_t TakeAnswer(int32_t hostId, LPARAM packed);
// Replaces the table with the list at path, reporting bad lines in one box.
// Returns LoadHostList's result.
int32_t LoadList(const char* path, int32_t reportMissing);
// Writes the table to listPath; a box says so when it fails. Returns 1/0.
int32_t SaveList();
// The host the Hosts and log commands act on: the active host window's, else
// the overview's selected row's; null when neither.
Host* CurrentHost();

// overview.cpp
// The overview's list view is virtual: it asks the table for the cells of
// the rows it draws. Adding a row returns its number, -1 without memory;
// updating redraws the host's row; each returns 1 when the host had a row.
// Rows added with show false appear at the next ShowAllRows (returns 0).
int32_t OpenOverview();
int32_t AddHostRow(Host* host, bool show = true);
int32_t ShowAllRows();
int32_t UpdateHostRow(const Host* host);
int32_t RemoveHostRow(int32_t hostId);
int32_t RemoveAllRows();
// Re-sorts by the column last clicked, if any. Returns 0.
int32_t SortRows();
// The row showing the host, -1 when none.
int32_t RowOfHost(int32_t hostId);
// The host of the first selected row, or null.
Host* SelectedHost();

// host_window.cpp
// Opens (or activates) the host's window: its log so far, its strip.
// Returns the window's record, or null.
WindowRecord* OpenHostWindow(Host* host);
// The host whose window is the active MDI child, or null.
Host* ActiveWindowHost();
// A line in the host's log ring and, when its window is open, its log.
int32_t LogHostLine(Host* host, LogKind kind);
// Draws the host's strip again when its window is open. Returns 0.
int32_t DrawHostStrip(const Host* host);
// Closes the host's window, if open. Returns 0.
int32_t CloseHostWindow(Host* host);
// The host's log to a file as RTF (rich 1) or text (0): the bytes written,
// -1 when the file could not be opened. Opens the window if needed.
int32_t SaveHostLog(Host* host, const char* path, int32_t rich);
// Prints the host's log through the print dialog; PrintRichEdit's result.
int32_t PrintHostLog(Host* host);
// The log's control of the host's window, or null when none is open.
HWND HostLogControl(const Host* host);
// The text of a log line ("Contact successful at 12:34:56") into line.
void LogLineText(uint32_t entry, char* line, int32_t size);

// host_dialog.cpp
struct HostFields {
    char name[kHostNameSize];
    int32_t intervalSeconds;
    int32_t alert;
};
// The Add or Edit dialog, filled from *fields; checked with the monitor's
// rules (a box names what is wrong and the dialog stays). Returns 1 with
// *fields replaced on OK, 0 on Cancel with *fields untouched.
int32_t RunHostDialog(const char* caption, HostFields* fields);

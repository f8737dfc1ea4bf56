#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <cstring>

#include "fleet/fleet.h"
#include "fleet/host_list.h"
#include "fleet/probe_workers.h"

WindowRecord frame;
char listPath[MAX_PATH];

namespace {

constexpr int32_t SCHEDULE_TIMER_ID = 1;
constexpr int32_t kScheduleMs = 200;
constexpr int32_t kTicksPerRefresh = 5;     // status bar and sorting once a second
constexpr uint32_t kErrorFlags = 0x30;      // exclamation icon, OK
constexpr uint32_t kFailureFlags = 0x10;    // stop icon, OK
constexpr int64_t kLongestPeriodMs = 0x7FFFFFFF;

bool failureBoxOpen;
int32_t ticks;
bool rowsChanged;

void ShowError(const char* text) { ShowMessage(&frame, text, "Error", kErrorFlags); }

uint32_t PeriodMs(const Host* host) {
    const int64_t period = static_cast<int64_t>(host->intervalSeconds) * 1000;
    return static_cast<uint32_t>(period > kLongestPeriodMs ? kLongestPeriodMs : period);
}

void RefreshStatus() {
    const HostTotals totals = CountHosts();
    char text[32];
    const std::array<std::pair<const char*, int32_t>, 4> parts{{
        {"Hosts: %d", totals.hosts}, {"Up: %d", totals.up}, {"Down: %d", totals.down}, {"Probing: %d", totals.probing}}};
    for (size_t i = 0; i < parts.size(); ++i) {
        wsprintfA(text, parts[i].first, parts[i].second);
        SendControlCommand(&frame, ID_STATUS, CC_SB_SET_TEXT, IntArg(static_cast<int32_t>(i)), StrArg(text));
    }
}

// One "Failure" box at a time, as in the monitor: it runs its own message
// loop, in which answers keep arriving and are booked and logged; a box
// for each would stack up unanswered. It names the first host that went
// down since the last box was answered.
void AlertFailure(const Host* host) {
    if (failureBoxOpen || !host->alert)
        return;
    char time[9];
    FormatSecond(SecondOfDayNow(), time);
    char* text = ConcatStrings("No response from ", host->name, " at ", time);
    if (!text)
        return;
    failureBoxOpen = true;
    ShowMessage(&frame, text, "Failure", kFailureFlags);
    failureBoxOpen = false;
    FreeString(text);
}

void AddHostWithRow(const char* name, int32_t interval, int32_t alert) {
    if (Host* host = AddHost(name, interval, alert)) {
        AddHostRow(host);
        StartHost(host);
    }
}

// From the end of the table, which leaves nothing to move up.
void RemoveAllHosts() {
    RemoveAllRows();
    for (int32_t i = HostCount() - 1; i >= 0; --i) {
        CloseHostWindow(HostAt(i));
        RemoveHost(HostAt(i)->id);
    }
}

Host* HostForCommand() {
    Host* host = CurrentHost();
    if (!host)
        ShowError("Select a host first");
    return host;
}

int32_t OnAdd() {
    HostFields fields{"", kMinimumInterval, 0};
    if (RunHostDialog("Add host", &fields))
        AddHostWithRow(fields.name, fields.intervalSeconds, fields.alert);
    RefreshStatus();
    return 1;
}

int32_t OnEdit() {
    Host* host = HostForCommand();
    if (!host)
        return 1;
    const int32_t id = host->id;
    HostFields fields{};
    lstrcpynA(fields.name, host->name, kHostNameSize);
    fields.intervalSeconds = host->intervalSeconds;
    fields.alert = host->alert;
    if (!RunHostDialog("Edit host", &fields) || !(host = FindHost(id)))
        return 1;
    if (lstrcmpA(fields.name, host->name) != 0) {
        // Another host: its figures start again, and an answer still out
        // for the old name is dropped.
        lstrcpynA(host->name, fields.name, kHostNameSize);
        ResetFigures(host);
        ++host->epoch;
        if (host->window)
            SetCaption(static_cast<WindowRecord*>(host->window), host->name);
        DrawHostStrip(host);
    }
    if (fields.intervalSeconds != host->intervalSeconds)
        host->nextDueTick = GetTickCount();
    host->intervalSeconds = fields.intervalSeconds;
    host->alert = fields.alert;
    UpdateHostRow(host);
    return 1;
}

int32_t OnRemove() {
    Host* host = HostForCommand();
    if (!host)
        return 1;
    CloseHostWindow(host);
    RemoveHostRow(host->id);
    RemoveHost(host->id);   // an answer still out finds no host and is dropped
    RefreshStatus();
    return 1;
}

int32_t OnStartAll() {
    for (int32_t i = 0; i < HostCount(); ++i)
        StartHost(HostAt(i));
    return 1;
}

int32_t OnStopAll() {
    for (int32_t i = 0; i < HostCount(); ++i)
        StopHost(HostAt(i));
    RefreshStatus();
    return 1;
}

int32_t OnOpenList() {
    char path[MAX_PATH] = "";
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = frame.hwnd;
    dialog.lpstrFilter = "Host lists (*.txt)\0*.txt\0All files\0*.*\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    // The runtime has no file dialogs; the common dialog is asked directly.
    if (GetOpenFileNameA(&dialog))
        LoadList(path, 1);
    return 1;
}

int32_t OnSaveList() {
    SaveList();
    return 1;
}

int32_t OnSaveLog() {
    Host* host = HostForCommand();
    if (!host)
        return 1;
    char path[MAX_PATH] = "";
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = frame.hwnd;
    dialog.lpstrFilter = "Rich text (*.rtf)\0*.rtf\0Text (*.txt)\0*.txt\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = "rtf";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&dialog))
        return 1;
    if (SaveHostLog(host, path, dialog.nFilterIndex != 2) < 0)
        ShowError("The log could not be saved");
    return 1;
}

int32_t OnPrintLog() {
    if (Host* host = HostForCommand())
        if (PrintHostLog(host) == kPrintStopped)
            ShowError("The printer stopped before the log was printed");
    return 1;
}

int32_t OnAbout() {
    // The runtime's box shows the system's icons only; this one shows the
    // program's own.
    MSGBOXPARAMSA box{};
    box.cbSize = sizeof(box);
    box.hwndOwner = frame.hwnd;
    box.hInstance = GetModuleHandleA(nullptr);
    box.lpszText = "Reachlet Fleet\r\nWatches whether many network hosts can be reached.";
    box.lpszCaption = "About Reachlet Fleet";
    box.dwStyle = MB_OK | MB_USERICON;
    box.lpszIcon = MAKEINTRESOURCEA(RES_FLEET_ICON);
    MessageBoxIndirectA(&box);
    return 1;
}

int32_t OnExit() { ExitFleet(); }

int32_t OnTimer() {
    if (messageRecord.wParam != SCHEDULE_TIMER_ID)
        return 0;
    QueueDueProbes(GetTickCount());
    if (++ticks % kTicksPerRefresh == 0) {
        RefreshStatus();
        if (rowsChanged)
            SortRows();
        rowsChanged = false;
    }
    return 1;
}

int32_t OnAnswer() {
    TakeAnswer(static_cast<int32_t>(messageRecord.wParam), static_cast<LPARAM>(messageRecord.lParam));
    return 1;
}

int32_t OnFrameSize() {
    SendControlCommand(&frame, ID_TOOLBAR, CC_TB_AUTOSIZE);
    SendControlCommand(&frame, ID_STATUS, CC_SB_RESIZE);
    return 0;
}

struct MenuEntry {
    int32_t id;            // 0: a separator
    const char* text;
    HandlerProc routine;
};
constexpr std::array<MenuEntry, 6> kFileMenu{{
    {ID_OPEN_LIST, "&Open host list...", OnOpenList},
    {ID_SAVE_LIST, "&Save host list", OnSaveList},
    {ID_SAVE_LOG, "Save &log as...", OnSaveLog},
    {ID_PRINT_LOG, "&Print log...", OnPrintLog},
    {0, nullptr, nullptr},
    {ID_EXIT, "E&xit", OnExit},
}};
constexpr std::array<MenuEntry, 6> kHostsMenu{{
    {ID_ADD_HOST, "&Add...", OnAdd},
    {ID_EDIT_HOST, "&Edit...", OnEdit},
    {ID_REMOVE_HOST, "&Remove", OnRemove},
    {0, nullptr, nullptr},
    {ID_START_ALL, "&Start all", OnStartAll},
    {ID_STOP_ALL, "S&top all", OnStopAll},
}};
constexpr std::array<MenuEntry, 1> kHelpMenu{{{ID_ABOUT, "&About", OnAbout}}};

// Toolbar buttons: command and image (the index in the toolbar strip).
constexpr std::array<int32_t, 5> kToolbarCommands{ID_ADD_HOST, ID_EDIT_HOST, ID_REMOVE_HOST, ID_START_ALL, ID_STOP_ALL};

template <size_t N>
HMENU BuildPopup(const std::array<MenuEntry, N>& entries) {
    HMENU popup = CreatePopupMenu();
    for (const MenuEntry& entry : entries) {
        if (entry.id == 0) {
            AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(entry.id), entry.text);
        (void)SetMenuHandler(&frame, entry.id, entry.routine);
    }
    return popup;
}

// The frame comes with its "&Window" menu; File and Hosts go before it and
// Help after.
void BuildMenus() {
    HMENU bar = GetMenu(frame.hwnd);
    InsertMenuA(bar, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(BuildPopup(kFileMenu)), "&File");
    InsertMenuA(bar, 1, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(BuildPopup(kHostsMenu)), "&Hosts");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildPopup(kHelpMenu)), "&Help");
    DrawMenuBar(frame.hwnd);
}

void BuildBars() {
    HWND toolbar = CreateCustomControl(&frame, TOOLBARCLASSNAMEA, "", 0, 0, 0, 0,
                                       TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS, 0, ID_TOOLBAR);
    // The toolbar keeps the image list it is given and never destroys it;
    // it lives as long as the program.
    auto strip = reinterpret_cast<HBITMAP>(LoadRuntimeImage(IntArg(RES_TOOLBAR_IMAGES), IMG_BITMAP));
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 5, 0);
    if (images && strip)
        ImageList_AddMasked(images, strip, RGB(255, 0, 255));
    if (strip)
        DeleteObject(strip);
    if (toolbar)
        SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    SendControlCommand(&frame, ID_TOOLBAR, CC_TB_ADD_STRINGS, StrArg("Add|Edit|Remove|Start all|Stop all|"));
    for (size_t i = 0; i < kToolbarCommands.size(); ++i) {
        const auto index = static_cast<int32_t>(i);
        SendControlCommand(&frame, ID_TOOLBAR, CC_TB_ADD_BUTTON, IntArg(kToolbarCommands[i]), IntArg(index), NoArg,
                           IntArg(index));
        // Toolbar clicks are control events, the menu's are menu events.
        (void)SetControlHandler(&frame, kToolbarCommands[i], 0, kHostsMenu[i < 3 ? i : i + 1].routine);
    }
    SendControlCommand(&frame, ID_TOOLBAR, CC_TB_AUTOSIZE);

    CreateControl(&frame, CT_STATUSBAR, "", 0, 0, 0, 0, 0, ID_STATUS);
    std::array<int32_t, 4> edges{110, 200, 300, -1};
    SendControlCommand(&frame, ID_STATUS, CC_SB_SET_PARTS, IntArg(4), IntRefArg(edges.data()));
}

}  // namespace

int32_t StartHost(Host* host) {
    if (!host || host->started)
        return 0;
    host->started = 1;
    host->nextDueTick = GetTickCount();
    LogHostLine(host, LOG_STARTED);
    return 0;
}

int32_t StopHost(Host* host) {
    if (!host || !host->started)
        return 0;
    host->started = 0;
    ++host->epoch;   // an answer still out is dropped when it comes
    LogHostLine(host, LOG_STOPPED);
    return 0;
}

int32_t QueueDueProbes(uint32_t now) {
    int32_t queued = 0;
    for (int32_t i = 0; i < HostCount(); ++i) {
        Host* host = HostAt(i);
        if (!host->started || host->inFlight || static_cast<int32_t>(now - host->nextDueTick) < 0)
            continue;
        // Due times step by whole periods, so a host is probed once an
        // interval however long each answer took; one that fell a whole
        // period behind starts its count again from now.
        host->nextDueTick += PeriodMs(host);
        if (static_cast<int32_t>(now - host->nextDueTick) >= 0)
            host->nextDueTick = now + PeriodMs(host);
        if (QueueProbe(host->id, host->epoch, host->name)) {
            host->inFlight = 1;
            ++queued;
        }
    }
    return queued;
}

int32_t TakeAnswer(int32_t hostId, LPARAM packed) {
    Host* host = FindHost(hostId);
    if (!host)
        return 0;
    host->inFlight = 0;
    const ProbeAnswer answer = UnpackAnswer(packed);
    if (!host->started || answer.epoch != (host->epoch & 0x7FFF))
        return 0;
    RecordAnswer(host, answer.reachable, answer.elapsedMs, SecondOfDayNow());
    LogHostLine(host, answer.reachable ? LOG_CONTACT : LOG_NO_RESPONSE);
    UpdateHostRow(host);
    DrawHostStrip(host);
    rowsChanged = true;
    if (!answer.reachable)
        AlertFailure(host);
    return 1;
}

Host* CurrentHost() {
    Host* host = ActiveWindowHost();
    return host ? host : SelectedHost();
}

int32_t LoadList(const char* path, int32_t reportMissing) {
    RemoveAllHosts();
    lstrcpynA(listPath, path, MAX_PATH);
    ListLoad load{};
    const int32_t read = LoadHostList(path, &load);
    if (!read && reportMissing) {
        char* text = ConcatStrings("The host list ", path, " could not be opened");
        ShowError(text ? text : "The host list could not be opened");
        FreeString(text);
    }
    // First probes spread over each host's interval, not all at once.
    const uint32_t now = GetTickCount();
    for (int32_t i = 0; i < HostCount(); ++i) {
        Host* host = HostAt(i);
        AddHostRow(host, false);
        StartHost(host);
        host->nextDueTick = now + static_cast<uint32_t>((static_cast<uint64_t>(PeriodMs(host)) * (i % 100)) / 100);
    }
    ShowAllRows();
    RefreshStatus();
    if (load.bad > 0) {
        char* text = BadLinesMessage(path, load);
        ShowMessage(&frame, text ? text : "Some lines of the host list were skipped", "Host list", kErrorFlags);
        FreeString(text);
    }
    return read;
}

int32_t SaveList() {
    if (SaveHostList(listPath))
        return 1;
    char* text = ConcatStrings("The host list could not be saved to ", listPath);
    ShowError(text ? text : "The host list could not be saved");
    FreeString(text);
    return 0;
}

int32_t OpenFleet(const char* path) {
    if (!OpenWindow(&frame, CW_USEDEFAULT, CW_USEDEFAULT, 800, 560, WS_OVERLAPPEDWINDOW | RF_FRAME | RF_NO_SURFACE,
                    nullptr, kFleetCaption, nullptr))
        return 0;
    auto icon = reinterpret_cast<HICON>(static_cast<uintptr_t>(LoadRuntimeImage(IntArg(RES_FLEET_ICON), IMG_ICON)));
    SetClassIcon(&frame, icon);
    BuildMenus();
    BuildBars();
    (void)SetEventHandler(&frame, EV_CLOSE_WINDOW, OnExit);
    (void)SetEventHandler(&frame, EV_SIZE, OnFrameSize);
    (void)SetEventHandler(&frame, WM_TIMER, OnTimer);
    (void)SetEventHandler(&frame, WM_PROBE_ANSWER, OnAnswer);
    // A size message fits the bars and the MDI client between them.
    RECT client{};
    GetClientRect(frame.hwnd, &client);
    SendMessageA(frame.hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    if (!OpenOverview())
        return 0;
    StartProbeWorkers(frame.hwnd);

    char defaultPath[MAX_PATH] = "";
    if (!path || !*path) {
        const DWORD length = GetModuleFileNameA(nullptr, defaultPath, MAX_PATH);
        char* slash = length > 0 && length < MAX_PATH ? std::strrchr(defaultPath, '\\') : nullptr;
        if (slash && static_cast<size_t>(slash - defaultPath) + sizeof(kDefaultListName) < MAX_PATH)
            CopyString(slash + 1, kDefaultListName);
        else
            CopyString(defaultPath, kDefaultListName);
        path = defaultPath;
    }
    char full[MAX_PATH] = "";
    const DWORD length = GetFullPathNameA(path, MAX_PATH, full, nullptr);
    LoadList(length > 0 && length < MAX_PATH ? full : path, path != defaultPath);
    StartWindowTimer(&frame, kScheduleMs, SCHEDULE_TIMER_ID, nullptr);
    return 1;
}

int32_t CloseFleet() {
    StopWindowTimer(&frame, SCHEDULE_TIMER_ID);
    const int32_t running = StopProbeWorkers(kLongestProbeMs);
    RemoveAllHosts();
    CloseWindow(&frame);
    return running;
}

void ExitFleet() {
    CloseFleet();
    EndProgram();
}

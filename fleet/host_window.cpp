#include <windows.h>
#include <richedit.h>

#include "fleet/fleet.h"

namespace {

// A host's MDI child: the record first, so the record the runtime hands
// back is the whole block.
struct HostWindow {
    WindowRecord record;
    int32_t hostId;
};

constexpr int32_t kStripX = 8;
constexpr int32_t kStripY = 8;
constexpr int32_t kCellWidth = 4;
constexpr int32_t kStripHeight = 16;
constexpr int32_t kLogTop = kStripY + kStripHeight + 8;

struct LineLook {
    const char* label;
    uint32_t color;
    const char* rtfColor;   // index in the colour table of RtfOfRing
};
// By LogKind.
constexpr LineLook kLooks[] = {
    {"Contact successful at ", PackRGB(0, 0, 0), "\\cf1 "},
    {"No response at ", PackRGB(0, 0, 255), "\\cf2 "},
    {"Ping started at ", PackRGB(0, 255, 0), "\\cf3 "},
    {"Ping stopped at ", PackRGB(255, 0, 0), "\\cf4 "},
};
constexpr char kRtfHead[] =
    "{\\rtf1\\ansi{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue0;"
    "\\red255\\green0\\blue0;}";

constexpr COLORREF kStripColors[] = {RGB(192, 192, 192), RGB(0, 192, 0), RGB(224, 0, 0)};

HostWindow* WindowOf(const Host* host) { return static_cast<HostWindow*>(host->window); }

// The ring's lines, newest first as the log shows them, as one RTF
// document: a single stream in instead of a rich edit insertion a line.
char* RtfOfRing(const Host* host) {
    constexpr int32_t kLineRoom = 48;
    char* rtf = AllocString(static_cast<int32_t>(sizeof(kRtfHead)) + host->logCount * kLineRoom + 4);
    if (!rtf)
        return nullptr;
    CopyString(rtf, kRtfHead);
    char line[kLineRoom];
    for (int32_t i = 1; i <= host->logCount; ++i) {
        const uint32_t entry = host->logRing[(host->logNext - i + kLogRingLines) % kLogRingLines];
        AppendString(rtf, kLooks[EntryKind(entry)].rtfColor);
        LogLineText(entry, line, kLineRoom);
        AppendString(rtf, line);
        AppendString(rtf, "\\par\n");
    }
    AppendString(rtf, "}");
    return rtf;
}

void FitLog(WindowRecord* record) {
    int32_t x = 0, y = 0, width = 0, height = 0;
    if (GetClientSize(record, &x, &y, &width, &height) && height > kLogTop)
        MoveControl(record, ID_HOST_LOG, 0, kLogTop, width, height - kLogTop);
}

// The window's own handler, not a table routine: closing frees the record,
// and nothing of the window is touched after its handler returns.
int32_t HostWindowHandler() {
    auto* window = reinterpret_cast<HostWindow*>(messageRecord.window);
    switch (messageRecord.eventCode) {
    case EV_SIZE:
        FitLog(&window->record);
        return 0;
    case EV_CLOSE_WINDOW:
        if (Host* host = FindHost(window->hostId))
            CloseHostWindow(host);
        return 1;
    default:
        return 0;
    }
}

}  // namespace

void LogLineText(uint32_t entry, char* line, int32_t size) {
    char time[9];
    FormatSecond(EntrySecond(entry), time);
    const LogKind kind = EntryKind(entry);
    lstrcpynA(line, kLooks[kind <= LOG_STOPPED ? static_cast<uint32_t>(kind) : 0u].label, size);
    if (StringLength(line) + 9 <= size)
        AppendString(line, time);
}

WindowRecord* OpenHostWindow(Host* host) {
    if (HostWindow* open = WindowOf(host)) {
        SendMessageA(frame.mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(open->record.hwnd), 0);
        return &open->record;
    }
    auto* window = static_cast<HostWindow*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(HostWindow)));
    if (!window)
        return nullptr;
    window->hostId = host->id;
    // A surface as large as the window keeps the strip between paints.
    constexpr uint32_t kFlags = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN | RF_SURFACE_WINDOW;
    if (!OpenWindow(&window->record, CW_USEDEFAULT, CW_USEDEFAULT, 540, 300, kFlags, &frame, host->name, HostWindowHandler)) {
        HeapFree(GetProcessHeap(), 0, window);
        return nullptr;
    }
    host->window = window;
    WindowRecord* record = &window->record;
    CreateControl(record, CT_RICHEDIT, "", 0, kLogTop, 520, 200, WS_VSCROLL | ES_READONLY | ES_MULTILINE, ID_HOST_LOG);
    if (host->logCount > 0) {
        char* rtf = RtfOfRing(host);
        if (rtf)
            SendControlCommand(record, ID_HOST_LOG, CC_ED_STREAM_IN, StrArg(rtf), IntArg(1));
        FreeString(rtf);
        SendControlCommand(record, ID_HOST_LOG, CC_ED_SET_SEL, IntArg(0), IntArg(0));
    }
    FitLog(record);
    DrawHostStrip(host);
    return record;
}

int32_t CloseHostWindow(Host* host) {
    HostWindow* window = WindowOf(host);
    if (!window)
        return 0;
    host->window = nullptr;
    CloseWindow(&window->record);
    HeapFree(GetProcessHeap(), 0, window);
    return 0;
}

Host* ActiveWindowHost() {
    if (!frame.mdiClient)
        return nullptr;
    HWND active = reinterpret_cast<HWND>(SendMessageA(frame.mdiClient, WM_MDIGETACTIVE, 0, 0));
    WindowRecord* record = active ? RecordOfWindow(active) : nullptr;
    if (!record || record == &overview)
        return nullptr;
    return FindHost(reinterpret_cast<HostWindow*>(record)->hostId);
}

HWND HostLogControl(const Host* host) {
    const HostWindow* window = WindowOf(host);
    return window ? GetDlgItem(window->record.hwnd, ID_HOST_LOG) : nullptr;
}

int32_t LogHostLine(Host* host, LogKind kind) {
    const int32_t second = SecondOfDayNow();
    RecordLogLine(host, kind, second);
    HostWindow* window = WindowOf(host);
    if (!window)
        return 0;
    char line[48];
    LogLineText(LogEntry(kind, second), line, sizeof(line));
    return AppendLogLine(&window->record, ID_HOST_LOG, line, kLooks[kind].color);
}

int32_t DrawHostStrip(const Host* host) {
    HostWindow* window = WindowOf(host);
    if (!window)
        return 0;
    HDC dc = AcquireDrawDC(&window->record);
    if (!dc)
        return 0;
    // Newest at the right; cells without an answer yet are grey.
    const int32_t empty = kStripLength - host->stripCount;
    for (int32_t i = 0; i < kStripLength; ++i) {
        const int32_t state = i < empty ? static_cast<int32_t>(HOST_NOT_YET) : host->strip[i - empty];
        SetBkColor(dc, kStripColors[state]);
        const RECT cell{kStripX + i * kCellWidth, kStripY, kStripX + (i + 1) * kCellWidth - 1, kStripY + kStripHeight};
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &cell, nullptr, 0, nullptr);
    }
    ReleaseDrawDC(&window->record, dc, 1);
    return 0;
}

int32_t SaveHostLog(Host* host, const char* path, int32_t rich) {
    WindowRecord* record = OpenHostWindow(host);
    HANDLE file = nullptr;
    if (!record || OpenFileChannel(&file, TY_TEXTFILE, path, "W") != 0)
        return -1;
    const int32_t written = SendControlCommand(record, ID_HOST_LOG, CC_ED_STREAM_OUT, ChannelArg(&file), IntArg(rich ? 1 : 0));
    CloseFileChannel(&file, TY_TEXTFILE);
    return written;
}

int32_t PrintHostLog(Host* host) {
    WindowRecord* record = OpenHostWindow(host);
    return record ? SendControlCommand(record, ID_HOST_LOG, CC_ED_PRINT) : 0;
}

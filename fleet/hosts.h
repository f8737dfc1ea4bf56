#pragma once
// The watched hosts: one record each, their probe figures, their last 120
// answers and the lines of their logs. No windows here.

#include <cstdint>

constexpr int32_t kHostNameSize = 256;        // 255 characters and the terminator
constexpr int32_t kMinimumInterval = 10;      // seconds, the monitor's rule
constexpr int32_t kStripLength = 120;         // answers the availability strip shows
constexpr int32_t kLogRingLines = 200;        // lines a host keeps for its log window

enum HostState : int32_t { HOST_NOT_YET = 0, HOST_UP = 1, HOST_DOWN = 2 };

// What a log line says; its text and colour are the monitor's.
enum LogKind : uint32_t { LOG_CONTACT = 0, LOG_NO_RESPONSE = 1, LOG_STARTED = 2, LOG_STOPPED = 3 };

struct Host {
    int32_t id;                  // unique for the life of the process, never reused
    char name[kHostNameSize];
    int32_t intervalSeconds;
    int32_t alert;               // 1: a failure may open the "Failure" box
    int32_t started;
    int32_t epoch;               // results of probes sent under another epoch are dropped
    int32_t inFlight;            // 1 while a probe for this host is out
    uint32_t nextDueTick;        // GetTickCount when the next probe is due
    HostState state;
    char since[9];               // "hh:mm:ss" of the last change of state, "" before one
    int32_t probes;
    int32_t failures;
    int32_t lastMs;
    int64_t totalMs;
    uint8_t strip[kStripLength]; // HostState of each answer, oldest first
    int32_t stripCount;
    uint32_t* logRing;           // kLogRingLines entries (LogEntry), allocated at the first line
    int32_t logNext;             // where the next line goes
    int32_t logCount;
    void* window;                // the program's window for this host while one is open
    int32_t row;                 // where the overview shows it
};

// A log line as kept: the kind in the top byte, the second of the day below.
constexpr uint32_t LogEntry(LogKind kind, int32_t secondOfDay) {
    return (static_cast<uint32_t>(kind) << 24) | static_cast<uint32_t>(secondOfDay);
}
constexpr LogKind EntryKind(uint32_t entry) { return static_cast<LogKind>(entry >> 24); }
constexpr int32_t EntrySecond(uint32_t entry) { return static_cast<int32_t>(entry & 0xFFFFFF); }

// A new host, stopped, with no figures, added at the end of the table.
// The table owns it; null when memory ran out.
Host* AddHost(const char* name, int32_t intervalSeconds, int32_t alert);
// The host with that id, or null (removed, or never added).
Host* FindHost(int32_t id);
// Removes and frees the host. Returns 1, or 0 when there is no such host.
int32_t RemoveHost(int32_t id);
// Hosts in the table, and the one at index (0 to count - 1), in the order
// they were added.
int32_t HostCount();
Host* HostAt(int32_t index);

// Counts the table's hosts by state, and those with a probe out.
struct HostTotals {
    int32_t hosts;
    int32_t up;
    int32_t down;
    int32_t probing;
};
HostTotals CountHosts();

// Books one answer: the figures, the strip, and since when the state
// changed (secondOfDay: local time). Returns 1 when the state
// changed.
int32_t RecordAnswer(Host* host, int32_t reachable, int32_t elapsedMs, int32_t secondOfDay);
// Adds a line to the host's log ring, dropping the oldest beyond its size.
void RecordLogLine(Host* host, LogKind kind, int32_t secondOfDay);
// Forgets the figures, the strip and the state (the host was renamed).
void ResetFigures(Host* host);

// Availability in percent (answers that reached the host), 0 with no probe.
int32_t AvailabilityPercent(const Host* host);
// Average time of a probe call in ms, 0 with no probe.
int32_t AverageMs(const Host* host);

// The second of the day, local time.
int32_t SecondOfDayNow();
// "hh:mm:ss" for a second of the day into text (9 bytes).
void FormatSecond(int32_t secondOfDay, char* text);

#include "fleet/hosts.h"

#include <windows.h>

namespace {

// In id order: hosts are only ever added with a larger id, so the table
// stays sorted and a result finds its host by binary search.
// A plain array: the C++ library's containers would bring its exception
// machinery into a program that has none (a quarter of a megabyte).
Host** table;
int32_t tableCount;
int32_t tableCapacity;
int32_t lastId;

bool MakeRoom() {
    if (tableCount < tableCapacity)
        return true;
    const int32_t capacity = tableCapacity ? tableCapacity * 2 : 64;
    const SIZE_T bytes = sizeof(Host*) * static_cast<SIZE_T>(capacity);
    void* grown = table ? HeapReAlloc(GetProcessHeap(), 0, table, bytes) : HeapAlloc(GetProcessHeap(), 0, bytes);
    if (!grown)
        return false;
    table = static_cast<Host**>(grown);
    tableCapacity = capacity;
    return true;
}

int32_t IndexOf(int32_t id) {
    int32_t low = 0;
    int32_t high = tableCount - 1;
    while (low <= high) {
        const int32_t middle = (low + high) / 2;
        const int32_t found = table[middle]->id;
        if (found == id)
            return middle;
        if (found < id)
            low = middle + 1;
        else
            high = middle - 1;
    }
    return -1;
}

}  // namespace

Host* AddHost(const char* name, int32_t intervalSeconds, int32_t alert) {
    auto* host = MakeRoom() ? static_cast<Host*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Host))) : nullptr;
    if (!host)
        return nullptr;
    host->id = ++lastId;
    lstrcpynA(host->name, name, kHostNameSize);
    host->intervalSeconds = intervalSeconds;
    host->alert = alert ? 1 : 0;
    table[tableCount++] = host;
    return host;
}

Host* FindHost(int32_t id) {
    const int32_t index = IndexOf(id);
    return index < 0 ? nullptr : table[index];
}

int32_t RemoveHost(int32_t id) {
    const int32_t index = IndexOf(id);
    if (index < 0)
        return 0;
    Host* host = table[index];
    MoveMemory(table + index, table + index + 1, sizeof(Host*) * static_cast<SIZE_T>(tableCount - index - 1));
    --tableCount;
    if (host->logRing)
        HeapFree(GetProcessHeap(), 0, host->logRing);
    HeapFree(GetProcessHeap(), 0, host);
    return 1;
}

int32_t HostCount() { return tableCount; }

Host* HostAt(int32_t index) {
    return index >= 0 && index < tableCount ? table[index] : nullptr;
}

HostTotals CountHosts() {
    HostTotals totals{HostCount(), 0, 0, 0};
    for (int32_t i = 0; i < tableCount; ++i) {
        const Host* host = table[i];
        totals.up += host->state == HOST_UP;
        totals.down += host->state == HOST_DOWN;
        totals.probing += host->inFlight;
    }
    return totals;
}

void RecordLogLine(Host* host, LogKind kind, int32_t secondOfDay) {
    if (!host->logRing) {
        host->logRing = static_cast<uint32_t*>(
            HeapAlloc(GetProcessHeap(), 0, sizeof(uint32_t) * kLogRingLines));
        if (!host->logRing)
            return;
    }
    host->logRing[host->logNext] = LogEntry(kind, secondOfDay);
    host->logNext = (host->logNext + 1) % kLogRingLines;
    if (host->logCount < kLogRingLines)
        ++host->logCount;
}

int32_t RecordAnswer(Host* host, int32_t reachable, int32_t elapsedMs, int32_t secondOfDay) {
    const HostState state = reachable ? HOST_UP : HOST_DOWN;
    ++host->probes;
    host->failures += reachable ? 0 : 1;
    host->lastMs = elapsedMs;
    host->totalMs += elapsedMs;
    if (host->stripCount == kStripLength) {
        MoveMemory(host->strip, host->strip + 1, kStripLength - 1);
        --host->stripCount;
    }
    host->strip[host->stripCount++] = static_cast<uint8_t>(state);
    if (host->state == state)
        return 0;
    host->state = state;
    FormatSecond(secondOfDay, host->since);
    return 1;
}

void ResetFigures(Host* host) {
    host->state = HOST_NOT_YET;
    host->since[0] = '\0';
    host->probes = 0;
    host->failures = 0;
    host->lastMs = 0;
    host->totalMs = 0;
    host->stripCount = 0;
}

int32_t AvailabilityPercent(const Host* host) {
    if (host->probes <= 0)
        return 0;
    return static_cast<int32_t>(static_cast<int64_t>(host->probes - host->failures) * 100 / host->probes);
}

int32_t AverageMs(const Host* host) {
    return host->probes > 0 ? static_cast<int32_t>(host->totalMs / host->probes) : 0;
}

int32_t SecondOfDayNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
}

void FormatSecond(int32_t secondOfDay, char* text) {
    wsprintfA(text, "%02d:%02d:%02d", secondOfDay / 3600 % 100, secondOfDay / 60 % 60, secondOfDay % 60);
}

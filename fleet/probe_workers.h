#pragma once
// Probe threads: each probe calls the reachability service on a worker
// thread and posts its answer to a window, so the window's thread never
// waits on the network.
//
// The runtime has no threads of its own and its calls belong to the window's
// thread, so the workers are plain Win32 threads and talk to the window only
// through PostMessageA.

#include <windows.h>

#include <cstdint>

// The answer's message: wParam the host's id, lParam ProbeAnswer packed.
constexpr UINT WM_PROBE_ANSWER = WM_APP + 1;

struct ProbeAnswer {
    int32_t epoch;       // the host's epoch when the probe was sent (15 bits)
    int32_t reachable;   // 1 or 0
    int32_t elapsedMs;   // the call's time, at most 65,535
};
constexpr LPARAM PackAnswer(const ProbeAnswer& a) {
    return static_cast<LPARAM>((static_cast<uint32_t>(a.epoch & 0x7FFF) << 17) |
                               (static_cast<uint32_t>(a.reachable & 1) << 16) |
                               static_cast<uint32_t>(a.elapsedMs > 0xFFFF ? 0xFFFF : a.elapsedMs));
}
constexpr ProbeAnswer UnpackAnswer(LPARAM packed) {
    const auto bits = static_cast<uint32_t>(packed);
    return ProbeAnswer{static_cast<int32_t>(bits >> 17), static_cast<int32_t>((bits >> 16) & 1),
                       static_cast<int32_t>(bits & 0xFFFF)};
}

// The longest a probe call can take (name resolution and answers).
constexpr DWORD kLongestProbeMs = 2500;
// Workers alive at most; more probes than this wait in the queue.
constexpr int32_t kMaxProbeWorkers = 64;

// Answers go to window as WM_PROBE_ANSWER. Returns 1, or 0 without memory.
int32_t StartProbeWorkers(HWND window);
// Queues a probe of name for the host. Returns 1, or 0 when the workers
// are stopped or memory ran out (nothing queued).
int32_t QueueProbe(int32_t hostId, int32_t epoch, const char* name);
// Drops the queued probes, lets the workers finish the calls they are in
// and waits up to waitMs for them to end; no thread is ever killed. Returns
// the workers still in a call when the wait ended (0: all ended).
int32_t StopProbeWorkers(DWORD waitMs);
// Worker threads alive now.
int32_t ProbeWorkerCount();

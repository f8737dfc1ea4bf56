#include "fleet/probe_workers.h"

#include <sensapi.h>

#include <array>

namespace {

struct ProbeJob {
    int32_t hostId;
    int32_t epoch;
    char name[256];
};

// Everything below is shared by the window's thread and the workers and
// read or written only inside the lock.
CRITICAL_SECTION lock;
HANDLE jobsWaiting;            // semaphore: one count per queued job, or per worker told to stop
// A ring of waiting jobs, grown as needed (at most one job a host). A
// plain array: the C++ library's containers would bring its exception
// machinery into a program that has none.
ProbeJob* ring;
int32_t ringCapacity;
int32_t ringHead;
int32_t ringCount;
HWND answerWindow;
bool stopping;
int32_t idleWorkers;
std::array<HANDLE, kMaxProbeWorkers> workers;
int32_t workerCount;

constexpr DWORD kWorkerStackBytes = 128 * 1024;   // the probe needs little; 64 threads

// Takes the next job, waiting for one. False when the workers stop. A
// count left over from a stop that found no worker waiting takes nothing.
bool TakeJob(ProbeJob* job) {
    for (;;) {
        EnterCriticalSection(&lock);
        ++idleWorkers;
        LeaveCriticalSection(&lock);
        WaitForSingleObject(jobsWaiting, INFINITE);
        EnterCriticalSection(&lock);
        --idleWorkers;
        const bool stop = stopping;
        const bool taken = !stop && ringCount > 0;
        if (taken) {
            *job = ring[ringHead];
            ringHead = (ringHead + 1) % ringCapacity;
            --ringCount;
        }
        LeaveCriticalSection(&lock);
        if (stop || taken)
            return taken;
    }
}

DWORD WINAPI ProbeWorker(void*) {
    ProbeJob job{};
    while (TakeJob(&job)) {
        LARGE_INTEGER frequency{}, start{}, end{};
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        const BOOL reachable = IsDestinationReachableA(job.name, nullptr);
        QueryPerformanceCounter(&end);
        const auto elapsed = static_cast<int32_t>((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
        const LPARAM answer = PackAnswer(ProbeAnswer{job.epoch, reachable == TRUE ? 1 : 0, elapsed});
        EnterCriticalSection(&lock);
        HWND window = stopping ? nullptr : answerWindow;
        LeaveCriticalSection(&lock);
        // A full queue (10,000 posted messages) refuses; the answer would be
        // lost and the host never probed again, so wait for room.
        while (window && !PostMessageA(window, WM_PROBE_ANSWER, static_cast<WPARAM>(job.hostId), answer) &&
               IsWindow(window))
            Sleep(10);
    }
    return 0;
}

// Room for one more job, keeping the order; inside the lock.
bool RingRoom() {
    if (ringCount < ringCapacity)
        return true;
    const int32_t capacity = ringCapacity ? ringCapacity * 2 : 256;
    auto* grown = static_cast<ProbeJob*>(HeapAlloc(GetProcessHeap(), 0, sizeof(ProbeJob) * static_cast<SIZE_T>(capacity)));
    if (!grown)
        return false;
    for (int32_t i = 0; i < ringCount; ++i)
        grown[i] = ring[(ringHead + i) % ringCapacity];
    if (ring)
        HeapFree(GetProcessHeap(), 0, ring);
    ring = grown;
    ringCapacity = capacity;
    ringHead = 0;
    return true;
}

}  // namespace

int32_t StartProbeWorkers(HWND window) {
    static bool ready = false;
    if (!ready) {
        InitializeCriticalSection(&lock);
        jobsWaiting = CreateSemaphoreA(nullptr, 0, 0x7FFFFFFF, nullptr);
        ready = jobsWaiting != nullptr;
        if (!ready)
            return 0;
    }
    EnterCriticalSection(&lock);
    answerWindow = window;
    stopping = false;
    LeaveCriticalSection(&lock);
    return 1;
}

int32_t QueueProbe(int32_t hostId, int32_t epoch, const char* name) {
    ProbeJob job{hostId, epoch, {}};
    lstrcpynA(job.name, name, sizeof(job.name));
    EnterCriticalSection(&lock);
    if (stopping || !answerWindow || !RingRoom()) {
        LeaveCriticalSection(&lock);
        return 0;
    }
    ring[(ringHead + ringCount++) % ringCapacity] = job;
    const bool needWorker = idleWorkers == 0 && workerCount < kMaxProbeWorkers;
    if (needWorker) {
        HANDLE worker = CreateThread(nullptr, kWorkerStackBytes, ProbeWorker, nullptr,
                                     STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
        if (worker)
            workers[static_cast<size_t>(workerCount++)] = worker;
    }
    LeaveCriticalSection(&lock);
    ReleaseSemaphore(jobsWaiting, 1, nullptr);
    return 1;
}

int32_t StopProbeWorkers(DWORD waitMs) {
    EnterCriticalSection(&lock);
    stopping = true;
    ringHead = 0;
    ringCount = 0;
    const int32_t count = workerCount;
    LeaveCriticalSection(&lock);
    if (count == 0)
        return 0;
    ReleaseSemaphore(jobsWaiting, count, nullptr);
    WaitForMultipleObjects(static_cast<DWORD>(count), workers.data(), TRUE, waitMs);
    int32_t running = 0;
    EnterCriticalSection(&lock);
    for (int32_t i = 0; i < count; ++i) {
        if (WaitForSingleObject(workers[static_cast<size_t>(i)], 0) == WAIT_OBJECT_0)
            CloseHandle(workers[static_cast<size_t>(i)]);
        else
            workers[static_cast<size_t>(running++)] = workers[static_cast<size_t>(i)];
    }
    workerCount = running;
    LeaveCriticalSection(&lock);
    return running;
}

int32_t ProbeWorkerCount() {
    EnterCriticalSection(&lock);
    const int32_t count = workerCount;
    LeaveCriticalSection(&lock);
    return count;
}

// A console program that loads the sensapi.dll built beside Reachlet.exe,
// asks it one question, possibly several times, and prints the answers, one
// line per call:
//   result=<0|1> error=<last error> ms=<elapsed> us=<elapsed> [qoc=<size>,<flags>,<in>,<out>] [flags=<n>]
// The first line says whether the module is the one built here (native=1)
// or Wine's own (native=0). Usage:
//   sensapi_probe a|w|qoc|small-qoc <destination> [repeat]
//   sensapi_probe null|empty|alive|alive-null [repeat]
//   sensapi_probe flood <name> <address> <count>
// flood asks about name count times from many threads at once, and about
// address after every tenth, in rounds; before the first round and after
// each it prints the process's threads and reserved address space, and at
// the end one line for each distinct answer of each destination:
//   sample=<round> threads=<n> reserved_kib=<n>
//   result=<0|1> error=<last error> count=<n> ms=<slowest> asked=<destination>

#include <windows.h>
#include <sensapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <tuple>

namespace {

using ReachableA = BOOL(WINAPI*)(LPCSTR, LPQOCINFO);
using ReachableW = BOOL(WINAPI*)(LPCWSTR, LPQOCINFO);
using NetworkAlive = BOOL(WINAPI*)(LPDWORD);

// A QOCINFO that the call under test may or may not fill.
constexpr DWORD kUntouched = 0xA5A5A5A5;

std::string DllPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.find_last_of("\\/") + 1);
    return folder + "..\\app\\sensapi.dll";
}

// void (*)() converts to and from any function pointer type without a warning.
template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Wine marks the PE images of its own DLLs in the DOS stub.
bool IsWineBuiltin(HMODULE module) {
    return std::memcmp(reinterpret_cast<const char*>(module) + 0x40, "Wine builtin DLL", 16) == 0;
}

struct Flood {
    ReachableA reachable;
    std::array<const char*, 2> destinations;
    LONG tickets;
    CRITICAL_SECTION lock;
    std::map<std::tuple<int, BOOL, DWORD>, std::pair<int, DWORD>> answers;
};

DWORD WINAPI FloodCaller(void* parameter) {
    auto& flood = *static_cast<Flood*>(parameter);
    for (LONG ticket; (ticket = InterlockedDecrement(&flood.tickets)) >= 0;)
        for (int asked = 0; asked < (ticket % 10 == 0 ? 2 : 1); ++asked) {
            SetLastError(kUntouched);
            const DWORD start = GetTickCount();
            const BOOL result = flood.reachable(flood.destinations[asked], nullptr);
            const DWORD error = GetLastError();
            const DWORD elapsed = GetTickCount() - start;
            EnterCriticalSection(&flood.lock);
            auto& [count, slowest] = flood.answers[{asked, result, error}];
            ++count;
            slowest = std::max(slowest, elapsed);
            LeaveCriticalSection(&flood.lock);
        }
    return 0;
}

void PrintSample(int round) {
    int threads = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread))
        threads += thread.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    CloseHandle(snapshot);
    uintptr_t reserved = 0;
    MEMORY_BASIC_INFORMATION region;
    for (uintptr_t at = 0; VirtualQuery(reinterpret_cast<void*>(at), &region, sizeof region) == sizeof region;) {
        if (region.State != MEM_FREE)
            reserved += region.RegionSize;
        const uintptr_t next = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    std::printf("sample=%d threads=%d reserved_kib=%lu\n", round, threads, static_cast<unsigned long>(reserved / 1024));
}

int RunFlood(ReachableA reachable, const char* name, const char* address, int count) {
    constexpr int kRounds = 8;
    constexpr int kCallers = 100;
    Flood flood{reachable, {name, address}, 0, {}, {}};
    InitializeCriticalSection(&flood.lock);
    PrintSample(0);
    for (int round = 1; round <= kRounds; ++round) {
        flood.tickets = count / kRounds;
        std::array<HANDLE, kCallers> callers{};
        for (HANDLE& caller : callers)
            caller = CreateThread(nullptr, 64 * 1024, FloodCaller, &flood, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
        for (HANDLE caller : callers)
            if (caller) {
                WaitForSingleObject(caller, INFINITE);
                CloseHandle(caller);
            }
        PrintSample(round);
    }
    for (const auto& [key, tally] : flood.answers)
        std::printf("result=%d error=%lu count=%d ms=%lu asked=%s\n", std::get<1>(key), std::get<2>(key),
                    tally.first, tally.second, flood.destinations[static_cast<size_t>(std::get<0>(key))]);
    DeleteCriticalSection(&flood.lock);
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: sensapi_probe mode [destination] [repeat]\n");
        return 2;
    }
    const std::string mode = argv[1];
    const bool takesDestination = mode == "a" || mode == "w" || mode == "qoc" || mode == "small-qoc";
    if (takesDestination && argc < 3) {
        std::fprintf(stderr, "mode %s needs a destination\n", mode.c_str());
        return 2;
    }
    const char* destination = takesDestination ? argv[2] : "";
    const int repeatArg = takesDestination ? 3 : 2;
    const int repeat = argc > repeatArg ? std::atoi(argv[repeatArg]) : 1;

    HMODULE module = LoadLibraryA(DllPath().c_str());
    if (!module) {
        std::printf("load failed error=%lu\n", GetLastError());
        return 3;
    }
    const auto reachableA = Export<ReachableA>(module, "IsDestinationReachableA");
    const auto reachableW = Export<ReachableW>(module, "IsDestinationReachableW");
    const auto networkAlive = Export<NetworkAlive>(module, "IsNetworkAlive");
    std::printf("native=%d exports=%d\n", IsWineBuiltin(module) ? 0 : 1,
                reachableA && reachableW && networkAlive ? 1 : 0);
    if (!reachableA || !reachableW || !networkAlive)
        return 3;

    if (mode == "flood")
        return argc < 5 ? 2 : RunFlood(reachableA, argv[2], argv[3], std::atoi(argv[4]));

    wchar_t wide[1024] = {};
    MultiByteToWideChar(CP_ACP, 0, destination, -1, wide, 1024);
    for (int i = 0; i < repeat; ++i) {
        QOCINFO quality{kUntouched, kUntouched, kUntouched, kUntouched};
        quality.dwSize = mode == "small-qoc" ? 8 : sizeof(QOCINFO);
        DWORD flags = kUntouched;
        SetLastError(kUntouched);
        LARGE_INTEGER frequency;
        LARGE_INTEGER before;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&before);
        const DWORD start = GetTickCount();
        BOOL result = FALSE;
        if (mode == "a")
            result = reachableA(destination, nullptr);
        else if (mode == "w")
            result = reachableW(wide, nullptr);
        else if (mode == "qoc" || mode == "small-qoc")
            result = reachableA(destination, &quality);
        else if (mode == "null")
            result = reachableA(nullptr, &quality);
        else if (mode == "empty")
            result = reachableA("", &quality);
        else if (mode == "alive")
            result = networkAlive(&flags);
        else if (mode == "alive-null")
            result = networkAlive(nullptr);
        else {
            std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
            return 2;
        }
        const DWORD error = GetLastError();
        const DWORD elapsed = GetTickCount() - start;
        LARGE_INTEGER after;
        QueryPerformanceCounter(&after);
        const long long micros = (after.QuadPart - before.QuadPart) * 1000000 / frequency.QuadPart;
        std::printf("result=%d error=%lu ms=%lu us=%lld", result, error, elapsed, micros);
        if (mode != "a" && mode != "w" && mode != "alive" && mode != "alive-null")
            std::printf(" qoc=%lu,%lu,%lu,%lu", quality.dwSize, quality.dwFlags, quality.dwInSpeed,
                        quality.dwOutSpeed);
        if (mode == "alive")
            std::printf(" flags=%lu", flags);
        std::printf("\n");
    }
    std::fflush(stdout);
    return 0;
}

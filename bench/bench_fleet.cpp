// Reachlet Fleet under load, in this process: its real frame, overview and
// probe threads, hosts added at a 5-second interval.
//   live  500 loopback hosts, 127.0.0.1 to 127.0.1.244, through the
//         project's sensapi.dll (a copy of this program sits beside it in
//         fleet-live\)
//   dead  200 hosts through a stand-in sensapi.dll that answers "not
//         reachable" after a second (fleet-dead\): 40 probes out at a time
// For each: probes booked per host per interval, the frame's answer to
// WM_NULL sent from another thread (99th percentile, with no hosts and under
// load), and the heap bytes in use at the first minute and at the end.
// Without a mode it runs both as children, then times the shipped
// ReachletFleet.exe from its start to its list's rows all in, with 500 hosts
// in the list and with none.
//   bench_fleet [live|dead] [--quick | --emulated]

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_stats.h"
#include "fleet/fleet.h"

namespace {

constexpr int32_t kInterval = 5;

struct Sampler {
    HWND window;
    volatile LONG stop;
    std::vector<double> ms;   // the answers' times, in order
};

// Sends WM_NULL every 100 ms and times the answer.
DWORD WINAPI SampleAnswers(void* parameter) {
    auto* sampler = static_cast<Sampler*>(parameter);
    while (!sampler->stop) {
        DWORD_PTR result = 0;
        const double start = bench::Seconds();
        SendMessageTimeoutA(sampler->window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        sampler->ms.push_back((bench::Seconds() - start) * 1000);
        Sleep(100);
    }
    return 0;
}

double Percentile99(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, values.size() * 99 / 100)];
}

// Runs the frame's message loop for seconds.
void RunFor(double seconds) {
    const double end = bench::Seconds() + seconds;
    while (bench::Seconds() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        WaitEvents(1);
    }
}

int64_t ProbesBooked() {
    int64_t probes = 0;
    for (int32_t i = 0; i < HostCount(); ++i)
        probes += HostAt(i)->probes;
    return probes;
}

int RunLoad(const std::string& mode, bool quick, bool emulated) {
    CreateStringHeap();
    const int hosts = mode == "live" ? 500 : 200;
    const double idleSeconds = quick ? 3 : 30;
    const double loadSeconds = quick ? 15 : 600;
    const double firstMinute = quick ? 5 : 60;
    (void)emulated;

    const std::string list = bench::ProgramFolder() + "\\empty-list.txt";
    CloseHandle(CreateFileA(list.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (OpenFleet(list.c_str()) != 1) {
        std::printf("error fleet: no frame\n");
        return 1;
    }
    Sampler sampler{frame.hwnd, 0, {}};
    // Room for every sample first: a vector growing during the run would
    // count as the frame's heap growing: 56 KiB of it in ten minutes.
    sampler.ms.reserve(static_cast<size_t>((idleSeconds + loadSeconds) * 10 * 2));
    HANDLE thread = CreateThread(nullptr, 0, SampleAnswers, &sampler, 0, nullptr);
    RunFor(idleSeconds);
    const size_t idleCount = sampler.ms.size();

    const uint32_t now = GetTickCount();
    for (int i = 1; i <= hosts; ++i) {
        char name[32];
        wsprintfA(name, "127.0.%d.%d", i / 256, i % 256);
        Host* host = AddHost(name, kInterval, 0);
        AddHostRow(host);
        StartHost(host);
        host->nextDueTick = now + static_cast<uint32_t>(i % 100) * kInterval * 10;
    }
    RunFor(firstMinute);
    const double heapFirst = bench::HeapInUseKiB();
    const int64_t probesFirst = ProbesBooked();
    const double timeFirst = bench::Seconds();
    RunFor(loadSeconds - firstMinute);
    const double heapEnd = bench::HeapInUseKiB();
    const double rate = static_cast<double>(ProbesBooked() - probesFirst) /
                        (hosts * (bench::Seconds() - timeFirst) / kInterval);
    InterlockedExchange(&sampler.stop, 1);
    // The sampler may be waiting on the frame: keep answering until it ends.
    while (WaitForSingleObject(thread, 50) == WAIT_TIMEOUT)
        WaitEvents(1);
    CloseHandle(thread);
    const std::vector<double> idle(sampler.ms.begin(), sampler.ms.begin() + static_cast<long>(idleCount));
    const std::vector<double> load(sampler.ms.begin() + static_cast<long>(idleCount), sampler.ms.end());
    CloseFleet();

    const std::string key = "fleet." + mode;
    bench::Report((key + ".rate").c_str(), "probes", {rate});
    bench::Report((key + ".null.idle").c_str(), "ms", {Percentile99(idle)});
    bench::Report((key + ".null.load").c_str(), "ms", {Percentile99(load)});
    bench::Report((key + ".heap.first").c_str(), "KiB", {heapFirst});
    bench::Report((key + ".heap.end").c_str(), "KiB", {heapEnd});
    return 0;
}

// Seconds from CreateProcess to the overview holding rows rows; negative
// when the program did not get there within 120 s.
double TimeToRows(const std::string& program, const std::string& list, int rows) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + program + "\" \"" + list + "\"";
    const double start = bench::Seconds();
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return -1;
    HWND found = nullptr;
    double elapsed = -1;
    while (bench::Seconds() - start < 120) {
        found = FindWindowExA(nullptr, nullptr, kFrameClassName, nullptr);
        HWND client = found ? GetDlgItem(found, MDI_CLIENT_ID) : nullptr;
        HWND overviewWindow = client ? FindWindowExA(client, nullptr, kWindowClassName, "Hosts") : nullptr;
        HWND listView = overviewWindow ? FindWindowExA(overviewWindow, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
        if (listView && IsWindowVisible(found) && SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0) == rows) {
            elapsed = bench::Seconds() - start;
            break;
        }
        if (WaitForSingleObject(info.hProcess, 2) == WAIT_OBJECT_0)
            break;
    }
    bench::CloseStartedProgram(info, found);
    return elapsed;
}

void MeasureStartUp(bool quick) {
    const std::string folder = bench::ProgramFolder();
    const std::string program = folder + "\\..\\app\\ReachletFleet.exe";
    const std::string none = folder + "\\fleet-none.txt";
    const std::string many = folder + "\\fleet-500.txt";
    std::string text;
    for (int i = 1; i <= 500; ++i)
        text += "127.0." + std::to_string(i / 256) + "." + std::to_string(i % 256) + " 10 0\r\n";
    for (const auto& [path, content] : {std::pair{none, std::string()}, std::pair{many, text}}) {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f) {
            std::fwrite(content.data(), 1, content.size(), f);
            std::fclose(f);
        }
    }
    std::vector<double> noneRuns, manyRuns;
    for (int round = 0; round < (quick ? 1 : 5); ++round) {
        noneRuns.push_back(TimeToRows(program, none, 0) * 1000);
        manyRuns.push_back(TimeToRows(program, many, 500) * 1000);
    }
    bench::Report("fleet.startup.500", "ms", manyRuns);
    bench::Report("fleet.startup.0", "ms", noneRuns);
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = bench::HasArg(argc, argv, "--quick");
    const bool emulated = bench::HasArg(argc, argv, "--emulated");
    if (bench::HasArg(argc, argv, "live"))
        return RunLoad("live", quick, emulated);
    if (bench::HasArg(argc, argv, "dead"))
        return RunLoad("dead", quick, emulated);

    // The children and the program load the sensapi.dll beside them, not
    // Wine's own (which answers TRUE at once).
    char overrides[512] = "";
    GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof(overrides));
    SetEnvironmentVariableA("WINEDLLOVERRIDES", (std::string(overrides) + ";sensapi=n,b").c_str());
    const std::string scale = quick ? " --quick" : emulated ? " --emulated" : "";
    const std::string folder = bench::ProgramFolder();
    int failed = 0;
    for (const char* mode : {"live", "dead"}) {
        const std::string child = folder + "\\fleet-" + mode + "\\bench_fleet.exe";
        if (bench::RunChild("\"" + child + "\" " + mode + scale) != 0) {
            std::printf("error fleet %s: the child failed\n", mode);
            failed = 1;
        }
    }
    MeasureStartUp(quick);

    bench::Row("Fleet, 500 live hosts at 5 s: probes per host per interval", "fleet.live.rate", "-", ">=0.95");
    bench::Row("Fleet, 500 live hosts: WM_NULL answer p99, loaded / idle", "fleet.live.null.load", "fleet.live.null.idle", "<=2");
    bench::Row("Fleet, 500 live hosts: heap in use at the end / minute 1", "fleet.live.heap.end", "fleet.live.heap.first", "<=1.1");
    bench::Row("Fleet, 200 dead hosts at 5 s: probes per host per interval", "fleet.dead.rate", "-", ">=0.95");
    bench::Row("Fleet, 200 dead hosts: WM_NULL answer p99, loaded / idle", "fleet.dead.null.load", "fleet.dead.null.idle", "<=2");
    bench::Row("Fleet, 200 dead hosts: heap in use at the end / minute 1", "fleet.dead.heap.end", "fleet.dead.heap.first", "<=1.1");
    bench::Row("Fleet start-up to its rows, 500 hosts / none", "fleet.startup.500", "fleet.startup.0", "<=1.5");
    bench::Note("Fleet: the live and dead runs last 10 minutes each (15 s in the quick mode), the first minute "
                "being the heap's and the rate's start; the idle WM_NULL figure is the same frame with no hosts");
    return failed;
}

// The sensapi.dll built beside Reachlet.exe, loaded under Wine the way the
// monitor gets it (sensapi preferred native), probing loopback only. The
// cases that need an unreachable host or a missing resolver run in network
// namespaces of their own (isolated_probe.sh).

#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>
#include <sensapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

using ReachableA = BOOL(WINAPI*)(LPCSTR, LPQOCINFO);
using ReachableW = BOOL(WINAPI*)(LPCWSTR, LPQOCINFO);
using NetworkAlive = BOOL(WINAPI*)(LPDWORD);

constexpr DWORD kUntouched = 0xA5A5A5A5;

template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

QOCINFO UntouchedQuality(DWORD size = sizeof(QOCINFO)) {
    return QOCINFO{size, kUntouched, kUntouched, kUntouched};
}

void ExpectUntouched(const QOCINFO& quality, DWORD size = sizeof(QOCINFO)) {
    EXPECT_EQ(quality.dwSize, size);
    EXPECT_EQ(quality.dwFlags, kUntouched);
    EXPECT_EQ(quality.dwInSpeed, kUntouched);
    EXPECT_EQ(quality.dwOutSpeed, kUntouched);
}

class SensapiTest : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryA(BuildPath("app\\sensapi.dll").c_str());
        ASSERT_NE(module_, nullptr) << "error " << GetLastError();
        // Wine marks its own DLLs in the DOS stub; this must be the one built here.
        ASSERT_NE(std::memcmp(reinterpret_cast<const char*>(module_) + 0x40, "Wine builtin DLL", 16), 0);
        reachableA_ = Export<ReachableA>(module_, "IsDestinationReachableA");
        reachableW_ = Export<ReachableW>(module_, "IsDestinationReachableW");
        networkAlive_ = Export<NetworkAlive>(module_, "IsNetworkAlive");
        ASSERT_NE(reachableA_, nullptr);
        ASSERT_NE(reachableW_, nullptr);
        ASSERT_NE(networkAlive_, nullptr);
    }
    void TearDown() override {
        if (module_)
            FreeLibrary(module_);
    }

    // The answer and the last error, the last error preset to garbage.
    std::pair<BOOL, DWORD> AskA(const char* destination, QOCINFO* quality = nullptr) {
        SetLastError(kUntouched);
        const BOOL result = reachableA_(destination, quality);
        return {result, GetLastError()};
    }
    std::pair<BOOL, DWORD> AskW(const wchar_t* destination, QOCINFO* quality = nullptr) {
        SetLastError(kUntouched);
        const BOOL result = reachableW_(destination, quality);
        return {result, GetLastError()};
    }

    HMODULE module_ = nullptr;
    ReachableA reachableA_ = nullptr;
    ReachableW reachableW_ = nullptr;
    NetworkAlive networkAlive_ = nullptr;
};

using Answer = std::pair<BOOL, DWORD>;
const Answer kReached{TRUE, ERROR_SUCCESS};
const Answer kInvalid{FALSE, ERROR_INVALID_PARAMETER};

TEST_F(SensapiTest, LoopbackAddressesAndLocalhostAreReachable) {
    EXPECT_EQ(AskA("127.0.0.1"), kReached);
    EXPECT_EQ(AskA("::1"), kReached);
    EXPECT_EQ(AskA("localhost"), kReached);
    // Any address of 127/8 is the loopback interface's.
    EXPECT_EQ(AskA("127.9.8.7"), kReached);
    // The same again: nothing is left over from the first calls.
    EXPECT_EQ(AskA("127.0.0.1"), kReached);
}

constexpr int kQueries = 12;

struct Worker {
    ReachableA ask;
    HANDLE go;
    int thread;
    int reached;
    int qualities;
    std::string faults;
};

DWORD WINAPI AskMany(void* parameter) {
    auto* w = static_cast<Worker*>(parameter);
    WaitForSingleObject(w->go, INFINITE);
    for (int q = 0; q < kQueries; ++q) {
        // Numeric addresses, and names that take a resolver thread.
        char destination[32];
        if (q % 4 == 3)
            std::strcpy(destination, (w->thread + q) % 2 ? "localhost" : "::1");
        else
            std::snprintf(destination, sizeof(destination), "127.0.%d.%d", w->thread, q + 1);
        QOCINFO quality = UntouchedQuality();
        SetLastError(kUntouched);
        const BOOL reached = w->ask(destination, &quality);
        const DWORD error = GetLastError();
        if (reached == TRUE && error == ERROR_SUCCESS)
            ++w->reached;
        else
            w->faults += std::string(destination) + " answered " + std::to_string(reached) + " error " +
                         std::to_string(error) + "; ";
        w->qualities += quality.dwFlags != kUntouched;
    }
    return 0;
}

// Many threads at once, as a program probing many hosts calls it: every
// query answers as it would alone. Winsock is started and ended by each
// query, and the last end closes every socket still open in the process;
// a start or end that raced another would close a query's socket under it.
TEST_F(SensapiTest, QueriesOnManyThreadsAtOnceEachAnswerAsAlone) {
    constexpr int kThreads = 24;
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<Worker> workers(kThreads, Worker{reachableA_, go, 0, 0, 0, {}});
    std::vector<HANDLE> threads;
    for (int t = 0; t < kThreads; ++t) {
        workers[t].thread = t;
        threads.push_back(CreateThread(nullptr, 0, AskMany, &workers[t], 0, nullptr));
        ASSERT_NE(threads.back(), nullptr);
    }
    SetEvent(go);
    ASSERT_EQ(WaitForMultipleObjects(kThreads, threads.data(), TRUE, 120000), WAIT_OBJECT_0);
    for (HANDLE thread : threads)
        CloseHandle(thread);
    CloseHandle(go);
    for (const Worker& w : workers) {
        EXPECT_EQ(w.reached, kQueries) << "thread " << w.thread << ": " << w.faults;
        EXPECT_EQ(w.qualities, kQueries) << "thread " << w.thread;
    }
}

TEST_F(SensapiTest, UncNamesAndUrlsAreProbedByTheirHost) {
    EXPECT_EQ(AskA("\\\\127.0.0.1\\share\\file.txt"), kReached);
    EXPECT_EQ(AskA("//localhost/share"), kReached);
    EXPECT_EQ(AskA("http://127.0.0.1:8080/index.html?q=1#top"), kReached);
    EXPECT_EQ(AskA("https://user:secret@[::1]:443/"), kReached);
    EXPECT_EQ(AskA("ftp://localhost"), kReached);
    EXPECT_EQ(AskA("[::1]"), kReached);
    // No host, no probe.
    EXPECT_EQ(AskA("http:///path"), kInvalid);
    EXPECT_EQ(AskA("\\\\\\share"), kInvalid);
    EXPECT_EQ(AskA("http://[::1/"), kInvalid);
}

TEST_F(SensapiTest, NullAndEmptyDestinationsAreRefused) {
    EXPECT_EQ(AskA(nullptr), kInvalid);
    EXPECT_EQ(AskA(""), kInvalid);
    EXPECT_EQ(AskW(nullptr), kInvalid);
    EXPECT_EQ(AskW(L""), kInvalid);
    QOCINFO quality = UntouchedQuality();
    EXPECT_EQ(AskA(nullptr, &quality), kInvalid);
    ExpectUntouched(quality);
    EXPECT_EQ(AskW(L"", &quality), kInvalid);
    ExpectUntouched(quality);
}

TEST_F(SensapiTest, HostsLongerThanAnyNameFailWithoutALookUp) {
    const std::string longName(300, 'a');
    EXPECT_EQ(AskA(longName.c_str()), (Answer{FALSE, WSAHOST_NOT_FOUND}));
    // A long URL is fine as long as its host is short.
    const std::string longUrl = "http://127.0.0.1/" + std::string(2000, 'p');
    EXPECT_EQ(AskA(longUrl.c_str()), kReached);
}

TEST_F(SensapiTest, WideFormAnswersLikeTheAnsiForm) {
    EXPECT_EQ(AskW(L"127.0.0.1"), kReached);
    EXPECT_EQ(AskW(L"::1"), kReached);
    EXPECT_EQ(AskW(L"http://localhost/"), kReached);
    // A character that the ANSI code page lacks names no host; it is
    // refused before any resolver is asked.
    EXPECT_EQ(AskW(L"\x4E2D\x6587.invalid"), (Answer{FALSE, ERROR_NO_UNICODE_TRANSLATION}));
}

TEST_F(SensapiTest, QualityOfAReachableDestinationIsFilled) {
    for (const char* destination : {"127.0.0.1", "::1", "localhost"}) {
        QOCINFO quality = UntouchedQuality();
        EXPECT_EQ(AskA(destination, &quality), kReached) << destination;
        EXPECT_EQ(quality.dwSize, sizeof(QOCINFO)) << destination;
        EXPECT_TRUE(quality.dwFlags == NETWORK_ALIVE_LAN || quality.dwFlags == NETWORK_ALIVE_WAN)
            << destination << " flags " << quality.dwFlags;
        // Bytes per second of one link, the same both ways; 0 when Wine
        // does not know the link's speed.
        EXPECT_NE(quality.dwInSpeed, kUntouched) << destination;
        EXPECT_EQ(quality.dwInSpeed, quality.dwOutSpeed) << destination;
    }
    QOCINFO wide = UntouchedQuality();
    EXPECT_EQ(AskW(L"127.0.0.1", &wide), kReached);
    EXPECT_EQ(wide.dwSize, sizeof(QOCINFO));
    EXPECT_NE(wide.dwFlags, kUntouched);
}

TEST_F(SensapiTest, QualityRecordsOfOtherSizes) {
    // Larger than a QOCINFO: the QOCINFO part is filled, dwSize says how
    // much, and the rest stays as it was.
    struct {
        QOCINFO quality;
        DWORD beyond;
    } larger{UntouchedQuality(sizeof larger), kUntouched};
    EXPECT_EQ(AskA("127.0.0.1", &larger.quality), kReached);
    EXPECT_EQ(larger.quality.dwSize, sizeof(QOCINFO));
    EXPECT_NE(larger.quality.dwFlags, kUntouched);
    EXPECT_EQ(larger.beyond, kUntouched);

    // Too small to be a QOCINFO: left alone, and the answer is still given.
    QOCINFO smaller = UntouchedQuality(8);
    EXPECT_EQ(AskA("127.0.0.1", &smaller), kReached);
    ExpectUntouched(smaller, 8);
    QOCINFO empty = UntouchedQuality(0);
    EXPECT_EQ(AskA("::1", &empty), kReached);
    ExpectUntouched(empty, 0);
}

TEST_F(SensapiTest, NetworkAliveReportsKindsWithALastErrorOfZero) {
    SetLastError(kUntouched);
    EXPECT_FALSE(networkAlive_(nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    DWORD flags = kUntouched;
    SetLastError(kUntouched);
    const BOOL alive = networkAlive_(&flags);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(flags & ~static_cast<DWORD>(NETWORK_ALIVE_LAN | NETWORK_ALIVE_WAN), 0u);
    EXPECT_EQ(alive, flags != 0 ? TRUE : FALSE);
}

TEST_F(SensapiTest, ProgramsFindItBesideReachlet) {
    // Wine looks in the program's own folder first.
    EXPECT_NE(GetFileAttributesA(BuildPath("app\\Reachlet.exe").c_str()), INVALID_FILE_ATTRIBUTES);
    char path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(module_, path, MAX_PATH), 0u);
    const std::string loaded(path);
    EXPECT_EQ(loaded.substr(loaded.size() - std::strlen("\\app\\sensapi.dll")), "\\app\\sensapi.dll");
}

}  // namespace

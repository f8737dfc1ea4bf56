#include "platform/sensapi/resolve_host.h"

#include <ws2tcpip.h>
#include <windows.h>

#include <cstring>

#include "platform/sensapi/destination_host.h"
#include "platform/sensapi/resolver_slots.h"
#include "platform/sensapi/winsock_session.h"

namespace {

// Shared by the caller and the worker; whichever lets go last frees it, so
// a caller that stops waiting leaves the worker a valid block to finish in.
struct ResolveJob {
    LONG references;
    int32_t status;
    HostText host;
    ProbeAddresses found;
};
static_assert(sizeof(ResolveJob) == 8 + sizeof(HostText) + sizeof(ProbeAddresses));

void ReleaseJob(ResolveJob* job) {
    if (InterlockedDecrement(&job->references) == 0)
        HeapFree(GetProcessHeap(), 0, job);
}

int32_t CopyAddresses(const addrinfo* list, ProbeAddresses& found) {
    found.count = 0;
    for (const addrinfo* a = list; a && found.count < kMaxProbeAddresses; a = a->ai_next) {
        if ((a->ai_family != AF_INET && a->ai_family != AF_INET6) ||
            a->ai_addrlen > sizeof(sockaddr_storage))
            continue;
        sockaddr_storage& slot = found.addresses[static_cast<size_t>(found.count++)];
        std::memset(&slot, 0, sizeof slot);
        std::memcpy(&slot, a->ai_addr, a->ai_addrlen);
    }
    return found.count;
}

// getaddrinfo's answer; 0 and found.count > 0 when there are addresses.
int32_t LookUp(const char* host, int flags, ProbeAddresses& found) {
    addrinfo hints{};
    hints.ai_flags = flags;
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const int status = getaddrinfo(host, nullptr, &hints, &list);
    if (status != 0)
        return status;
    const int32_t count = CopyAddresses(list, found);
    freeaddrinfo(list);
    return count > 0 ? 0 : WSANO_DATA;
}

DWORD WINAPI ResolveWorker(void* parameter) {
    auto* job = static_cast<ResolveJob*>(parameter);
    {
        WinsockSession winsock;
        job->status = winsock.started ? LookUp(job->host.data(), 0, job->found) : WSASYSNOTREADY;
    }
    ReleaseJob(job);
    return 0;
}

// The worker runs code of this module: it holds its own reference to it
// and drops it as it ends, so a caller may unload the module meanwhile. Its
// slot frees only as it ends, so the threads alive stay within the bound.
DWORD WINAPI PinnedResolveWorker(void* parameter) {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ResolveWorker), &self);
    ResolveWorker(parameter);
    ReleaseResolverSlot();
    FreeLibraryAndExitThread(self, 0);
}

// Starts the worker on job with the reference to this module that it gives
// back. Returns the thread, or null with the last error set.
HANDLE StartWorker(ResolveJob* job) {
    HMODULE pin = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&ResolveWorker), &pin))
        return nullptr;
    HANDLE worker = CreateThread(nullptr, kResolverStackBytes, PinnedResolveWorker, job,
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!worker) {
        const DWORD error = GetLastError();
        FreeLibrary(pin);
        SetLastError(error);
    }
    return worker;
}

int32_t ResolveName(const char* host, ProbeAddresses& found) {
    const DWORD start = GetTickCount();
    // With every slot taken, a query waits for one within its own budget.
    if (!ClaimResolverSlot(kResolveTimeoutMs))
        return 0;
    auto* job = static_cast<ResolveJob*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(ResolveJob)));
    if (job) {
        std::strcpy(job->host.data(), host);
        job->references = 2;
    }
    HANDLE worker = job ? StartWorker(job) : nullptr;
    if (!worker) {
        const DWORD error = job ? GetLastError() : static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY);
        if (job)
            HeapFree(GetProcessHeap(), 0, job);
        ReleaseResolverSlot();
        SetLastError(error);
        return 0;
    }
    const DWORD spent = GetTickCount() - start;
    const DWORD waited = WaitForSingleObject(worker, spent < kResolveTimeoutMs ? kResolveTimeoutMs - spent : 0);
    CloseHandle(worker);
    if (waited != WAIT_OBJECT_0) {
        ReleaseJob(job);
        SetLastError(ERROR_TIMEOUT);
        return 0;
    }
    const int32_t status = job->status;
    found = job->found;
    ReleaseJob(job);
    if (status != 0) {
        SetLastError(static_cast<DWORD>(status));
        return 0;
    }
    return 1;
}

}  // namespace

int32_t ResolveHost(const char* host, ProbeAddresses& found) {
    found.count = 0;
    if (std::strlen(host) > static_cast<size_t>(kMaxHostChars)) {
        SetLastError(WSAHOST_NOT_FOUND);
        return 0;
    }
    // A literal needs no resolver and no thread.
    if (LookUp(host, AI_NUMERICHOST, found) == 0)
        return 1;
    return ResolveName(host, found);
}

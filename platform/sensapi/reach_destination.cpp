#include "platform/sensapi/reach_destination.h"

#include <winsock2.h>
#include <ipexport.h>

#include "platform/sensapi/connection_quality.h"
#include "platform/sensapi/destination_host.h"
#include "platform/sensapi/echo_probe.h"
#include "platform/sensapi/handshake_probe.h"
#include "platform/sensapi/resolve_host.h"
#include "platform/sensapi/winsock_session.h"

namespace {

int32_t AddressAnswered(const sockaddr_storage& address, uint32_t timeoutMs) {
    if (EchoAnswered(address, timeoutMs))
        return 1;
    if (!EchoUnavailable(GetLastError()))
        return 0;
    return HandshakeAnswered(address, timeoutMs);
}

// Index of the first address that answered within the shared budget, or -1
// with the last error of the last attempt.
int32_t FirstAnswering(const ProbeAddresses& found) {
    const DWORD start = GetTickCount();
    DWORD error = IP_REQ_TIMED_OUT;
    for (int32_t i = 0; i < found.count; ++i) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= kAnswerTimeoutMs)
            break;
        if (AddressAnswered(found.addresses[static_cast<size_t>(i)], kAnswerTimeoutMs - spent))
            return i;
        error = GetLastError();
    }
    SetLastError(error);
    return -1;
}

}  // namespace

int32_t ReachDestination(const char* destination, QOCINFO* quality) {
    HostText host;
    if (!HostOfDestination(destination, host))
        return 0;
    WinsockSession winsock;
    if (!winsock.started) {
        SetLastError(WSASYSNOTREADY);
        return 0;
    }
    ProbeAddresses found;
    if (!ResolveHost(host.data(), found))
        return 0;
    const int32_t answered = FirstAnswering(found);
    if (answered < 0)
        return 0;
    if (quality && quality->dwSize >= sizeof(QOCINFO))
        (void)DescribeRoute(found.addresses[static_cast<size_t>(answered)], *quality);
    SetLastError(ERROR_SUCCESS);
    return 1;
}

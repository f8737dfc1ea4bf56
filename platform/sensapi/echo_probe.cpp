#include "platform/sensapi/echo_probe.h"

#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <array>
#include <cstddef>

namespace {

constexpr std::array<char, 32> kPayload{'R', 'e', 'a', 'c', 'h', 'l', 'e', 't', ' ', 'e', 'c', 'h', 'o', ' ', 'p', 'r',
                                        'o', 'b', 'e', ' ', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'a', 'b'};

// Room for one reply record, the echoed data, and an ICMP error message
// carrying the original IP header (up to 60 bytes) and 8 bytes of ICMP.
constexpr DWORD kReplyBytes = 256;
static_assert(kReplyBytes >= sizeof(ICMP_ECHO_REPLY) + kPayload.size() + 8 + 60 + 8);

using ReplyBuffer = std::array<unsigned char, kReplyBytes>;

// The platform's ICMPV6_ECHO_REPLY, which the cross headers lack: a packed
// 26-byte IPV6_ADDRESS_EX, then the status and round-trip time, 4-aligned.
struct Icmp6EchoReply {
    std::array<unsigned char, 26> address;
    uint32_t status;
    uint32_t roundTripTime;
};
static_assert(offsetof(Icmp6EchoReply, status) == 28 && sizeof(Icmp6EchoReply) == 36);

int32_t EchoV4(const sockaddr_in& to, uint32_t timeoutMs) {
    HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE)
        return 0;
    alignas(8) ReplyBuffer reply{};
    const DWORD replies = IcmpSendEcho(icmp, to.sin_addr.s_addr, const_cast<char*>(kPayload.data()),
                                       static_cast<WORD>(kPayload.size()), nullptr, reply.data(), kReplyBytes,
                                       timeoutMs);
    DWORD error = GetLastError();
    IcmpCloseHandle(icmp);
    if (replies > 0) {
        const auto* echo = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply.data());
        if (echo->Status == IP_SUCCESS)
            return 1;
        error = echo->Status;
    }
    SetLastError(error ? error : static_cast<DWORD>(IP_GENERAL_FAILURE));
    return 0;
}

int32_t EchoV6(const sockaddr_in6& to, uint32_t timeoutMs) {
    static_assert(kReplyBytes >= sizeof(Icmp6EchoReply) + kPayload.size() + 8 + 40 + 8);
    HANDLE icmp = Icmp6CreateFile();
    if (icmp == INVALID_HANDLE_VALUE)
        return 0;
    sockaddr_in6 source{};
    source.sin6_family = AF_INET6;
    sockaddr_in6 destination = to;
    alignas(8) ReplyBuffer reply{};
    const DWORD replies = Icmp6SendEcho2(icmp, nullptr, nullptr, nullptr, &source, &destination,
                                         const_cast<char*>(kPayload.data()), static_cast<WORD>(kPayload.size()),
                                         nullptr, reply.data(), kReplyBytes, timeoutMs);
    DWORD error = GetLastError();
    if (replies > 0 && Icmp6ParseReplies(reply.data(), kReplyBytes) > 0) {
        const auto* echo = reinterpret_cast<const Icmp6EchoReply*>(reply.data());
        IcmpCloseHandle(icmp);
        if (echo->status == IP_SUCCESS)
            return 1;
        SetLastError(echo->status);
        return 0;
    }
    IcmpCloseHandle(icmp);
    SetLastError(error ? error : static_cast<DWORD>(IP_GENERAL_FAILURE));
    return 0;
}

}  // namespace

int32_t EchoAnswered(const sockaddr_storage& address, uint32_t timeoutMs) {
    if (address.ss_family == AF_INET)
        return EchoV4(reinterpret_cast<const sockaddr_in&>(address), timeoutMs);
    if (address.ss_family == AF_INET6)
        return EchoV6(reinterpret_cast<const sockaddr_in6&>(address), timeoutMs);
    SetLastError(WSAEAFNOSUPPORT);
    return 0;
}

bool EchoUnavailable(uint32_t error) {
    return error == ERROR_CALL_NOT_IMPLEMENTED || error == ERROR_NOT_SUPPORTED || error == ERROR_ACCESS_DENIED;
}

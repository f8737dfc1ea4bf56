#pragma once
// ICMP echo through the platform's ICMP helper (iphlpapi).

#include <winsock2.h>

#include <cstdint>

// Sends one echo request to address (IPv4 or IPv6) and waits at most
// timeoutMs for the reply. Returns 1 when the destination itself answered
// with an echo reply, or 0 with the last error set: an IP_ status such as
// IP_REQ_TIMED_OUT or IP_DEST_HOST_UNREACHABLE, or the helper's own error.
[[nodiscard]] int32_t EchoAnswered(const sockaddr_storage& address, uint32_t timeoutMs);

// True when error says that this process cannot send echo requests at all
// (no ICMPv6 in the helper, or no raw or ping socket allowed), as opposed to
// a destination that did not answer.
[[nodiscard]] bool EchoUnavailable(uint32_t error);

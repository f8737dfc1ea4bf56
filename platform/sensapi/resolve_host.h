#pragma once
// Turning a host into the addresses to probe, in bounded time.

#include <winsock2.h>

#include <array>
#include <cstdint>

#include "platform/sensapi/probe_timeouts.h"

struct ProbeAddresses {
    int32_t count;
    std::array<sockaddr_storage, kMaxProbeAddresses> addresses;
};
static_assert(sizeof(sockaddr_storage) == 128);
static_assert(sizeof(ProbeAddresses) == 8 + 128 * kMaxProbeAddresses);

// A numeric IPv4 or IPv6 address is taken as it is; a name is resolved with
// getaddrinfo on a worker thread that is abandoned after kResolveTimeoutMs;
// with kMaxResolverThreads of them alive, the wait for one to end is part of
// that time.
// Keeps IPv4 and IPv6 addresses only, in the resolver's order. Returns 1, or
// 0 with the last error set (the resolver's WSA code, or ERROR_TIMEOUT).
// The caller has started Winsock.
[[nodiscard]] int32_t ResolveHost(const char* host, ProbeAddresses& found);

#pragma once
// The host part of a reachability destination. A destination is an address
// or host name, a UNC name (\\server\share) or a URL
// (scheme://user@host:port/path, with an IPv6 literal in brackets).

#include <array>
#include <cstdint>

#include "platform/sensapi/probe_timeouts.h"

using HostText = std::array<char, kMaxHostChars + 1>;

// Copies the host of destination into host, zero-terminated; anything that
// is neither UNC nor URL is taken as it is. Returns 1, or 0 with the last
// error set: ERROR_INVALID_PARAMETER when there is no host, WSAHOST_NOT_FOUND
// when it is longer than any host can be.
[[nodiscard]] int32_t HostOfDestination(const char* destination, HostText& host);

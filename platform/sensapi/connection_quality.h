#pragma once
// What the platform's interface table says about the connections: the kind
// (LAN or RAS/WAN) and the link speed.

#include <winsock2.h>
#include <windows.h>
#include <sensapi.h>

#include <cstddef>
#include <cstdint>

static_assert(sizeof(QOCINFO) == 16);
static_assert(offsetof(QOCINFO, dwFlags) == 4 && offsetof(QOCINFO, dwInSpeed) == 8 &&
              offsetof(QOCINFO, dwOutSpeed) == 12);

// Fills dwFlags, dwInSpeed and dwOutSpeed (bytes per second) from the
// interface that the route to address leaves by, and sets dwSize. A PPP
// interface is a RAS connection (NETWORK_ALIVE_WAN), any other one a LAN;
// when the interface cannot be told, the speeds are 0 and the result is 0.
int32_t DescribeRoute(const sockaddr_storage& address, QOCINFO& quality);

// Collects in flags the kinds of the interfaces that are up, loopback not
// counted. Returns 1, or 0 with the last error set when the interface table
// cannot be read.
[[nodiscard]] int32_t ActiveNetworkFlags(DWORD& flags);

#pragma once
// The reachability query itself: destination text in, a blocking answer out.

#include <windows.h>
#include <sensapi.h>

#include <cstdint>

// Resolves the host of destination (an address, a name, a UNC name or a
// URL) and sends echo requests to its addresses in turn until one answers,
// all within kResolveTimeoutMs + kAnswerTimeoutMs. Returns 1 when one did,
// with the last error 0 and, when quality is not null and its dwSize holds
// at least a QOCINFO, quality filled for the route taken. Returns 0 with the
// last error set otherwise, leaving quality alone.
[[nodiscard]] int32_t ReachDestination(const char* destination, QOCINFO* quality);

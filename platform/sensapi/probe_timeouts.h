#pragma once
// How long one reachability query may block its caller. The monitor probes
// twice per timer tick on its only thread, and its window does not respond
// while a probe runs, so a dead destination must cost little: at most
// kResolveTimeoutMs + kAnswerTimeoutMs per query, 5 s per tick for a name
// whose resolver never answers, 2 s per tick for a dead numeric address,
// against the monitor's 10 s minimum interval.

#include <cstdint>

// Name resolution runs on a worker thread and is abandoned after this long:
// the system resolver's own retries can take ten seconds and more. A local
// or cached answer takes milliseconds; a remote resolver well under a second.
constexpr uint32_t kResolveTimeoutMs = 1500;

// One budget for the answers, shared by all addresses a name resolves to:
// loopback and LAN hosts echo within a millisecond, distant Internet hosts
// within a few hundred; one second is the wait of a single ping.
constexpr uint32_t kAnswerTimeoutMs = 1000;

// At most this many resolved addresses are tried, in the resolver's order.
constexpr int32_t kMaxProbeAddresses = 4;

// Longest host name the resolver can be asked about (a DNS name has at most
// 253 characters; the rest is headroom for a dotted or bracketed literal).
constexpr int32_t kMaxHostChars = 255;

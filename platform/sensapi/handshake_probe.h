#pragma once
// A TCP handshake as the probe of last resort, for a process that cannot
// send ICMP echo requests (Wine 8 has no ICMPv6 at all, and no ICMPv4 for a
// user without raw or ping sockets).

#include <winsock2.h>

#include <cstdint>

// The port knocked at. Any answer counts, so the port need not be open: an
// accepted connection and a refused one (a TCP reset) both come from the
// destination's own stack, while a dead or absent host gives no answer.
constexpr uint16_t kHandshakePort = 7;

// Opens a TCP connection to address, port kHandshakePort, waiting at most
// timeoutMs. Returns 1 when the destination accepted or refused it, or 0
// with the last error set (WSAETIMEDOUT, WSAENETUNREACH, ...).
[[nodiscard]] int32_t HandshakeAnswered(const sockaddr_storage& address, uint32_t timeoutMs);

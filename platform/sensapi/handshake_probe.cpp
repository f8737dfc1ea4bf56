#include "platform/sensapi/handshake_probe.h"

#include <ws2tcpip.h>
#include <windows.h>

namespace {

// The outcome of a connection attempt that did not complete at once.
int32_t AwaitHandshake(SOCKET s, uint32_t timeoutMs, int& error) {
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval wait{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
    const int ready = select(0, nullptr, &writable, &failed, &wait);
    if (ready == 0) {
        error = WSAETIMEDOUT;
        return 0;
    }
    if (ready < 0) {
        error = WSAGetLastError();
        return 0;
    }
    int pending = 0;
    int length = sizeof pending;
    if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&pending), &length) != 0)
        pending = WSAGetLastError();
    error = pending;
    return pending == 0 && FD_ISSET(s, &writable) ? 1 : 0;
}

}  // namespace

int32_t HandshakeAnswered(const sockaddr_storage& address, uint32_t timeoutMs) {
    sockaddr_storage to = address;
    int length = 0;
    if (to.ss_family == AF_INET) {
        reinterpret_cast<sockaddr_in&>(to).sin_port = htons(kHandshakePort);
        length = sizeof(sockaddr_in);
    } else if (to.ss_family == AF_INET6) {
        reinterpret_cast<sockaddr_in6&>(to).sin6_port = htons(kHandshakePort);
        length = sizeof(sockaddr_in6);
    } else {
        SetLastError(WSAEAFNOSUPPORT);
        return 0;
    }
    SOCKET s = socket(to.ss_family, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        SetLastError(static_cast<DWORD>(WSAGetLastError()));
        return 0;
    }
    u_long nonBlocking = 1;
    int error = 0;
    int32_t connected = 0;
    if (ioctlsocket(s, FIONBIO, &nonBlocking) != 0)
        error = WSAGetLastError();
    else if (connect(s, reinterpret_cast<const sockaddr*>(&to), length) == 0)
        connected = 1;
    else if ((error = WSAGetLastError()) == WSAEWOULDBLOCK)
        connected = AwaitHandshake(s, timeoutMs, error);
    closesocket(s);
    if (connected || error == WSAECONNREFUSED)
        return 1;
    SetLastError(static_cast<DWORD>(error));
    return 0;
}

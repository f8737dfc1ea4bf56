#include "platform/sensapi/winsock_session.h"

#include <winsock2.h>
#include <windows.h>

namespace {

CRITICAL_SECTION startLock;

}  // namespace

int32_t OpenWinsockLock() {
    InitializeCriticalSection(&startLock);
    return 1;
}

void CloseWinsockLock() { DeleteCriticalSection(&startLock); }

WinsockSession::WinsockSession() {
    WSADATA wsa;
    EnterCriticalSection(&startLock);
    started = WSAStartup(MAKEWORD(2, 2), &wsa) == 0 ? 1 : 0;
    LeaveCriticalSection(&startLock);
}

WinsockSession::~WinsockSession() {
    if (!started)
        return;
    const DWORD error = GetLastError();
    EnterCriticalSection(&startLock);
    WSACleanup();
    LeaveCriticalSection(&startLock);
    SetLastError(error);
}

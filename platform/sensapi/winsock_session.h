#pragma once
// Winsock for the length of one query or one look-up.
//
// Winsock counts its users per process, and the last WSACleanup closes
// every socket the process still has open; a count that lost an update
// would close the sockets of a query running on another thread. The DLL's
// own starts and ends are taken one at a time, so that they at least never
// race each other, whatever the platform's counting.

#include <cstdint>

// Made as the DLL is loaded, before any query can run; dropped as it is
// unloaded. Returns 1 (a critical section cannot fail to be made).
int32_t OpenWinsockLock();
void CloseWinsockLock();

// Starts Winsock; ending it keeps the last error.
struct WinsockSession {
    int32_t started;
    WinsockSession();
    ~WinsockSession();
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
};

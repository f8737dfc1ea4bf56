// A sensapi.dll that stands in for a network of dead hosts: every
// destination answers "not reachable" after one second, as a dead numeric
// address does with the project's own DLL, without any network.
#include <windows.h>
#include <sensapi.h>

extern "C" BOOL WINAPI IsDestinationReachableA(LPCSTR, LPQOCINFO) {
    Sleep(1000);
    SetLastError(ERROR_TIMEOUT);
    return FALSE;
}

extern "C" BOOL WINAPI IsDestinationReachableW(LPCWSTR, LPQOCINFO) {
    Sleep(1000);
    SetLastError(ERROR_TIMEOUT);
    return FALSE;
}

extern "C" BOOL WINAPI IsNetworkAlive(LPDWORD flags) {
    if (flags)
        *flags = NETWORK_ALIVE_LAN;
    return TRUE;
}

// The three entry points of sensapi.dll, exported undecorated by sensapi.def,
// and the DLL's own, which sets up the state every query shares. Queries
// may run on many threads at once: they share only that state, which is
// made before the first and locked where it changes.

#include <windows.h>
#include <sensapi.h>

#include <cstdint>

#include "platform/sensapi/connection_quality.h"
#include "platform/sensapi/reach_destination.h"
#include "platform/sensapi/resolver_slots.h"
#include "platform/sensapi/winsock_session.h"

// Resolver threads pin the DLL, so none is left when it is unloaded; at
// process exit the system takes the slots back itself.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH)
        return OpenWinsockLock() && OpenResolverSlots() ? TRUE : FALSE;
    if (reason == DLL_PROCESS_DETACH && !reserved) {
        CloseResolverSlots();
        CloseWinsockLock();
    }
    return TRUE;
}

extern "C" BOOL WINAPI IsDestinationReachableA(LPCSTR lpszDestination, LPQOCINFO lpQOCInfo) {
    return ReachDestination(lpszDestination, lpQOCInfo) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI IsDestinationReachableW(LPCWSTR lpszDestination, LPQOCINFO lpQOCInfo) {
    if (!lpszDestination || !*lpszDestination) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Host names reach the resolver in the ANSI code page, as the A form
    // hands them over; a character that code page cannot hold names no host.
    // (UTF-8 holds every character and takes no default-character check.)
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD conversion = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, conversion, lpszDestination, -1, nullptr, 0, nullptr,
                                          utf8 ? nullptr : &lossy);
    if (bytes == 0)
        return FALSE;
    if (lossy) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return FALSE;
    }
    auto* narrow = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(bytes)));
    if (!narrow) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    WideCharToMultiByte(CP_ACP, conversion, lpszDestination, -1, narrow, bytes, nullptr, nullptr);
    const int32_t reached = ReachDestination(narrow, lpQOCInfo);
    const DWORD error = GetLastError();
    HeapFree(GetProcessHeap(), 0, narrow);
    SetLastError(error);
    return reached ? TRUE : FALSE;
}

extern "C" BOOL WINAPI IsNetworkAlive(LPDWORD lpdwFlags) {
    if (!lpdwFlags) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD flags = 0;
    if (!ActiveNetworkFlags(flags))
        return FALSE;
    *lpdwFlags = flags;
    SetLastError(ERROR_SUCCESS);
    return flags ? TRUE : FALSE;
}

#include "platform/sensapi/connection_quality.h"

#include <iphlpapi.h>

namespace {

DWORD KindOfInterface(DWORD type) {
    return type == IF_TYPE_PPP ? NETWORK_ALIVE_WAN : NETWORK_ALIVE_LAN;
}

bool InterfaceIsUp(const MIB_IFROW& row) {
    return row.dwOperStatus == IF_OPER_STATUS_OPERATIONAL || row.dwOperStatus == IF_OPER_STATUS_CONNECTED;
}

}  // namespace

int32_t DescribeRoute(const sockaddr_storage& address, QOCINFO& quality) {
    quality.dwSize = sizeof(QOCINFO);
    quality.dwFlags = NETWORK_ALIVE_LAN;
    quality.dwInSpeed = 0;
    quality.dwOutSpeed = 0;
    sockaddr_storage destination = address;
    DWORD index = 0;
    if (GetBestInterfaceEx(reinterpret_cast<sockaddr*>(&destination), &index) != NO_ERROR)
        return 0;
    MIB_IFROW row{};
    row.dwIndex = index;
    if (GetIfEntry(&row) != NO_ERROR)
        return 0;
    quality.dwFlags = KindOfInterface(row.dwType);
    quality.dwInSpeed = row.dwSpeed / 8;
    quality.dwOutSpeed = row.dwSpeed / 8;
    return 1;
}

int32_t ActiveNetworkFlags(DWORD& flags) {
    flags = 0;
    ULONG size = 0;
    DWORD status = GetIfTable(nullptr, &size, FALSE);
    if (status != ERROR_INSUFFICIENT_BUFFER) {
        // An empty table needs no buffer: there is no connection.
        if (status == NO_ERROR)
            return 1;
        SetLastError(status);
        return 0;
    }
    auto* table = static_cast<MIB_IFTABLE*>(HeapAlloc(GetProcessHeap(), 0, size));
    if (!table) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    status = GetIfTable(table, &size, FALSE);
    if (status == NO_ERROR)
        for (DWORD i = 0; i < table->dwNumEntries; ++i) {
            const MIB_IFROW& row = table->table[i];
            if (row.dwType != IF_TYPE_SOFTWARE_LOOPBACK && InterfaceIsUp(row))
                flags |= KindOfInterface(row.dwType);
        }
    HeapFree(GetProcessHeap(), 0, table);
    if (status != NO_ERROR) {
        SetLastError(status);
        return 0;
    }
    return 1;
}

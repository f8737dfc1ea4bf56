#include "platform/sensapi/destination_host.h"

#include <winsock2.h>
#include <windows.h>

#include <cstring>

namespace {

bool IsSchemeChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '-' || c == '.';
}

// Length of "scheme:" when text starts with "scheme://", else 0.
size_t SchemeLength(const char* text) {
    const char* mark = std::strstr(text, "://");
    if (!mark || mark == text || !((*text >= 'a' && *text <= 'z') || (*text >= 'A' && *text <= 'Z')))
        return 0;
    for (const char* p = text; p < mark; ++p)
        if (!IsSchemeChar(*p))
            return 0;
    return static_cast<size_t>(mark - text) + 1;
}

int32_t CopyHost(const char* first, size_t length, HostText& host) {
    if (length == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (length > static_cast<size_t>(kMaxHostChars)) {
        SetLastError(WSAHOST_NOT_FOUND);
        return 0;
    }
    std::memcpy(host.data(), first, length);
    host[length] = '\0';
    return 1;
}

// host[:port] or [literal][:port], as found in a URL's authority.
int32_t HostOfAuthority(const char* first, const char* end, HostText& host) {
    if (first < end && *first == '[') {
        const char* close = static_cast<const char*>(std::memchr(first, ']', static_cast<size_t>(end - first)));
        if (!close) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        return CopyHost(first + 1, static_cast<size_t>(close - first - 1), host);
    }
    const char* colon = static_cast<const char*>(std::memchr(first, ':', static_cast<size_t>(end - first)));
    return CopyHost(first, static_cast<size_t>((colon ? colon : end) - first), host);
}

}  // namespace

int32_t HostOfDestination(const char* destination, HostText& host) {
    if (!destination || !*destination) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const bool unc = (destination[0] == '\\' && destination[1] == '\\') ||
                     (destination[0] == '/' && destination[1] == '/');
    if (unc) {
        const char* server = destination + 2;
        return CopyHost(server, std::strcspn(server, "\\/"), host);
    }
    if (const size_t scheme = SchemeLength(destination)) {
        const char* authority = destination + scheme + 2;
        const char* end = authority + std::strcspn(authority, "/?#\\");
        for (const char* p = end; p > authority; --p)
            if (p[-1] == '@') {
                authority = p;
                break;
            }
        return HostOfAuthority(authority, end, host);
    }
    if (destination[0] == '[')
        return HostOfAuthority(destination, destination + std::strlen(destination), host);
    return CopyHost(destination, std::strlen(destination), host);
}

#include "runtime/control/rich_edit_stream.h"

#include <cstring>

#include "runtime/core/strings.h"
#include "runtime/resource/file_channel.h"

namespace {

StreamCookie* CookieOf(DWORD_PTR cookie) { return reinterpret_cast<StreamCookie*>(cookie); }

// Copies up to capacity bytes, stopping before the string's terminator.
LONG ReadString(StreamCookie& cookie, LPBYTE buffer, LONG capacity) {
    const char* from = cookie.text + cookie.position;
    LONG copied = 0;
    while (copied < capacity && from[copied] != '\0') {
        buffer[copied] = static_cast<BYTE>(from[copied]);
        ++copied;
    }
    cookie.position += copied;
    return copied;
}

// Under Wine an RTF stream ends with a NUL byte after its closing brace. It
// is no part of the document: neither a string nor a file receives it.
LONG DocumentBytes(const BYTE* buffer, LONG count) {
    while (count > 0 && buffer[count - 1] == 0)
        --count;
    return count;
}

// The string is the caller's whole storage; a text that would reach past it
// empties the string instead, so it never holds a cut RTF document.
bool WriteString(StreamCookie& cookie, const BYTE* buffer, LONG count) {
    const int32_t room = cookie.capacity - 1 - cookie.position;
    if (cookie.overflow || count > room) {
        cookie.text[0] = '\0';
        cookie.position = 0;
        cookie.overflow = 1;
        return false;
    }
    std::memcpy(cookie.text + cookie.position, buffer, static_cast<size_t>(count));
    cookie.position += count;
    cookie.text[cookie.position] = '\0';
    return true;
}

}  // namespace

DWORD CALLBACK StreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* count) {
    StreamCookie* stream = CookieOf(cookie);
    *count = 0;
    if (!stream || capacity < 0)
        return 1;
    switch (stream->type) {
    case TY_TEXTFILE: {
        // A failed read ends the stream like the end of the file.
        DWORD read = 0;
        if (ReadFile(stream->file, buffer, static_cast<DWORD>(capacity), &read, nullptr))
            *count = static_cast<LONG>(read);
        return 0;
    }
    case TY_STRING:
        *count = ReadString(*stream, buffer, capacity);
        return 0;
    default:
        return 1;
    }
}

DWORD CALLBACK StreamOutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written) {
    StreamCookie* stream = CookieOf(cookie);
    *written = 0;
    if (!stream || count < 0)
        return 1;
    const LONG bytes = DocumentBytes(buffer, count);
    switch (stream->type) {
    case TY_TEXTFILE: {
        // Not reported: a failed write moves nothing, and the control stops
        // when a chunk is not taken whole.
        DWORD moved = 0;
        if (bytes > 0)
            WriteFile(stream->file, buffer, static_cast<DWORD>(bytes), &moved, nullptr);
        stream->delivered += static_cast<int32_t>(moved);
        *written = moved == static_cast<DWORD>(bytes) ? count : static_cast<LONG>(moved);
        return 0;
    }
    case TY_STRING:
        if (!WriteString(*stream, buffer, bytes))
            return 1;
        stream->delivered += bytes;
        *written = count;
        return 0;
    default:
        return 1;
    }
}

int32_t StreamRichEdit(HWND control, UINT message, uint32_t format, TypedArg target, int32_t characters) {
    StreamCookie cookie{};
    cookie.type = TypeCode(target);
    if (cookie.type == TY_TEXTFILE) {
        // A closed channel, or no file at all, would stream in nothing and
        // wipe the control.
        cookie.file = ChannelHandle(target);
        if (!IsOpenFile(cookie.file))
            return 0;
    } else if (cookie.type == TY_STRING) {
        cookie.text = reinterpret_cast<char*>(static_cast<uintptr_t>(target.value));
        if (message == EM_STREAMOUT) {
            const int32_t size = characters < 0 ? 0 : characters == INT32_MAX ? characters : characters + 1;
            cookie.capacity = StringStorage(cookie.text, size);
            if (cookie.capacity < 1)
                return 0;
            cookie.text[0] = '\0';
        }
    } else {
        return 0;
    }
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&cookie);
    stream.dwError = 0;
    stream.pfnCallback = message == EM_STREAMOUT ? StreamOutCallback : StreamInCallback;
    const auto moved = static_cast<int32_t>(
        SendMessageA(control, message, format, reinterpret_cast<LPARAM>(&stream)));
    if (cookie.overflow)
        return 0;
    return message == EM_STREAMOUT ? cookie.delivered : moved;
}

#include "fleet/host_list.h"

#include <windows.h>

#include "fleet/hosts.h"
#include "runtime/runtime.h"

namespace {

constexpr int32_t kLineBufferSize = 1024;
constexpr int32_t kBadLinesListed = 20;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The next field of a line, up to the next blank; fields longer than size
// - 1 are cut, which the callers treat as bad. Returns the character after.
const char* NextField(const char* p, char* field, int32_t size) {
    while (IsBlank(*p))
        ++p;
    int32_t n = 0;
    while (*p && !IsBlank(*p)) {
        if (n < size - 1)
            field[n] = *p;
        ++n;
        ++p;
    }
    field[n < size ? n : size - 1] = '\0';
    if (n >= size)
        field[0] = '\x01';   // marks a field that did not fit
    return p;
}

void NoteBadLine(ListLoad* load, int32_t lineNumber) {
    ++load->bad;
    if (load->bad > kBadLinesListed)
        return;
    char number[16];
    wsprintfA(number, load->bad == 1 ? "%d" : ", %d", lineNumber);
    if (StringLength(load->badLines) + StringLength(number) < kBadLineListSize)
        AppendString(load->badLines, number);
}

// A read stops at the line's end, consuming it, or where the string is full,
// leaving the rest of the line for the next read; only a full string can be
// either, and the last byte consumed tells which. The file pointer is where
// it was.
bool StoppedInsideLine(HANDLE file) {
    char last = 0;
    DWORD read = 0;
    if (SetFilePointer(file, -1, nullptr, FILE_CURRENT) == INVALID_SET_FILE_POINTER ||
        !ReadFile(file, &last, 1, &read, nullptr) || read != 1)
        return false;
    return last != '\n' && last != '\r';
}

// Lines gathered into blocks, one write a block rather than two a host.
struct ListWriter {
    HANDLE file;
    char block[16384];
    int32_t used;
    bool ok;
};

bool Flush(ListWriter* writer) {
    DWORD written = 0;
    if (writer->ok && writer->used > 0)
        writer->ok = WriteFile(writer->file, writer->block, static_cast<DWORD>(writer->used), &written, nullptr) &&
                     written == static_cast<DWORD>(writer->used);
    writer->used = 0;
    return writer->ok;
}

bool WriteText(ListWriter* writer, const char* text) {
    const int32_t length = StringLength(text);
    if (writer->used + length > static_cast<int32_t>(sizeof(writer->block)) && !Flush(writer))
        return false;
    if (length > static_cast<int32_t>(sizeof(writer->block))) {
        DWORD written = 0;
        writer->ok = WriteFile(writer->file, text, static_cast<DWORD>(length), &written, nullptr) &&
                     written == static_cast<DWORD>(length);
        return writer->ok;
    }
    CopyMemory(writer->block + writer->used, text, static_cast<SIZE_T>(length));
    writer->used += length;
    return true;
}

}  // namespace

const char* CheckHostFields(const char* name, const char* intervalText, int32_t* interval) {
    if (!name || name[0] == '\0')
        return "IP Address Or PC Name must be entered";
    if (StringLength(name) >= kHostNameSize)
        return "IP Address Or PC Name must be at most 255 characters";
    bool blank = name[0] == '#';
    for (const char* p = name; *p; ++p)
        blank = blank || IsBlank(*p) || *p == '\r' || *p == '\n';
    if (blank)
        return "IP Address Or PC Name must not hold blanks or start with #";
    const int32_t seconds = RoundToInt32(ParseNumber(intervalText));
    if (seconds < kMinimumInterval)
        return "Minimum interval is 10 Seconds";
    *interval = seconds;
    return nullptr;
}

LineKind ParseHostLine(const char* line, HostLine* host) {
    const char* p = line;
    while (IsBlank(*p))
        ++p;
    if (*p == '\0' || *p == '#')
        return LINE_SKIPPED;
    char interval[16];
    char alert[4];
    char extra[4];
    p = NextField(p, host->name, sizeof(host->name));
    p = NextField(p, interval, sizeof(interval));
    p = NextField(p, alert, sizeof(alert));
    NextField(p, extra, sizeof(extra));
    if (extra[0] != '\0' || host->name[0] == '\x01' || interval[0] == '\x01')
        return LINE_BAD;
    for (const char* d = interval; *d; ++d)
        if (!IsDigitChar(*d))
            return LINE_BAD;
    if (lstrcmpA(alert, "0") != 0 && lstrcmpA(alert, "1") != 0)
        return LINE_BAD;
    if (CheckHostFields(host->name, interval, &host->intervalSeconds))
        return LINE_BAD;
    host->alert = alert[0] - '0';
    return LINE_HOST;
}

int32_t LoadHostList(const char* path, ListLoad* result) {
    *result = ListLoad{};
    HANDLE file = nullptr;
    if (OpenFileChannel(&file, TY_TEXTFILE, path, "R") != 0)
        return 0;
    char line[kLineBufferSize];
    HostLine host{};
    int32_t lineNumber = 0;
    bool continued = false;   // the last read stopped inside a long line
    for (;;) {
        if (ReadFileChannel(ChannelArg(&file), StrArg(line), kLineBufferSize) != 0)
            break;
        const bool cut = StringLength(line) == kLineBufferSize - 1 && StoppedInsideLine(file);
        if (!continued) {
            ++lineNumber;
            if (cut) {
                NoteBadLine(result, lineNumber);
            } else {
                const LineKind kind = ParseHostLine(line, &host);
                if (kind == LINE_BAD)
                    NoteBadLine(result, lineNumber);
                else if (kind == LINE_HOST && AddHost(host.name, host.intervalSeconds, host.alert))
                    ++result->loaded;
            }
        }
        continued = cut;
    }
    CloseFileChannel(&file, TY_TEXTFILE);
    return 1;
}

int32_t SaveHostList(const char* path) {
    char* temporary = ConcatStrings(path, ".saving");
    if (!temporary)
        return 0;
    HANDLE file = nullptr;
    bool written = OpenFileChannel(&file, TY_TEXTFILE, temporary, "W") == 0;
    static ListWriter writer;   // 16 KiB: kept off the stack
    writer.file = file;
    writer.used = 0;
    writer.ok = written;
    if (written)
        written = WriteText(&writer, "# host, interval in seconds, failure message (1) or not (0)\r\n");
    char tail[32];
    for (int32_t i = 0; written && i < HostCount(); ++i) {
        const Host* host = HostAt(i);
        wsprintfA(tail, " %d %d\r\n", host->intervalSeconds, host->alert);
        written = WriteText(&writer, host->name) && WriteText(&writer, tail);
    }
    if (written)
        written = Flush(&writer) && FlushFileBuffers(file) != FALSE;
    if (file)
        CloseFileChannel(&file, TY_TEXTFILE);
    if (written)
        written = MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!written)
        DeleteFileA(temporary);
    FreeString(temporary);
    return written ? 1 : 0;
}

char* BadLinesMessage(const char* path, const ListLoad& load) {
    char more[48] = "";
    if (load.bad > kBadLinesListed)
        wsprintfA(more, " and %d more", load.bad - kBadLinesListed);
    return ConcatStrings("Lines of ", path, " that were skipped: ", load.badLines, more,
                         ".\r\nA line holds a host, its interval in seconds (10 or more) and 1 or 0 for "
                         "the failure message, separated by blanks: 127.0.0.1 10 1");
}

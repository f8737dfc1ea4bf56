#include "runtime/window/print_values.h"

#include <windows.h>

#include <cstdarg>
#include <cstring>
#include <type_traits>

#include "runtime/core/format_int64.h"
#include "runtime/core/system_library.h"
#include "runtime/window/draw_scope.h"

WindowRecord* printTarget;
int32_t printPrecision = 2;

namespace {

// Formatting is crtdll's, loaded on first use. The bounded form of its
// sprintf is taken so that an item can never run past the line buffer.
using FormatProc = int(__cdecl*)(char* out, size_t room, const char* format, va_list args);
FormatProc crtFormat;
bool crtFormatLooked;

char line[kPrintBufferBytes];

FormatProc CrtFormat() {
    if (!crtFormatLooked) {
        crtFormatLooked = true;
        if (HMODULE crtdll = LoadSystemLibrary("crtdll.dll"))
            crtFormat = reinterpret_cast<FormatProc>(
                reinterpret_cast<void*>(GetProcAddress(crtdll, "_vsnprintf")));
    }
    return crtFormat;
}

// Room for characters after length, keeping one byte for the terminator.
int32_t RoomAfter(int32_t length) { return kPrintBufferBytes - 1 - length; }

// Formats at the end of the line; the new length, or -1 when the text does
// not fit (or cannot be formatted).
int32_t AppendFormatted(int32_t length, const char* format, ...) {
    const FormatProc formatter = CrtFormat();
    if (!formatter)
        return -1;
    const int32_t room = RoomAfter(length);
    va_list args;
    va_start(args, format);
    const int written = formatter(line + length, static_cast<size_t>(room), format, args);
    va_end(args);
    if (written < 0 || written > room)
        return -1;
    return length + written;
}

double FloatFromBits(uint32_t bits) {
    float f;
    static_assert(sizeof(f) == sizeof(bits));
    std::memcpy(&f, &bits, sizeof(f));
    return f;
}

double DoubleFromWords(uint32_t low, uint32_t high) {
    const uint64_t bits = (static_cast<uint64_t>(high) << 32) | low;
    double d;
    std::memcpy(&d, &bits, sizeof(d));
    return d;
}

int32_t AppendInt64(int32_t length, bool isSigned, uint32_t low, uint32_t high) {
    if (RoomAfter(length) + 1 < kFormat64Room)
        return -1;
    char* out = line + length;
    return length + (isSigned ? FormatSigned64(out, low, high) : FormatUnsigned64(out, low, high));
}

bool TakesTwoWords(uint32_t code) { return code == TY_DOUBLE || code == TY_QUAD || code == TY_UQUAD; }

// Formats one item; the new length or -1.
int32_t AppendItem(int32_t length, uint32_t code, uint32_t value, uint32_t high) {
    const auto asInt = static_cast<int>(value);
    switch (code) {
    case TY_STRING:
        return AppendFormatted(length, "%s", reinterpret_cast<const char*>(value));
    case PRINT_WIDE_STRING:
        return AppendFormatted(length, "%S", reinterpret_cast<const wchar_t*>(value));
    case TY_BYTE:
    case TY_CHAR:
        return AppendFormatted(length, "%c", asInt);
    case TY_INTEGER:
        return AppendFormatted(length, "%d ", asInt);
    case TY_WORD:
        return AppendFormatted(length, "%hu ", asInt);
    case TY_SHORT:
        return AppendFormatted(length, "%hd ", asInt);
    case TY_SINGLE:
        return AppendFormatted(length, "% .*f", printPrecision, FloatFromBits(value));
    case TY_DOUBLE:
        return AppendFormatted(length, "% .*f", printPrecision, DoubleFromWords(value, high));
    case TY_QUAD:
        return AppendInt64(length, true, value, high);
    case TY_UQUAD:
        return AppendInt64(length, false, value, high);
    default:
        return AppendFormatted(length, "%u ", value);
    }
}

}  // namespace

int32_t PrintItemWords(int32_t count, const uint32_t* words) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    int32_t length = 0;
    for (int32_t item = 0; item < count; ++item) {
        const uint32_t code = *words++;
        const uint32_t value = *words++;
        const uint32_t high = TakesTwoWords(code) ? *words++ : 0;
        if (code == PRINT_WINDOW && item == 0) {
            printTarget = reinterpret_cast<WindowRecord*>(value);
            continue;
        }
        const int32_t next = AppendItem(length, code, value, high);
        if (next < 0)
            break;
        length = next;
    }
    line[length] = '\0';

    if (!printTarget) {
        DWORD written = 0;
        WriteFile(output, line, static_cast<DWORD>(length), &written, nullptr);
        return length;
    }
    // One line end comes off: a line feed, and the carriage return just
    // before it. A carriage return without a line feed after it stays.
    if (length > 0 && line[length - 1] == '\n') {
        line[--length] = '\0';
        if (length > 0 && line[length - 1] == '\r')
            line[--length] = '\0';
    }
    if (length == 0)
        return 0;
    // The scope's DC draws at its current position and moves it to the end
    // of the text; the release stores it back, so the next print continues
    // on the same line.
    if (HDC dc = AcquireDrawDC(printTarget)) {
        TextOutA(dc, printTarget->penX, printTarget->penY, line, length);
        ReleaseDrawDC(printTarget, dc, 1);
    }
    return length;
}

int32_t PrintValues(int32_t count, ...) {
    // On i386 the variadic words lie in order on the stack and va_list is a
    // plain pointer to the first of them.
    static_assert(std::is_same_v<va_list, char*>);
    va_list args;
    va_start(args, count);
    const int32_t length = PrintItemWords(count, reinterpret_cast<const uint32_t*>(args));
    va_end(args);
    return length;
}

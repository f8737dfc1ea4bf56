#include "runtime/resource/file_channel.h"

#include <array>
#include <cstring>

#include "runtime/window/message_box.h"
#include "runtime/core/numbers.h"
#include "runtime/core/strings.h"

namespace {

constexpr DWORD kChannelFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN;
static_assert(kChannelFlags == 0x8000080);

struct ChannelMode {
    const char* name;
    bool binaryOnly;
    DWORD access;
    DWORD sharing;
    DWORD disposition;
    bool toEnd;
};

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr std::array<ChannelMode, 8> kModes{{
    {"R", false, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, false},
    {"r", false, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, false},
    {"R+", true, kReadWrite, FILE_SHARE_READ, OPEN_EXISTING, false},
    {"r+", true, kReadWrite, FILE_SHARE_READ, OPEN_EXISTING, false},
    {"W", false, kReadWrite, FILE_SHARE_READ, CREATE_ALWAYS, false},
    {"w", false, kReadWrite, FILE_SHARE_READ, CREATE_ALWAYS, false},
    {"A", false, kReadWrite, FILE_SHARE_READ, OPEN_ALWAYS, true},
    {"a", false, kReadWrite, FILE_SHARE_READ, OPEN_ALWAYS, true},
}};

constexpr DWORD kLineChunk = 128;
// A number's text with its separators fits: a shorter read copies less.
constexpr DWORD kNumberChunk = 32;
constexpr int32_t kNumberTextMax = 40;
constexpr uint8_t CR = '\r';
constexpr uint8_t LF = '\n';

constexpr DWORD kReadablePages = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                 PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

// Whether the bytes from address up to `last` may be read. One query covers
// them when they lie in one region, as a variable almost always does.
bool IsReadable(uintptr_t address, uintptr_t last) {
    MEMORY_BASIC_INFORMATION info{};
    if (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof(info)) == 0)
        return false;
    if (info.State != MEM_COMMIT || (info.Protect & kReadablePages) == 0 || (info.Protect & PAGE_GUARD) != 0)
        return false;
    const uintptr_t regionEnd = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
    return last < regionEnd || IsReadable(regionEnd, last);
}

// Whether address .. last lie in this thread's stack between here and its
// base: committed and readable, without asking the memory manager (the
// query cost a number read from a channel a fifth of its time).
bool IsOnOwnStack(uintptr_t address, uintptr_t last) {
    // NT_TIB.StackBase, read through fs as NtCurrentTeb does (whose own
    // inline read trips the compiler's bounds check).
    uintptr_t stackBase;
    __asm__("movl %%fs:4, %0" : "=r"(stackBase));
    const char here = 0;
    return address >= reinterpret_cast<uintptr_t>(&here) && last < stackBase;
}

// The channel variable at address, or null where no readable word is.
HANDLE HandleAt(uintptr_t address) {
    if (!address || address > UINTPTR_MAX - sizeof(HANDLE))
        return nullptr;
    const uintptr_t last = address + sizeof(HANDLE) - 1;
    if (!IsOnOwnStack(address, last) && !IsReadable(address, last))
        return nullptr;
    return *reinterpret_cast<const HANDLE*>(address);
}

bool IsChannelType(uint32_t type) {
    const uint32_t code = type & 0xFFFF;
    return code == TY_TEXTFILE || code == TY_BINFILE;
}

const ChannelMode* FindMode(uint32_t channelCode, const char* mode) {
    for (const ChannelMode& m : kModes) {
        if (lstrcmpA(mode, m.name) == 0)
            return m.binaryOnly && channelCode != TY_BINFILE ? nullptr : &m;
    }
    return nullptr;
}

bool ReadByte(HANDLE handle, uint8_t& byte) {
    DWORD got = 0;
    return ReadFile(handle, &byte, 1, &got, nullptr) && got == 1;
}

void StepBack(HANDLE handle, DWORD bytes) {
    if (bytes)
        SetFilePointer(handle, -static_cast<LONG>(bytes), nullptr, FILE_CURRENT);
}

// Reads one line into line[0 .. capacity - 1], capacity >= 1, and leaves the
// file pointer just after what it consumed: the stored bytes and the line's
// ending. Returns whether anything was consumed.
bool ReadLine(HANDLE handle, char* line, int32_t capacity) {
    std::array<uint8_t, kLineChunk> chunk;
    int32_t length = 0;
    bool consumed = false;
    bool ended = false;
    while (!ended) {
        DWORD got = 0;
        if (!ReadFile(handle, chunk.data(), kLineChunk, &got, nullptr) || got == 0)
            break;
        for (DWORD i = 0; i < got && !ended; ++i) {
            const uint8_t byte = chunk[i];
            const DWORD after = got - i - 1;  // bytes of the chunk past this one
            if (byte != CR && byte != LF) {
                if (length + 1 < capacity) {
                    line[length++] = static_cast<char>(byte);
                    consumed = true;
                    continue;
                }
                // No room: the line is cut before this byte, which stays unread.
                StepBack(handle, after + 1);
                ended = true;
                break;
            }
            consumed = true;
            ended = true;
            if (byte == LF) {
                StepBack(handle, after);
            } else if (after > 0) {
                StepBack(handle, chunk[i + 1] == LF ? after - 1 : after);
            } else {
                // A CR that ends the chunk: its LF, if any, is the next byte.
                uint8_t next = 0;
                if (ReadByte(handle, next) && next != LF)
                    StepBack(handle, 1);
            }
        }
    }
    line[length] = 0;
    return consumed;
}

int32_t NumberWidth(uint32_t code) {
    switch (code) {
    case TY_BYTE:
    case TY_CHAR:
        return 1;
    case TY_WORD:
    case TY_SHORT:
        return 2;
    case TY_INTEGER:
    case TY_DWORD:
    case TY_SINGLE:
        return 4;
    case TY_DOUBLE:
    case TY_QUAD:
    case TY_UQUAD:
        return 8;
    default:
        return 0;
    }
}

uint64_t RoundToUint64(double value) {
    constexpr double kTwo63 = 9223372036854775808.0;
    // At 2^63 and above every double is an integer; the subtraction is exact.
    if (value >= kTwo63 && value < 2 * kTwo63)
        return static_cast<uint64_t>(RoundToInt64(value - kTwo63)) + (uint64_t{1} << 63);
    return static_cast<uint64_t>(RoundToInt64(value));
}

void StoreNumber(void* variable, uint32_t code, double value) {
    auto store = [variable](auto v) { std::memcpy(variable, &v, sizeof(v)); };
    switch (code) {
    case TY_DWORD:
        store(static_cast<uint32_t>(RoundToInt64(value)));
        break;
    case TY_WORD:
    case TY_SHORT:
        store(static_cast<uint16_t>(RoundToInt32(value)));
        break;
    case TY_BYTE:
    case TY_CHAR:
        store(static_cast<uint8_t>(RoundToInt32(value)));
        break;
    case TY_SINGLE:
        store(static_cast<float>(value));
        break;
    case TY_DOUBLE:
        store(value);
        break;
    case TY_QUAD:
        store(RoundToInt64(value));
        break;
    case TY_UQUAD:
        store(RoundToUint64(value));
        break;
    default:
        store(RoundToInt32(value));
        break;
    }
}

int32_t ReadText(HANDLE handle, TypedArg destination, int32_t count) {
    void* variable = reinterpret_cast<void*>(static_cast<uintptr_t>(destination.value));
    const uint32_t code = TypeCode(destination);
    if (code == TY_STRING) {
        char* line = static_cast<char*>(variable);
        const int32_t storage = StringStorage(line, count);
        if (storage <= 0)
            return -1;
        return ReadLine(handle, line, storage) ? 0 : -1;
    }
    int32_t notFound = 0;
    const double value = ReadNumberText(handle, &notFound);
    StoreNumber(variable, code, notFound ? 0.0 : value);
    return notFound ? -1 : 0;
}

int32_t ReadBinary(HANDLE handle, TypedArg destination, int32_t count) {
    void* target = reinterpret_cast<void*>(static_cast<uintptr_t>(destination.value));
    const uint32_t code = TypeCode(destination);
    if (count <= 0)
        return -1;
    DWORD bytes = static_cast<DWORD>(count);
    if (code == TY_BLOCK) {
        target = *static_cast<void**>(target);
        if (!target)
            return -1;
        SIZE_T size = GlobalSize(target);
        if (size == static_cast<SIZE_T>(-1))
            size = 0;
        bytes = size < bytes ? static_cast<DWORD>(size) : bytes;
    } else if (code == TY_STRING) {
        const int32_t block = StringCapacity(static_cast<const char*>(target));
        if (block > 0 && static_cast<DWORD>(block) < bytes)
            bytes = static_cast<DWORD>(block);
    } else if (const int32_t width = NumberWidth(code); width > 0 && static_cast<DWORD>(width) < bytes) {
        bytes = static_cast<DWORD>(width);
    }
    DWORD got = 0;
    if (bytes == 0 || !ReadFile(handle, target, bytes, &got, nullptr))
        return -1;
    return got ? 0 : -1;
}

}  // namespace

int32_t OpenFileChannel(HANDLE* channel, uint32_t channelType, const char* fileName, const char* mode) {
    if (!IsChannelType(channelType)) {
        ShowMessage(nullptr, "Runtime error (OPENFILE): file variable expected", "Error", MB_OK);
        return 1;
    }
    const ChannelMode* m = mode ? FindMode(channelType & 0xFFFF, mode) : nullptr;
    // Without a mode of the table there is nothing the platform would accept.
    if (!channel || !fileName || !m)
        return 1;
    const HANDLE handle =
        CreateFileA(fileName, m->access, m->sharing, nullptr, m->disposition, kChannelFlags, nullptr);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr)
        return 1;
    *channel = handle;
    if (m->toEnd)
        SetFilePointer(handle, 0, nullptr, FILE_END);
    return 0;
}

HANDLE ChannelHandle(TypedArg channel) {
    if (!IsChannelType(channel.type))
        return nullptr;
    // By value the handle itself comes first; variables lie far above the
    // numbers a process's handles take.
    const auto value = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(channel.value));
    if (!IsByRef(channel) && IsOpenFile(value))
        return value;
    return HandleAt(channel.value);
}

bool IsOpenFile(HANDLE handle) {
    if (!handle || handle == INVALID_HANDLE_VALUE)
        return false;
    SetLastError(NO_ERROR);
    return GetFileType(handle) != FILE_TYPE_UNKNOWN || GetLastError() == NO_ERROR;
}

int32_t ReadFileChannel(TypedArg channel, TypedArg destination, int32_t count) {
    const HANDLE handle = ChannelHandle(channel);
    if (!handle || !destination.value)
        return -1;
    if (TypeCode(channel) == TY_TEXTFILE)
        return ReadText(handle, destination, count);
    return ReadBinary(handle, destination, count);
}

int32_t CloseFileChannel(HANDLE* channel, uint32_t channelType) {
    if (!IsChannelType(channelType)) {
        ShowMessage(nullptr, "Runtime Error: Invalid file variable", "Error", MB_OK);
        return 0;
    }
    if (!channel || !*channel)
        return 0;
    CloseHandle(*channel);
    *channel = nullptr;
    return 1;
}

double ReadNumberText(HANDLE handle, int32_t* notFound) {
    // A chunk at a time, as ReadLine reads, then back to just after the byte
    // that ended the number: a byte a call made a number cost ten reads.
    std::array<uint8_t, kNumberChunk> chunk;
    std::array<char, kNumberTextMax + 1> text;
    int32_t length = 0;
    bool started = false;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(handle, chunk.data(), kNumberChunk, &got, nullptr) || got == 0)
            break;
        for (DWORD i = 0; i < got; ++i) {
            const uint8_t byte = chunk[i];
            // The digit test is written out: a call for every byte showed in
            // a number's time.
            const bool part = static_cast<uint8_t>(byte - '0') < 10 || byte == '-' || (started && byte == '.');
            if (!part) {
                if (!started)
                    continue;
                StepBack(handle, got - i - 1);
                text[static_cast<size_t>(length)] = 0;
                if (notFound)
                    *notFound = 0;
                return ParseNumber(text.data());
            }
            started = true;
            if (length < kNumberTextMax)
                text[static_cast<size_t>(length++)] = static_cast<char>(byte);
        }
    }
    if (notFound)
        *notFound = started ? 0 : 1;
    text[static_cast<size_t>(length)] = 0;
    return started ? ParseNumber(text.data()) : 0.0;
}

bool IsDigit(uint8_t byte) { return IsDigitChar(byte) != 0; }

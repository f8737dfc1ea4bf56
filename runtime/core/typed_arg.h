#pragma once
// Polymorphic argument: a value word and a type word.

#include <cstddef>
#include <cstdint>

enum : uint32_t {
    TY_STRING = 0,     // zero-terminated 8-bit string, always by address
    TY_BYTE = 1,
    TY_INTEGER = 2,    // signed 32-bit
    TY_SINGLE = 3,
    TY_BLOCK = 5,      // variable holding a global memory block
    TY_TEXTFILE = 6,
    TY_BINFILE = 11,
    TY_WORD = 13,
    TY_DOUBLE = 14,
    TY_WINDOW = 15,    // a WindowRecord
    TY_POINTER = 16,
    TY_QUAD = 17,
    TY_UQUAD = 18,
    TY_DWORD = 19,     // unsigned 32-bit
    TY_NONE = 22,
    TY_SHORT = 30,
    TY_CHAR = 31,
};

// High-half flag: the value is the address of the caller's variable.
constexpr uint32_t TY_BYREF = 0x10000;

struct TypedArg {
    uint32_t value;
    uint32_t type;
};
static_assert(sizeof(TypedArg) == 8);
static_assert(offsetof(TypedArg, value) == 0);
static_assert(offsetof(TypedArg, type) == 4);

constexpr TypedArg NoArg{0, TY_NONE};

constexpr uint32_t TypeCode(TypedArg a) { return a.type & 0xFFFF; }
constexpr bool IsByRef(TypedArg a) { return (a.type & TY_BYREF) != 0; }

// An integer by value.
inline TypedArg IntArg(int32_t v) { return TypedArg{static_cast<uint32_t>(v), TY_INTEGER}; }
// A string: the address of its characters, or of a buffer a call fills.
inline TypedArg StrArg(const char* s) {
    return TypedArg{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(s)), TY_STRING};
}

// A reference to the caller's integer variable: commands read it, or write
// it, through its address at the time of the call.
inline TypedArg IntRefArg(int32_t* variable) {
    return TypedArg{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(variable)), TY_INTEGER | TY_BYREF};
}
// A file channel variable (the HANDLE that OpenFileChannel fills), by
// reference, as the channel calls and the stream commands take it; kind is
// TY_TEXTFILE or TY_BINFILE.
inline TypedArg ChannelArg(void** channel, uint32_t kind = TY_TEXTFILE) {
    return TypedArg{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(channel)), kind | TY_BYREF};
}

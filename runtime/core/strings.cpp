#include "runtime/core/strings.h"

#include <windows.h>

#include <cstring>

#include "runtime/core/block_alloc.h"
#include "runtime/core/string_slots.h"

namespace {

HANDLE stringHeap;                                  // null until created, and after shutdown
std::array<const char*, kTemporarySlots> temporaries;
int32_t temporaryTop;
// Pushes refused since the stack filled up, newest on top of it: their
// releases must pop nothing, or they would free an outer caller's string.
int32_t temporariesDropped;
ListNode* exitRoutines;                             // head node, null until first use

struct ExitRoutineEntry {
    ExitRoutine routine;
    int32_t value;
};
static_assert(sizeof(ExitRoutineEntry) == 8);

constexpr uint32_t HasZeroByte(uint32_t w) { return (w - 0x01010101u) & ~w & 0x80808080u; }

// A string block of n + 3 bytes; zero-filled only with HEAP_ZERO_MEMORY.
char* HeapString(int32_t n, DWORD flags) {
    if (!stringHeap || n < 0 || n > 0x7FFFFFFF - 3)
        return nullptr;
    const SIZE_T bytes = static_cast<SIZE_T>(n) + 3;
    if (bytes <= kStringSlotBytes) {
        if (char* slot = TakeStringSlot(static_cast<int32_t>(bytes))) {
            if (flags & HEAP_ZERO_MEMORY)
                std::memset(slot, 0, bytes);
            return slot;
        }
    }
    void* block = HeapAlloc(stringHeap, flags, bytes);
    if (!block) {
        HeapCompact(stringHeap, 0);
        block = HeapAlloc(stringHeap, flags, bytes);
    }
    return static_cast<char*>(block);
}

// Copies src with its terminator to dst and gives the terminator's place
// in dst. Reads the source as StringLength does; writes only the string
// and its terminator.
char* CopyToEnd(char* out, const char* src) {
    while (reinterpret_cast<uintptr_t>(src) & 3) {
        if ((*out = *src++) == 0)
            return out;
        ++out;
    }
    uint32_t w;
    for (;;) {
        std::memcpy(&w, src, 4);
        if (HasZeroByte(w))
            break;
        std::memcpy(out, &w, 4);
        src += 4;
        out += 4;
    }
    // The word that holds the terminator, without a byte loop: bytes before
    // the first zero are never flagged, so the lowest flag marks it.
    const int zeroAt = __builtin_ctz(HasZeroByte(w)) / 8;
    if (zeroAt >= 2) {
        std::memcpy(out, &w, 2);
        out += 2;
        w >>= 16;
    }
    if (zeroAt & 1) {
        *out++ = static_cast<char>(w);
    }
    *out = 0;
    return out;
}

// A new string of `length` characters whose first bytes the caller fills:
// the terminator and the block's spare bytes are zero, as AllocString's
// are, without paying to clear the rest first.
char* StringToFill(int32_t length) {
    char* block = HeapString(length + 1, 0);
    if (block)
        std::memset(block + length, 0, 4);
    return block;
}

}  // namespace

int32_t CreateStringHeap() {
    stringHeap = HeapCreate(0, 0x7FFFF, 0);
    if (!stringHeap)
        return 0;
    CreateStringSlots(stringHeap);
    return 1;
}

char* AllocString(int32_t n) { return HeapString(n, HEAP_ZERO_MEMORY); }

int32_t FreeString(const char* s) {
    if (!stringHeap || !s)
        return 0;
    if (const int32_t slot = ReturnStringSlot(s); slot >= 0)
        return slot;
    return HeapFree(stringHeap, 0, const_cast<char*>(s)) ? 1 : 0;
}

int32_t StringCapacity(const char* s) {
    // HeapValidate answers FALSE for an address that is not the start of one
    // of the heap's blocks (a buffer elsewhere, a pointer into a block)
    // before HeapSize is trusted with it.
    if (!stringHeap || !s)
        return 0;
    if (const int32_t slot = StringSlotSize(s); slot >= 0)
        return slot;
    if (!HeapValidate(stringHeap, 0, s))
        return 0;
    const SIZE_T size = HeapSize(stringHeap, 0, s);
    if (size == static_cast<SIZE_T>(-1))
        return 0;
    return size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int32_t>(size);
}

int32_t StringStorage(const char* s, int32_t size) {
    const int32_t block = StringCapacity(s);
    if (size <= 0)
        return block;
    return block > 0 && block < size ? block : size;
}

int32_t PushTemporary(const char* s) {
    if (temporaryTop < kTemporarySlots) {
        temporaries[temporaryTop++] = s;
    } else {
        OutputDebugStringA("Heap Overflow");
        ++temporariesDropped;
    }
    return 0;
}

int32_t ReleaseTemporaries(int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        if (temporariesDropped > 0) {
            --temporariesDropped;
        } else if (temporaryTop > 0) {
            --temporaryTop;
            FreeString(temporaries[temporaryTop]);
            temporaries[temporaryTop] = nullptr;
        } else {
            OutputDebugStringA("Heap Underflow");
        }
    }
    return 0;
}

int32_t FreeAllTemporaries() {
    for (int32_t i = 0; i < temporaryTop; ++i) {
        FreeString(temporaries[i]);
        temporaries[i] = nullptr;
    }
    temporaryTop = 0;
    temporariesDropped = 0;
    return 0;
}

int32_t TemporaryCount() { return temporaryTop; }

int32_t AddExitRoutine(ExitRoutine routine, int32_t value) {
    if (!routine)
        return 0;
    if (!exitRoutines)
        exitRoutines = ListCreate();
    auto* entry = static_cast<ExitRoutineEntry*>(AllocZeroed(AT_STRUCT, sizeof(ExitRoutineEntry)));
    if (!exitRoutines || !entry) {
        FreeBlock(entry);
        return 0;
    }
    entry->routine = routine;
    entry->value = value;
    ListInsertAfter(exitRoutines, entry);
    return 0;
}

int32_t ShutdownStringHeap() {
    if (exitRoutines) {
        for (ListNode* node = ListFirst(exitRoutines); node; node = ListNext(node)) {
            const auto* entry = static_cast<const ExitRoutineEntry*>(ListItem(node));
            if (entry)
                entry->routine(entry->value);
        }
        FreeList(exitRoutines, 1);
        exitRoutines = nullptr;
    }
    if (!stringHeap)
        return 0;
    ForgetStringSlots();
    const int32_t result = HeapDestroy(stringHeap) ? 1 : 0;
    stringHeap = nullptr;
    temporaryTop = 0;
    return result;
}

int32_t StringLength(const char* s) {
    if (!s)
        return 0;
    const char* p = s;
    // Leading bytes up to a word boundary, then aligned words: an aligned
    // read never crosses into another page, so reading past the terminator
    // inside its own word is safe for any string.
    while (reinterpret_cast<uintptr_t>(p) & 3) {
        if (*p == 0)
            return static_cast<int32_t>(p - s);
        ++p;
    }
    for (;;) {
        uint32_t w;
        std::memcpy(&w, p, 4);
        if (HasZeroByte(w))
            break;
        p += 4;
    }
    while (*p)
        ++p;
    return static_cast<int32_t>(p - s);
}

char* CopyString(char* dst, const char* src) {
    if (!dst)
        return dst;
    if (!src) {
        *dst = 0;
        return dst;
    }
    // One pass: measuring first and then calling memcpy made short strings
    // cost twice what strcpy does.
    CopyToEnd(dst, src);
    return dst;
}

char* AppendString(char* dst, const char* src) {
    if (!dst)
        return dst;
    CopyString(dst + StringLength(dst), src);
    return dst;
}

char* DuplicateString(const char* s) {
    const int32_t length = StringLength(s);
    char* copy = StringToFill(length);
    if (copy && s)
        CopyToEnd(copy, s);
    return copy;
}

char* UpperCaseCopy(const char* s) {
    char* copy = DuplicateString(s);
    if (copy)
        CharUpperA(copy);
    return copy;
}

char* ConcatStringList(const char* const* parts, int32_t count) {
    int32_t total = 0;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t length = StringLength(parts[i]);
        if (length > 0x7FFFFFF0 - total)
            return nullptr;
        total += length;
    }
    char* block = StringToFill(total);
    if (!block)
        return nullptr;
    char* end = block;
    for (int32_t i = 0; i < count; ++i) {
        if (parts[i])
            end = CopyToEnd(end, parts[i]);
    }
    return block;
}

int32_t FindInString(const char* text, const char* pattern, int32_t start) {
    if (!text || !pattern || !*pattern)
        return 0;
    if (start < 1)
        start = 1;
    const int32_t length = StringLength(text);
    const int32_t patternLength = StringLength(pattern);
    if (length < start)
        return 0;
    for (int32_t at = start - 1; at <= length - patternLength; ++at)
        if (std::memcmp(text + at, pattern, static_cast<size_t>(patternLength)) == 0)
            return at + 1;
    return 0;
}

#pragma once
// The private string heap, the temporary-string stack, exit routines and the
// string primitives. Every string a runtime routine returns is a new block of
// the string heap owned by the caller and released with FreeString (a short
// one a slot of a block the heap keeps for them, which reports the size it
// was made for as any block does).

#include <array>
#include <cstdint>

// Creates the string heap RunProgram makes; 1, or 0 when the platform refuses.
int32_t CreateStringHeap();
// Zero-filled block of n + 3 bytes (the spare bytes keep word reads inside
// the block), or null.
[[nodiscard]] char* AllocString(int32_t n);
// 1 when the block was freed; 0 for null and when the platform refuses.
int32_t FreeString(const char* s);
// Bytes of storage behind s (the whole block, spare bytes included) when s is
// the start of a live string-heap block; 0 for any other address.
int32_t StringCapacity(const char* s);
// The bytes a caller's string s may receive, its terminator included: size
// when size > 0, but never more than the block when s is the start of a
// string-heap block; that block's size when size <= 0; 0 when neither is
// known.
int32_t StringStorage(const char* s, int32_t size);
// Runs the exit routines, then destroys the heap and every string in it;
// 1, or 0 when there was no heap or the platform refused.
int32_t ShutdownStringHeap();

constexpr int32_t kTemporarySlots = 1000;
// Records s to be freed by the matching ReleaseTemporaries. With every slot
// taken it writes "Heap Overflow" to the debugger output and s is never
// freed, but its release is still counted. Returns 0.
int32_t PushTemporary(const char* s);
// Releases the count newest pushes, freeing the strings that were recorded;
// "Heap Underflow" for each one that was never pushed. Returns 0.
int32_t ReleaseTemporaries(int32_t count);
// Frees every string pushed and empties the stack. Returns 0.
int32_t FreeAllTemporaries();
// Pushes not yet released.
int32_t TemporaryCount();

using ExitRoutine = void (*)(int32_t value);
// routine(value) runs when the heap is shut down, the newest first. Returns
// 0, whether it was recorded or not (no routine, no memory).
int32_t AddExitRoutine(ExitRoutine routine, int32_t value);

// Bytes before the terminator; 0 for null.
int32_t StringLength(const char* s);
// Copy src to dst, or append it; dst must hold the result. Return dst.
char* CopyString(char* dst, const char* src);
char* AppendString(char* dst, const char* src);
// New strings owned by the caller (FreeString): a copy, an upper-case copy,
// the parts joined; null without memory.
[[nodiscard]] char* DuplicateString(const char* s);
[[nodiscard]] char* UpperCaseCopy(const char* s);
[[nodiscard]] char* ConcatStringList(const char* const* parts, int32_t count);

// Position, counted from 1, of the first occurrence of pattern in text at or
// after position start (0 and below count as 1), compared byte for byte; 0
// when there is none, when pattern is empty or null, or when text is
// shorter than start characters.
int32_t FindInString(const char* text, const char* pattern, int32_t start);

// ConcatStrings("a", b, ...): a new string holding the operands joined.
template <typename... Parts>
[[nodiscard]] char* ConcatStrings(const char* first, Parts... rest) {
    const std::array<const char*, 1 + sizeof...(rest)> parts{first, rest...};
    return ConcatStringList(parts.data(), static_cast<int32_t>(parts.size()));
}

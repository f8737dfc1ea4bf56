#include "runtime/core/format_int64.h"

#include <array>

int32_t FormatUnsigned64(char* out, uint32_t low, uint32_t high) {
    std::array<char, 20> reversed{};
    int32_t count = 0;
    do {
        // Long division by 10 over both halves: the remainder of the high
        // half carries into the low half.
        const uint32_t highRemainder = high % 10;
        high /= 10;
        const uint64_t lowPart = (static_cast<uint64_t>(highRemainder) << 32) | low;
        low = static_cast<uint32_t>(lowPart / 10);
        reversed[static_cast<size_t>(count++)] = static_cast<char>('0' + lowPart % 10);
    } while (low != 0 || high != 0);
    for (int32_t i = 0; i < count; ++i)
        out[i] = reversed[static_cast<size_t>(count - 1 - i)];
    out[count] = ' ';
    out[count + 1] = '\0';
    return count + 1;
}

int32_t FormatSigned64(char* out, uint32_t low, uint32_t high) {
    if ((high & 0x80000000u) == 0)
        return FormatUnsigned64(out, low, high);
    out[0] = '-';
    const uint32_t negatedLow = ~low + 1;
    const uint32_t negatedHigh = ~high + (low == 0 ? 1 : 0);
    return FormatUnsigned64(out + 1, negatedLow, negatedHigh) + 1;
}

#include "runtime/core/numbers.h"

#include <array>

namespace {

// Rounding control "truncate" on top of the runtime's control word.
constexpr uint16_t kTruncatingControlWord = 0x0F3F;

// Doubles computed on the x87 stay at 64-bit precision in registers; a store
// through memory rounds them to double.
double RoundToDouble(long double x) {
    volatile double stored = static_cast<double>(x);
    return stored;
}

// The power result passes through here, which rounds it to double.
volatile double powerResult;

// b truncated toward zero to a 64-bit integer, with the rounding switched to
// truncation for this one conversion.
int64_t TruncateToInt64(double b) {
    uint16_t saved = 0;
    const uint16_t truncating = kTruncatingControlWord;
    int64_t n = 0;
    __asm__ __volatile__(
        "fnstcw %0\n\t"
        "fldcw %2\n\t"
        "fistpll %1\n\t"
        "fldcw %0"
        : "=m"(saved), "=m"(n)
        : "m"(truncating), "t"(static_cast<long double>(b))
        : "st");
    return n;
}

}  // namespace

int32_t IsDigitChar(int32_t c) {
    const auto low = static_cast<uint8_t>(c);
    return low >= '0' && low <= '9' ? 1 : 0;
}

int32_t FirstCharCode(const char* s) { return s ? static_cast<uint8_t>(s[0]) : 0; }

double ParseNumber(const char* s) {
    if (!s)
        return 0.0;
    while (*s == ' ' || *s == '\t')
        ++s;
    bool negative = false;
    if (FirstCharCode(s) == FirstCharCode("-")) {
        negative = true;
        ++s;
    }
    double value = 0.0;
    for (; IsDigitChar(*s); ++s)
        value = RoundToDouble(static_cast<long double>(value) * 10 + (*s - '0'));
    if (FirstCharCode(s) == FirstCharCode(".")) {
        ++s;
        for (int32_t k = 1; IsDigitChar(*s); ++s, ++k) {
            const long double step = static_cast<long double>(*s - '0') * (1.0L / PowerOfTen(k));
            value = RoundToDouble(value + step);
        }
    }
    return negative ? -value : value;
}

double PowerCore(double a, double b) {
    long double t;
    __asm__("fyl2x" : "=t"(t) : "0"(static_cast<long double>(a)), "u"(static_cast<long double>(b)) : "st(1)");
    long double n;
    __asm__("frndint" : "=t"(n) : "0"(t));
    long double fractionPower;
    __asm__("f2xm1" : "=t"(fractionPower) : "0"(t - n));
    long double scaled;
    __asm__("fscale" : "=t"(scaled) : "0"(fractionPower + 1.0L), "u"(n));
    powerResult = static_cast<double>(scaled);
    return powerResult;
}

double Power(double a, double b) {
    if (b == 0.0)
        return 1.0;
    if (a > 0.0)
        return PowerCore(a, b);
    if (a == 0.0)
        return 0.0;
    const int64_t n = TruncateToInt64(b);
    if (static_cast<long double>(n) != static_cast<long double>(b))
        return 0.0;
    const double r = PowerCore(AbsoluteValue(a), static_cast<double>(n));
    return (n & 1) ? -r : r;
}

double PowerOfTen(int32_t k) {
    // Up to 10^22 every power of ten is a double, and the x87's logarithm
    // and exponential land on it: a table saves both for each decimal digit
    // a number is read with, the most of reading one under emulation.
    constexpr std::array<double, 23> kExact{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (k >= 0 && k < static_cast<int32_t>(kExact.size()))
        return kExact[static_cast<size_t>(k)];
    return Power(10.0, k);
}

double AbsoluteValue(double x) { return x >= 0.0 ? x : -x; }

int32_t RoundToInt32(double x) {
    int32_t result;
    __asm__ __volatile__("fistpl %0" : "=m"(result) : "t"(static_cast<long double>(x)) : "st");
    return result;
}

int64_t RoundToInt64(double x) {
    int64_t result;
    __asm__ __volatile__("fistpll %0" : "=m"(result) : "t"(static_cast<long double>(x)) : "st");
    return result;
}

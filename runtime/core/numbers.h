#pragma once
// Text to number, the character tests it uses, powers and absolute values.
// All of it runs on the x87 with the runtime's control word (64-bit
// precision, round to nearest even, exceptions masked).

#include <cstdint>

// Leading decimal text to a double: blanks and tabs skipped, an optional
// '-', digits, optionally '.' and digits. No exponent, no '+'; conversion
// stops at the first character that does not fit. Each digit is added in
// its own step, rounded to double. Text without digits (or null) gives 0.
double ParseNumber(const char* s);

// 1 when the low byte of c is '0' to '9', else 0.
int32_t IsDigitChar(int32_t c);

// First byte of s as 0 to 255; 0 for the empty string (or null).
int32_t FirstCharCode(const char* s);

// a to the power b: 1 when b is 0; 0 for a zero base (negative b too) and
// for a negative base with a fractional exponent; a negative base with an
// integral exponent gives the sign of an odd or even power.
double Power(double a, double b);

// 10 to the power k, exactly as Power(10, k) gives it.
double PowerOfTen(int32_t k);

// a to the power b for a > 0, as 2^(b log2 a) on the x87.
double PowerCore(double a, double b);

// -x when x >= 0 is false (negative numbers and NaN), else x; -0 stays -0.
double AbsoluteValue(double x);

// x rounded to a signed 32-bit integer by the x87's current rounding (to
// nearest, ties to even, under the runtime's control word); a value out of
// range gives -2147483648, the x87's integer indefinite.
int32_t RoundToInt32(double x);

// x rounded to a signed 64-bit integer the same way; out of range gives
// -9223372036854775808 (the integer indefinite).
int64_t RoundToInt64(double x);

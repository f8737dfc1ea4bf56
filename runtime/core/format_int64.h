#pragma once
// Decimal text of 64-bit integers given as two 32-bit halves.

#include <cstdint>

// Writes the digits of the value (at least one), one space and a terminating
// zero at out; returns the digits written plus 1 (the space). out needs room
// for 22 bytes.
int32_t FormatUnsigned64(char* out, uint32_t low, uint32_t high);

// As FormatUnsigned64, with a leading '-' for a negative value, which counts
// one more. out needs room for 23 bytes.
int32_t FormatSigned64(char* out, uint32_t low, uint32_t high);

constexpr int32_t kFormat64Room = 23;

#pragma once
// The x87 control word the whole runtime computes under.

#include <cstdint>

// All exceptions masked, 64-bit precision, round to nearest even.
constexpr uint16_t kFloatControlWord = 0x033F;

// Clears pending x87 exceptions and reloads kFloatControlWord, after platform
// calls that may change it. Returns 0.
int32_t ResetFloatingPoint();

#pragma once
// The print routine: a list of typed values formatted into one line of text,
// written to standard output or meant for a window.

#include <cstdint>

#include "runtime/core/typed_arg.h"
#include "runtime/window/window_record.h"

// Item codes beyond the TY_ codes: a window as the first item chooses the
// target; 16-bit strings print as such.
enum : uint32_t {
    PRINT_WINDOW = 9,
    PRINT_WIDE_STRING = 32,
};

// Where print output goes; null means standard output. A print whose first
// item is a window sets it, and it stays set for later prints.
extern WindowRecord* printTarget;
// Decimals of floating-point items.
extern int32_t printPrecision;

constexpr int32_t kPrintBufferBytes = 32768;

// count items, each a type word followed by its value: one word, or two
// (low word first) for TY_DOUBLE, TY_QUAD and TY_UQUAD; a TY_SINGLE value is
// the float's bit pattern in one word. Forms: strings and characters as they
// are; TY_INTEGER, TY_DWORD, TY_WORD, TY_SHORT and other codes as decimal and
// one space; floats with a sign place (blank or '-') and printPrecision
// decimals. No separators, no line end. An item that would overflow the
// line buffer is left out with all items after it. Returns the length of
// the line built.
int32_t PrintItemWords(int32_t count, const uint32_t* words);

// PrintItemWords over the words that follow count in the call:
// PrintValues(2, TY_INTEGER, 5, TY_DOUBLE, 2.5).
int32_t PrintValues(int32_t count, ...);

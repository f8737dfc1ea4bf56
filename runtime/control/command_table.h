#pragma once
// The row layout shared by the control command tables, the argument checks
// every row goes through before anything is sent, and the routines that
// carry out the rows made of one plain message.

#include <windows.h>

#include <array>
#include <cstdint>
#include <span>

#include "runtime/core/typed_arg.h"
#include "runtime/window/window_record.h"

// What a row demands of one argument.
enum class ArgKind : uint8_t {
    None,        // not listed: must be left out (TY_NONE)
    Int,         // TY_INTEGER or TY_DWORD, by value or read through its address
    IntRef,      // an int carrying TY_BYREF; the address itself is passed on
    Str,         // TY_STRING; the address of the characters
    StrOrFile,   // TY_STRING or TY_TEXTFILE
    OptionalInt, // left out, or an Int
};

// Whether the row's message result is handed back or replaced by 0.
enum class RowResult : uint8_t { Passed, Zero };

struct CommandCall {
    HWND control;
    const WindowRecord* window;
    std::array<TypedArg, 4> args;
};

struct CommandRow;
using CommandRoutine = int32_t (*)(const CommandRow& row, const CommandCall& call);

struct CommandRow {
    int32_t code;
    UINT message;
    WPARAM wParam;                   // for rows whose wParam is fixed, not an argument
    std::array<ArgKind, 4> args;
    RowResult result;
    CommandRoutine run;
};

std::span<const CommandRow> ListViewCommands();
std::span<const CommandRow> EditCommands();
std::span<const CommandRow> StatusBarCommands();
std::span<const CommandRow> ToolbarCommands();

// The row with that code, or null.
const CommandRow* FindCommandRow(std::span<const CommandRow> table, int32_t code);

// True when every argument has a type the row accepts. A by-reference int
// or a string without an address is refused: nothing could be read or
// written through it.
bool RowAcceptsArgs(const CommandRow& row, const CommandCall& call);

// TY_INTEGER or TY_DWORD; by reference only with an address.
bool IsIntArg(TypedArg arg);
// The 32-bit value of an int argument, read through its address when it
// carries TY_BYREF; callers check the kind first.
int32_t IntValue(TypedArg arg);
// The characters of a string argument, or the address of a by-reference
// variable.
char* AddressValue(TypedArg arg);

inline WPARAM AsWParam(int32_t value) { return static_cast<WPARAM>(static_cast<uint32_t>(value)); }
inline LPARAM AsLParam(int32_t value) { return static_cast<LPARAM>(value); }
inline LPARAM AsLParam(const void* address) { return reinterpret_cast<LPARAM>(address); }
inline int32_t Send(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return static_cast<int32_t>(SendMessageA(control, message, wParam, lParam));
}

// Message (row's wParam, 0).
int32_t SendFixed(const CommandRow& row, const CommandCall& call);
// Message (1st, 0).
int32_t SendFirst(const CommandRow& row, const CommandCall& call);
// Message (row's wParam, 1st).
int32_t SendFirstAsLParam(const CommandRow& row, const CommandCall& call);
// Message (1st, 2nd).
int32_t SendFirstAndSecond(const CommandRow& row, const CommandCall& call);
// Message (row's wParam, address of 1st's characters).
int32_t SendText(const CommandRow& row, const CommandCall& call);
// Message (1st, 2nd's address: a string's characters or a by-reference variable).
int32_t SendFirstWithAddress(const CommandRow& row, const CommandCall& call);

// The command table of status bars; every row answers 0.

#include <windows.h>
#include <commctrl.h>

#include <array>

#include "runtime/control/command_table.h"
#include "runtime/control/control_commands.h"

namespace {

using enum ArgKind;
constexpr RowResult kZero = RowResult::Zero;

constexpr std::array kStatusBarCommands{
    // The address of the caller's first right edge; the other count - 1
    // edges follow it in the caller's memory.
    CommandRow{CC_SB_SET_PARTS, SB_SETPARTS, 0, {Int, IntRef}, kZero, SendFirstWithAddress},
    // The part number may carry SB_SETTEXTA's drawing-type bits.
    CommandRow{CC_SB_SET_TEXT, SB_SETTEXTA, 0, {Int, Str}, kZero, SendFirstWithAddress},
    // WM_SIZE makes the bar fit itself to its parent again.
    CommandRow{CC_SB_RESIZE, WM_SIZE, 0, {}, kZero, SendFixed},
};

}  // namespace

std::span<const CommandRow> StatusBarCommands() { return kStatusBarCommands; }

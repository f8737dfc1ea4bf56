// The command table of toolbars. Rows that change the toolbar's size re-fit
// the MDI client of a frame window into the space the bars leave free.

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstddef>

#include "runtime/control/command_table.h"
#include "runtime/control/control_commands.h"
#include "runtime/core/block_alloc.h"
#include "runtime/window/mdi_refit.h"

namespace {

static_assert(sizeof(TBBUTTONINFOA) == 32);
static_assert(offsetof(TBBUTTONINFOA, fsStyle) == 17);
// The first form of the tool record ends with its text pointer.
constexpr UINT kToolInfoFirstSize = offsetof(TTTOOLINFOA, lpszText) + sizeof(LPSTR);
static_assert(kToolInfoFirstSize == 40);

constexpr char kLabelSeparator = '|';

void Refit(const CommandCall& call) {
    if (call.window->mdiClient)
        RefitMdiClient(call.window->hwnd, call.window->mdiClient);
}

int32_t AutoSize(const CommandRow& row, const CommandCall& call) {
    Send(call.control, row.message, 0, 0);
    const uint32_t style = static_cast<uint32_t>(GetWindowLongA(call.control, GWL_STYLE));
    if ((style & CCS_BOTTOM) == CCS_BOTTOM)
        InvalidateRect(call.control, nullptr, TRUE);
    if (style & CCS_VERT)
        Refit(call);
    return 0;
}

// Button size and bitmap size: width in the low 16 bits, height in the high.
int32_t SetSize(const CommandRow& row, const CommandCall& call) {
    Send(call.control, row.message, 0, MAKELPARAM(IntValue(call.args[0]), IntValue(call.args[1])));
    Refit(call);
    return 0;
}

// "Open|Save|" becomes "Open\0Save\0\0". The block has one byte more than
// the labels and their terminator, so a list whose last separator is
// missing still ends in two zero bytes.
int32_t AddStrings(const CommandRow& row, const CommandCall& call) {
    const char* labels = AddressValue(call.args[0]);
    const int32_t length = lstrlenA(labels);
    auto* block = static_cast<char*>(AllocZeroed(AT_BYTES, length + 2));
    if (!block)
        return 0;
    for (int32_t i = 0; i < length; ++i)
        block[i] = labels[i] == kLabelSeparator ? '\0' : labels[i];
    Send(call.control, row.message, 0, AsLParam(block));
    Send(call.control, TB_AUTOSIZE, 0, 0);
    Refit(call);
    FreeBlock(block);
    return 0;
}

int32_t SetButtonStyle(const CommandRow& row, const CommandCall& call) {
    TBBUTTONINFOA info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_STYLE;
    info.fsStyle = static_cast<BYTE>(IntValue(call.args[1]));
    return Send(call.control, row.message, AsWParam(IntValue(call.args[0])), AsLParam(&info));
}

int32_t ButtonWidth(const CommandRow& row, const CommandCall& call) {
    return LOWORD(Send(call.control, row.message, 0, 0));
}

int32_t ButtonHeight(const CommandRow& row, const CommandCall& call) {
    return HIWORD(Send(call.control, row.message, 0, 0));
}

// The first, 40-byte form of the tool record, which every tooltip control
// accepts.
int32_t SetTooltip(const CommandRow& row, const CommandCall& call) {
    HWND tooltip = reinterpret_cast<HWND>(SendMessageA(call.control, row.message, 0, 0));
    if (!tooltip)
        return 0;
    TTTOOLINFOA tool{};
    tool.cbSize = kToolInfoFirstSize;
    tool.hwnd = call.control;
    tool.uId = static_cast<UINT_PTR>(static_cast<uint32_t>(IntValue(call.args[0])));
    tool.lpszText = AddressValue(call.args[1]);
    return Send(tooltip, TTM_UPDATETIPTEXTA, 0, AsLParam(&tool));
}

// Appended at the end, enabled; then the bar fits its buttons again.
int32_t AddButton(const CommandRow& row, const CommandCall& call) {
    TBBUTTON button{};
    button.idCommand = IntValue(call.args[0]);
    button.iBitmap = IntValue(call.args[1]);
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = static_cast<BYTE>(IsIntArg(call.args[2]) ? IntValue(call.args[2]) : BTNS_BUTTON);
    button.iString = IsIntArg(call.args[3]) ? IntValue(call.args[3]) : -1;
    Send(call.control, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    const int32_t added = Send(call.control, row.message, 1, AsLParam(&button));
    Send(call.control, TB_AUTOSIZE, 0, 0);
    Refit(call);
    return added ? 1 : 0;
}

using enum ArgKind;
constexpr RowResult kPassed = RowResult::Passed;
constexpr RowResult kZero = RowResult::Zero;

constexpr std::array kToolbarCommands{
    CommandRow{CC_TB_AUTOSIZE, TB_AUTOSIZE, 0, {}, kZero, AutoSize},
    CommandRow{CC_TB_SET_BUTTON_SIZE, TB_SETBUTTONSIZE, 0, {Int, Int}, kZero, SetSize},
    CommandRow{CC_TB_SET_BITMAP_SIZE, TB_SETBITMAPSIZE, 0, {Int, Int}, kZero, SetSize},
    CommandRow{CC_TB_ENABLE_BUTTON, TB_ENABLEBUTTON, 0, {Int, Int}, kZero, SendFirstAndSecond},
    CommandRow{CC_TB_ADD_STRINGS, TB_ADDSTRINGA, 0, {Str}, kZero, AddStrings},
    CommandRow{CC_TB_SET_BUTTON_STYLE, TB_SETBUTTONINFOA, 0, {Int, Int}, kZero, SetButtonStyle},
    CommandRow{CC_TB_IS_BUTTON_CHECKED, TB_ISBUTTONCHECKED, 0, {Int}, kPassed, SendFirst},
    CommandRow{CC_TB_GET_BUTTON_WIDTH, TB_GETBUTTONSIZE, 0, {}, kPassed, ButtonWidth},
    CommandRow{CC_TB_GET_BUTTON_HEIGHT, TB_GETBUTTONSIZE, 0, {}, kPassed, ButtonHeight},
    CommandRow{CC_TB_SET_TOOLTIP, TB_GETTOOLTIPS, 0, {Int, Str}, kZero, SetTooltip},
    CommandRow{CC_TB_ADD_BUTTON, TB_ADDBUTTONSA, 0, {Int, Int, OptionalInt, OptionalInt}, kPassed, AddButton},
};

}  // namespace

std::span<const CommandRow> ToolbarCommands() { return kToolbarCommands; }

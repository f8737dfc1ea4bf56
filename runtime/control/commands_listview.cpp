// The command table of list view controls.

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstddef>

#include "runtime/control/command_table.h"
#include "runtime/control/control_commands.h"
#include "runtime/core/strings.h"

namespace {

static_assert(offsetof(LVITEMA, pszText) == 20);
static_assert(offsetof(LVITEMA, cchTextMax) == 24);
static_assert(offsetof(LVCOLUMNA, cx) == 8);
static_assert(offsetof(LVCOLUMNA, iSubItem) == 20);
static_assert(offsetof(LVFINDINFOA, psz) == 4);

// Announced capacity of a caller's buffer whose size nothing knows: such a
// string must be this large.
constexpr int32_t kTextBufferCapacity = 32766;
// Columns are two letters wider than their captions.
constexpr char kColumnMargin[] = "XX";

// Measured by the list view itself, in its own font.
int32_t HeaderWidth(HWND control, const char* caption) {
    return Send(control, LVM_GETSTRINGWIDTHA, 0, AsLParam(caption)) +
           Send(control, LVM_GETSTRINGWIDTHA, 0, AsLParam(kColumnMargin));
}

int32_t InsertItem(const CommandRow& row, const CommandCall& call) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = IntValue(call.args[0]);
    item.pszText = AddressValue(call.args[1]);
    return Send(call.control, row.message, 0, AsLParam(&item));
}

// Every column inserted here names subitem 1, whatever its position.
int32_t InsertColumn(const CommandRow& row, const CommandCall& call) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.pszText = AddressValue(call.args[1]);
    column.cx = HeaderWidth(call.control, column.pszText);
    column.iSubItem = 1;
    return Send(call.control, row.message, AsWParam(IntValue(call.args[0])), AsLParam(&column));
}

// The capacity announced for a string the control fills: a string of the
// string heap announces its block.
int32_t TextCapacity(const char* text) {
    const int32_t block = StringStorage(text, 0);
    return block > 0 ? block : kTextBufferCapacity;
}

// Codes 5 and 6: only the subitem, the text and its capacity are set.
int32_t SendItemText(const CommandRow& row, const CommandCall& call, int32_t capacity) {
    LVITEMA item{};
    item.iSubItem = IntValue(call.args[1]);
    item.pszText = AddressValue(call.args[2]);
    item.cchTextMax = capacity;
    return Send(call.control, row.message, AsWParam(IntValue(call.args[0])), AsLParam(&item));
}

int32_t SetItemText(const CommandRow& row, const CommandCall& call) { return SendItemText(row, call, 0); }

// Wine's list view converts an item's text into an ANSI buffer that it
// fills to the capacity announced, with no terminator when the text is
// longer (seen under Wine 8), and answers the length of what then reads as a
// string. A string-heap string announces one byte less than its block, whose
// last byte stays the terminator.
int32_t GetItemText(const CommandRow& row, const CommandCall& call) {
    char* text = AddressValue(call.args[2]);
    const int32_t block = StringStorage(text, 0);
    if (block <= 0)
        return SendItemText(row, call, kTextBufferCapacity);
    text[block - 1] = '\0';
    return SendItemText(row, call, block - 1);
}

int32_t SetColumn(const CommandRow& row, const CommandCall& call) {
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.pszText = AddressValue(call.args[1]);
    column.cx = HeaderWidth(call.control, column.pszText);
    return Send(call.control, row.message, AsWParam(IntValue(call.args[0])), AsLParam(&column));
}

int32_t GetColumn(const CommandRow& row, const CommandCall& call) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = AddressValue(call.args[1]);
    column.cchTextMax = TextCapacity(column.pszText);
    return Send(call.control, row.message, AsWParam(IntValue(call.args[0])), AsLParam(&column));
}

int32_t SelectItem(const CommandRow& row, const CommandCall& call) {
    LVITEMA item{};
    item.state = LVIS_SELECTED;
    item.stateMask = LVIS_SELECTED;
    return Send(call.control, row.message, AsWParam(IntValue(call.args[0])), AsLParam(&item));
}

int32_t IsItemSelected(const CommandRow& row, const CommandCall& call) {
    return Send(call.control, row.message, AsWParam(IntValue(call.args[0])), LVIS_SELECTED);
}

int32_t FindItem(const CommandRow& row, const CommandCall& call) {
    LVFINDINFOA find{};
    find.flags = LVFI_STRING;
    find.psz = AddressValue(call.args[0]);
    return Send(call.control, row.message, AsWParam(-1), AsLParam(&find));
}

using enum ArgKind;
constexpr RowResult kPassed = RowResult::Passed;

constexpr std::array kListViewCommands{
    CommandRow{CC_LV_DELETE_ALL_ITEMS, LVM_DELETEALLITEMS, 0, {}, kPassed, SendFixed},
    CommandRow{CC_LV_DELETE_COLUMN, LVM_DELETECOLUMN, 0, {Int}, kPassed, SendFirst},
    CommandRow{CC_LV_DELETE_ITEM, LVM_DELETEITEM, 0, {Int}, kPassed, SendFirst},
    CommandRow{CC_LV_INSERT_ITEM, LVM_INSERTITEMA, 0, {Int, Str}, kPassed, InsertItem},
    CommandRow{CC_LV_INSERT_COLUMN, LVM_INSERTCOLUMNA, 0, {Int, Str}, kPassed, InsertColumn},
    CommandRow{CC_LV_SET_ITEM_TEXT, LVM_SETITEMTEXTA, 0, {Int, Int, Str}, kPassed, SetItemText},
    CommandRow{CC_LV_GET_ITEM_TEXT, LVM_GETITEMTEXTA, 0, {Int, Int, Str}, kPassed, GetItemText},
    CommandRow{CC_LV_GET_SELECTED_COUNT, LVM_GETSELECTEDCOUNT, 0, {}, kPassed, SendFixed},
    CommandRow{CC_LV_SET_COLUMN, LVM_SETCOLUMNA, 0, {Int, Str}, kPassed, SetColumn},
    CommandRow{CC_LV_GET_COLUMN, LVM_GETCOLUMNA, 0, {Int, Str}, kPassed, GetColumn},
    CommandRow{CC_LV_SET_COLUMN_WIDTH, LVM_SETCOLUMNWIDTH, 0, {Int, Int}, kPassed, SendFirstAndSecond},
    CommandRow{CC_LV_GET_COLUMN_WIDTH, LVM_GETCOLUMNWIDTH, 0, {Int}, kPassed, SendFirst},
    CommandRow{CC_LV_SELECT_ITEM, LVM_SETITEMSTATE, 0, {Int}, kPassed, SelectItem},
    CommandRow{CC_LV_IS_ITEM_SELECTED, LVM_GETITEMSTATE, 0, {Int}, kPassed, IsItemSelected},
    CommandRow{CC_LV_FIND_ITEM, LVM_FINDITEMA, 0, {Str}, kPassed, FindItem},
    CommandRow{CC_LV_GET_TOP_INDEX, LVM_GETTOPINDEX, 0, {}, kPassed, SendFixed},
    CommandRow{CC_LV_GET_ITEM_COUNT, LVM_GETITEMCOUNT, 0, {}, kPassed, SendFixed},
};

}  // namespace

std::span<const CommandRow> ListViewCommands() { return kListViewCommands; }

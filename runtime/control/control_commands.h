#pragma once
// One entry point for operating on the richer controls of a window: list
// views, edit and rich edit controls, status bars and toolbars. A command
// number means different things on different classes; the control's window
// class picks the table.

#include <cstdint>

#include "runtime/core/typed_arg.h"
#include "runtime/window/window_record.h"

// List view ("SysListView32").
enum : int32_t {
    CC_LV_DELETE_ALL_ITEMS = 0,
    CC_LV_DELETE_COLUMN = 1,
    CC_LV_DELETE_ITEM = 2,
    CC_LV_INSERT_ITEM = 3,
    CC_LV_INSERT_COLUMN = 4,
    CC_LV_SET_ITEM_TEXT = 5,
    CC_LV_GET_ITEM_TEXT = 6,
    CC_LV_GET_SELECTED_COUNT = 7,
    CC_LV_SET_COLUMN = 8,
    CC_LV_GET_COLUMN = 9,
    CC_LV_SET_COLUMN_WIDTH = 10,
    CC_LV_GET_COLUMN_WIDTH = 11,
    CC_LV_SELECT_ITEM = 12,
    CC_LV_IS_ITEM_SELECTED = 13,
    CC_LV_FIND_ITEM = 14,
    CC_LV_GET_TOP_INDEX = 15,
    CC_LV_GET_ITEM_COUNT = 16,
};

// Edit and rich edit ("EDIT", "RichEdit"). Code 30 is unassigned.
enum : int32_t {
    CC_ED_CAN_UNDO = 0,
    CC_ED_CLEAR = 1,
    CC_ED_COPY = 2,
    CC_ED_CUT = 3,
    CC_ED_EMPTY_UNDO = 4,
    CC_ED_FIND_TEXT = 5,
    CC_ED_GET_EVENT_MASK = 6,
    CC_ED_SET_EVENT_MASK = 7,
    CC_ED_GET_FIRST_VISIBLE_LINE = 8,
    CC_ED_LIMIT_TEXT = 9,
    CC_ED_GET_LIMIT_TEXT = 10,
    CC_ED_GET_LINE = 11,
    CC_ED_GET_LINE_COUNT = 12,
    CC_ED_GET_MODIFY = 13,
    CC_ED_SET_MODIFY = 14,
    CC_ED_SET_SEL = 15,
    CC_ED_GET_SEL = 16,
    CC_ED_GET_SEL_TEXT = 17,
    CC_ED_GET_TEXT_LENGTH = 18,
    CC_ED_HIDE_SELECTION = 19,
    CC_ED_LINE_FROM_CHAR = 20,
    CC_ED_LINE_LENGTH = 21,
    CC_ED_LINE_SCROLL = 22,
    CC_ED_PASTE = 23,
    CC_ED_REPLACE_SEL = 24,
    CC_ED_SET_DEFAULT_FONT = 25,
    CC_ED_SET_DEFAULT_COLOR = 26,
    CC_ED_SET_SEL_FONT = 27,
    CC_ED_SET_SEL_COLOR = 28,
    CC_ED_SET_MARGINS = 29,
    CC_ED_SET_WRAP = 31,
    CC_ED_UNDO = 32,
    CC_ED_STREAM_OUT = 33,
    CC_ED_STREAM_IN = 34,
    CC_ED_PASTE_SPECIAL = 35,
    CC_ED_SET_ALIGNMENT = 36,
    CC_ED_SET_SEL_OFFSET = 37,
    CC_ED_PRINT = 38,
    CC_ED_LINE_INDEX = 187,   // the number of EM_LINEINDEX itself
};

// Status bar ("msctls_statusbar32").
enum : int32_t {
    CC_SB_SET_PARTS = 0,
    CC_SB_SET_TEXT = 1,
    CC_SB_RESIZE = 2,
};

// Toolbar ("ToolbarWindow32").
enum : int32_t {
    CC_TB_AUTOSIZE = 0,
    CC_TB_SET_BUTTON_SIZE = 1,
    CC_TB_SET_BITMAP_SIZE = 2,
    CC_TB_ENABLE_BUTTON = 3,
    CC_TB_ADD_STRINGS = 4,
    CC_TB_SET_BUTTON_STYLE = 5,
    CC_TB_IS_BUTTON_CHECKED = 6,
    CC_TB_GET_BUTTON_WIDTH = 7,
    CC_TB_GET_BUTTON_HEIGHT = 8,
    CC_TB_SET_TOOLTIP = 9,
};

// Finds the control by identifier, picks the table from its class, checks
// the argument types the command's row demands and sends the row's message
// or messages. The message's result where the row passes it back, else 0;
// 0 and nothing sent for a missing window or control, a class no table
// serves, an unknown code or an argument of the wrong type.
int32_t SendControlCommand(const WindowRecord* window, int32_t controlId, int32_t command,
                           TypedArg first = NoArg, TypedArg second = NoArg, TypedArg third = NoArg,
                           TypedArg fourth = NoArg);

#pragma once
// One entry point for operating on the richer controls of a window: list
// views, edit and rich edit controls, status bars and toolbars. A command
// number means different things on different classes; the control's window
// class picks the table.
//
// Each code below is written as (arguments) -> result. Argument kinds:
//   int      TY_INTEGER or TY_DWORD; with TY_BYREF the value is read through
//            the address at the time of the call (IntArg, IntRefArg)
//   int ref  an int that must carry TY_BYREF; the control writes through it
//   str      TY_STRING, the address of the characters (StrArg); a str buffer
//            is one the control writes into, writable and large enough
//   file     TY_TEXTFILE, a text file channel variable (ChannelArg)
//   [int]    optional: left out (NoArg) or an int
// Arguments a code does not list must be left out (TY_NONE).
// "1/0" means 1 when the control did it, 0 when it did not; "no meaning": the
// control's answer is passed back but says nothing.

#include <cstdint>

#include "runtime/core/typed_arg.h"
#include "runtime/window/window_record.h"

// List view ("SysListView32").
enum : int32_t {
    CC_LV_DELETE_ALL_ITEMS = 0,     // () -> 1/0
    CC_LV_DELETE_COLUMN = 1,        // (int column) -> 1/0
    CC_LV_DELETE_ITEM = 2,          // (int item) -> 1/0
    CC_LV_INSERT_ITEM = 3,          // (int item, str text) -> index of the new item, -1 failed
    CC_LV_INSERT_COLUMN = 4,        // (int column, str caption) -> index of the new column, -1
                                    // failed; the column is as wide as the caption and "XX"
    CC_LV_SET_ITEM_TEXT = 5,        // (int item, int subitem, str text) -> 1/0
    CC_LV_GET_ITEM_TEXT = 6,        // (int item, int subitem, str buffer) -> characters copied
    CC_LV_GET_SELECTED_COUNT = 7,   // () -> items selected
    CC_LV_SET_COLUMN = 8,           // (int column, str caption) -> 1/0; width as code 4
    CC_LV_GET_COLUMN = 9,           // (int column, str buffer) -> 1/0; the caption in buffer
    CC_LV_SET_COLUMN_WIDTH = 10,    // (int column, int width) -> 1/0
    CC_LV_GET_COLUMN_WIDTH = 11,    // (int column) -> width in pixels, 0 for no column
    CC_LV_SELECT_ITEM = 12,         // (int item) -> 1/0
    CC_LV_IS_ITEM_SELECTED = 13,    // (int item) -> 2 selected, 0 not
    CC_LV_FIND_ITEM = 14,           // (str text) -> index of the item with that text, -1 none
    CC_LV_GET_TOP_INDEX = 15,       // () -> index of the topmost visible item
    CC_LV_GET_ITEM_COUNT = 16,      // () -> items
};

// Edit and rich edit ("EDIT", "RichEdit"). Code 30 is unassigned. Messages
// only rich edit controls know are sent to plain edit controls too.
enum : int32_t {
    CC_ED_CAN_UNDO = 0,                 // () -> 1 when there is something to undo, else 0
    CC_ED_CLEAR = 1,                    // () -> no meaning; deletes the selection
    CC_ED_COPY = 2,                     // () -> no meaning
    CC_ED_CUT = 3,                      // () -> no meaning
    CC_ED_EMPTY_UNDO = 4,               // () -> no meaning
    CC_ED_FIND_TEXT = 5,                // (str text, int start, int ignoreCase) -> position, -1 none
    CC_ED_GET_EVENT_MASK = 6,           // () -> the rich edit event mask
    CC_ED_SET_EVENT_MASK = 7,           // (int mask) -> the previous mask
    CC_ED_GET_FIRST_VISIBLE_LINE = 8,   // () -> line number
    CC_ED_LIMIT_TEXT = 9,               // (int limit) -> no meaning
    CC_ED_GET_LIMIT_TEXT = 10,          // () -> the limit in characters
    CC_ED_GET_LINE = 11,                // (int line, str buffer, [int capacity]) -> 0; the line,
                                        // zero-terminated, in buffer of capacity + 1 bytes (254)
    CC_ED_GET_LINE_COUNT = 12,          // () -> lines
    CC_ED_GET_MODIFY = 13,              // () -> non-zero when modified
    CC_ED_SET_MODIFY = 14,              // (int flag) -> no meaning
    CC_ED_SET_SEL = 15,                 // (int start, int end) -> no meaning; -1 as end: to the end
    CC_ED_GET_SEL = 16,                 // (int ref start, int ref end) -> start and end packed in
                                        // 16 bits each; both variables filled
    CC_ED_GET_SEL_TEXT = 17,            // (str buffer) -> characters copied
    CC_ED_GET_TEXT_LENGTH = 18,         // () -> characters
    CC_ED_HIDE_SELECTION = 19,          // (int flag) -> no meaning
    CC_ED_LINE_FROM_CHAR = 20,          // (int position) -> line number
    CC_ED_LINE_LENGTH = 21,             // (int position) -> characters of that line
    CC_ED_LINE_SCROLL = 22,             // (int columns, int lines) -> 1/0
    CC_ED_PASTE = 23,                   // () -> no meaning
    CC_ED_REPLACE_SEL = 24,             // (str text) -> no meaning; can be undone
    CC_ED_SET_DEFAULT_FONT = 25,        // (str face, int points, int bold, int style) -> 0; style
                                        // bits 0x1 italic, 0x10 underline, 0x20 strike, high 16
                                        // bits the character set
    CC_ED_SET_DEFAULT_COLOR = 26,       // (int colour) -> non-zero when set
    CC_ED_SET_SEL_FONT = 27,            // as code 25, for the selection -> 0
    CC_ED_SET_SEL_COLOR = 28,           // (int colour) -> non-zero when set; on an empty
                                        // selection, the colour of the text put in next
    CC_ED_SET_MARGINS = 29,             // (int left, int right) -> 0; pixels
    CC_ED_SET_WRAP = 31,                // (int width) -> 0; 0 wraps at the edge, 1 does not
                                        // wrap, else wraps at width twips
    CC_ED_UNDO = 32,                    // () -> 1/0
    CC_ED_STREAM_OUT = 33,              // (str buffer or file, int rich[, int characters]) ->
                                        // characters written; rich is a flag, non-zero RTF, 0
                                        // text: not an SF_ value; a buffer holds characters + 1
    CC_ED_STREAM_IN = 34,               // (str text or file, int rich) -> characters read; rich
                                        // as code 33
    CC_ED_PASTE_SPECIAL = 35,           // () -> the paste's result, 0 when it cannot paste
    CC_ED_SET_ALIGNMENT = 36,           // (int alignment) -> non-zero when set; PFA_ values
    CC_ED_SET_SEL_OFFSET = 37,          // (int offset) -> non-zero when set; twips above baseline
    CC_ED_PRINT = 38,                   // ([int margin]) -> PrintRichEdit's result: 0 printed or
                                        // cancelled, kPrintStopped (-1) stopped; margin in twips,
                                        // 770 when left out
    CC_ED_LINE_INDEX = 187,             // (int line) -> its first character's position, -1 none;
                                        // the number of EM_LINEINDEX itself
};

// Status bar ("msctls_statusbar32"); every code returns 0.
enum : int32_t {
    CC_SB_SET_PARTS = 0,   // (int count, int ref edges) -> 0; edges: the first of count
                           // right edges in consecutive 32-bit variables
    CC_SB_SET_TEXT = 1,    // (int part, str text) -> 0; part may carry SBT_ drawing bits
    CC_SB_RESIZE = 2,      // () -> 0; fits the bar to its parent again
};

// Toolbar ("ToolbarWindow32"). Button clicks reach the parent as EV_CONTROL
// with the button's command id in controlId, not as EV_MENU.
enum : int32_t {
    CC_TB_AUTOSIZE = 0,            // () -> 0
    CC_TB_SET_BUTTON_SIZE = 1,     // (int width, int height) -> 0
    CC_TB_SET_BITMAP_SIZE = 2,     // (int width, int height) -> 0
    CC_TB_ENABLE_BUTTON = 3,       // (int command id, int enable) -> 0
    CC_TB_ADD_STRINGS = 4,         // (str labels) -> 0; labels each followed by '|'
    CC_TB_SET_BUTTON_STYLE = 5,    // (int command id, int style) -> 0; BTNS_ values
    CC_TB_IS_BUTTON_CHECKED = 6,   // (int command id) -> non-zero when checked
    CC_TB_GET_BUTTON_WIDTH = 7,    // () -> pixels
    CC_TB_GET_BUTTON_HEIGHT = 8,   // () -> pixels
    CC_TB_SET_TOOLTIP = 9,         // (int command id, str text) -> 0
    CC_TB_ADD_BUTTON = 10,         // (int command id, int image, [int style], [int label])
                                   // -> 1/0; image: index in the toolbar's images,
                                   // I_IMAGENONE for none; style BTNS_BUTTON when left
                                   // out; label: index of a CC_TB_ADD_STRINGS label,
                                   // none when left out
};

// Finds the control by identifier, picks the table from its class, checks
// the arguments against the code's row and sends the row's message or
// messages. Returns the code's result as listed above. A refused call
// sends nothing and returns 0: a missing window or control, a class no
// table serves, an unknown code, an argument of the wrong type, or one the
// code does not take. Since 0 is also a result (row 0, nothing selected),
// CommandRefusal tells the two apart.
int32_t SendControlCommand(const WindowRecord* window, int32_t controlId, int32_t command,
                           TypedArg first = NoArg, TypedArg second = NoArg, TypedArg third = NoArg,
                           TypedArg fourth = NoArg);

// Why the last SendControlCommand sent nothing, or CR_NONE when it ran.
enum : int32_t {
    CR_NONE = 0,
    CR_NO_CONTROL = 1,     // no window, or no control with that identifier
    CR_NO_TABLE = 2,       // the control's class has no command table
    CR_UNKNOWN_CODE = 3,   // the table has no such code
    CR_BAD_ARGUMENT = 4,   // an argument of the wrong type, or one the code does not take
};
// Returns one of the CR_ codes above.
int32_t CommandRefusal();

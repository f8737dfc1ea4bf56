// The command table of edit and rich edit controls. Plain edit controls get
// the rich edit messages too, and their answer is passed back unchanged.

#include <windows.h>
#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#include "runtime/control/command_table.h"
#include "runtime/control/control_commands.h"
#include "runtime/control/rich_edit_print.h"
#include "runtime/control/rich_edit_stream.h"
#include "runtime/core/strings.h"

namespace {

static_assert(sizeof(CHARFORMATA) == 60);
static_assert(offsetof(CHARFORMATA, crTextColor) == 20);
static_assert(offsetof(CHARFORMATA, bCharSet) == 24);
static_assert(offsetof(CHARFORMATA, szFaceName) == 26);
static_assert(sizeof(CHARFORMATA::szFaceName) == 32);
static_assert(sizeof(PARAFORMAT) == 156);
static_assert(offsetof(PARAFORMAT, wAlignment) == 24);
static_assert(sizeof(FINDTEXTA) == 12);

constexpr DWORD kFontMask = CFM_SIZE | CFM_FACE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC |
                            CFM_UNDERLINE | CFM_STRIKEOUT;
static_assert(kFontMask == 0xA800000F);

// Font style word: effect bits in the low word, character set in the high.
constexpr uint32_t kStyleItalic = 0x1;
constexpr uint32_t kStyleUnderline = 0x10;
constexpr uint32_t kStyleStrikeout = 0x20;

constexpr int32_t kDefaultLineCapacity = 254;
constexpr int32_t kMaxLineCapacity = 0xFFFF;   // EM_GETLINE reads the capacity as 16 bits
constexpr int32_t kTwipsPerPoint = 20;

class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

int32_t FindText(const CommandRow& row, const CommandCall& call) {
    FINDTEXTA find{};
    find.chrg.cpMin = IntValue(call.args[1]);
    find.chrg.cpMax = -1;
    find.lpstrText = AddressValue(call.args[0]);
    const WPARAM flags = IntValue(call.args[2]) != 0 ? 0 : FR_MATCHCASE;
    return Send(call.control, row.message, flags, AsLParam(&find));
}

// The buffer must hold capacity + 1 bytes; its first 16 bits announce the
// capacity to the control, and the copied text is zero-terminated after. A
// string of the string heap announces no more than its block holds.
int32_t GetLine(const CommandRow& row, const CommandCall& call) {
    char* buffer = AddressValue(call.args[1]);
    int32_t capacity = kDefaultLineCapacity;
    if (IsIntArg(call.args[2]))
        capacity = IntValue(call.args[2]);
    if (capacity < 1) {
        // Too small for the 16-bit capacity word: only the terminator fits.
        buffer[0] = '\0';
        return 0;
    }
    if (capacity > kMaxLineCapacity)
        capacity = kMaxLineCapacity;
    capacity = StringStorage(buffer, capacity + 1) - 1;
    *reinterpret_cast<WORD*>(buffer) = static_cast<WORD>(capacity);
    int32_t copied = Send(call.control, row.message, AsWParam(IntValue(call.args[0])), AsLParam(buffer));
    if (copied < 0 || copied > capacity)
        copied = 0;
    buffer[copied] = '\0';
    return 0;
}

// At most the bytes an ANSI copy of the control's whole text takes: one
// character of the code page may take several; -1 beyond 32 bits.
int64_t TextBytesBound(HWND control) {
    CPINFO codePage{};
    const int64_t perCharacter = GetCPInfo(CP_ACP, &codePage) ? codePage.MaxCharSize : 4;
    const int64_t bytes = int64_t{Send(control, WM_GETTEXTLENGTH, 0, 0)} * perCharacter;
    return bytes < 0 || bytes > INT32_MAX - 4 ? -1 : bytes;
}

// EM_GETSELTEXT copies the whole selection with no bound, so only a string
// whose storage is known takes it. A selection that might not fit is
// copied into a block of its own first and cut to the storage.
int32_t GetSelText(const CommandRow& row, const CommandCall& call) {
    char* buffer = AddressValue(call.args[0]);
    const int32_t storage = StringStorage(buffer, 0);
    const int64_t bound = TextBytesBound(call.control);
    if (storage < 1 || bound < 0)
        return 0;
    if (bound < storage)
        return Send(call.control, row.message, 0, AsLParam(buffer));
    char* whole = AllocString(static_cast<int32_t>(bound));
    if (!whole)
        return 0;
    const int32_t copied = std::clamp(Send(call.control, row.message, 0, AsLParam(whole)), 0, storage - 1);
    std::memcpy(buffer, whole, static_cast<size_t>(copied));
    buffer[copied] = '\0';
    FreeString(whole);
    return copied;
}

int32_t GetSel(const CommandRow& row, const CommandCall& call) {
    return Send(call.control, row.message, reinterpret_cast<WPARAM>(AddressValue(call.args[0])),
                AsLParam(AddressValue(call.args[1])));
}

// Codes 25 and 27; the row's wParam says default format or selection. A
// face name longer than the field's 31 characters is cut.
int32_t SetFont(const CommandRow& row, const CommandCall& call) {
    const uint32_t style = static_cast<uint32_t>(IntValue(call.args[3]));
    CHARFORMATA format{};
    format.cbSize = sizeof(format);
    format.dwMask = kFontMask;
    if (style & kStyleItalic)
        format.dwEffects |= CFE_ITALIC;
    if (style & kStyleUnderline)
        format.dwEffects |= CFE_UNDERLINE;
    if (style & kStyleStrikeout)
        format.dwEffects |= CFE_STRIKEOUT;
    if (IntValue(call.args[2]) != 0)
        format.dwEffects |= CFE_BOLD;
    format.yHeight = IntValue(call.args[1]) * kTwipsPerPoint;
    format.bCharSet = static_cast<BYTE>(style >> 16);
    format.bPitchAndFamily = 0;
    lstrcpynA(format.szFaceName, AddressValue(call.args[0]), sizeof(format.szFaceName));
    Send(call.control, row.message, row.wParam, AsLParam(&format));
    return 0;
}

// Codes 26 and 28. dwEffects 0 switches automatic colour off. On an empty
// selection the format is the insertion point's, which the next
// replacement there takes.
int32_t SetColor(const CommandRow& row, const CommandCall& call) {
    CHARFORMATA format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    format.dwEffects = 0;
    format.crTextColor = static_cast<COLORREF>(IntValue(call.args[0]));
    return Send(call.control, row.message, row.wParam, AsLParam(&format));
}

int32_t SetMargins(const CommandRow& row, const CommandCall& call) {
    const LPARAM margins = MAKELPARAM(IntValue(call.args[0]), IntValue(call.args[1]));
    Send(call.control, row.message, EC_LEFTMARGIN, margins);
    Send(call.control, row.message, EC_RIGHTMARGIN, margins);
    return 0;
}

// 0 wraps at the window edge, 1 does not wrap; any other width is a line
// width in twips on the parent window's device.
int32_t SetWrap(const CommandRow& row, const CommandCall& call) {
    const int32_t width = IntValue(call.args[0]);
    if (width == 0 || width == 1) {
        Send(call.control, row.message, 0, AsLParam(width));
        return 0;
    }
    const WindowDC parent(call.window->hwnd);
    Send(call.control, row.message, reinterpret_cast<WPARAM>(parent.get()), AsLParam(width));
    return 0;
}

int32_t PasteSpecial(const CommandRow& row, const CommandCall& call) {
    UINT format = 0;
    if (OpenClipboard(nullptr)) {
        format = EnumClipboardFormats(0);
        CloseClipboard();
    }
    if (Send(call.control, EM_CANPASTE, format, 0) == 0)
        return 0;
    return Send(call.control, row.message, format, 0);
}

int32_t SetAlignment(const CommandRow& row, const CommandCall& call) {
    PARAFORMAT format{};
    format.cbSize = sizeof(format);
    format.dwMask = PFM_ALIGNMENT;
    format.wAlignment = static_cast<WORD>(IntValue(call.args[0]));
    return Send(call.control, row.message, row.wParam, AsLParam(&format));
}

int32_t SetSelOffset(const CommandRow& row, const CommandCall& call) {
    CHARFORMATA format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_OFFSET;
    format.dwEffects = 0;
    format.yOffset = IntValue(call.args[0]);
    return Send(call.control, row.message, row.wParam, AsLParam(&format));
}

// Codes 33 and 34: RTF when 2nd is non-zero. A string receiving a stream
// takes an optional 3rd, the characters it holds besides its terminator.
int32_t Stream(const CommandRow& row, const CommandCall& call) {
    const uint32_t format = IntValue(call.args[1]) != 0 ? SF_RTF : SF_TEXT;
    const int32_t characters = IsIntArg(call.args[2]) ? IntValue(call.args[2]) : kSizeNotGiven;
    return StreamRichEdit(call.control, row.message, format, call.args[0], characters);
}

int32_t Print(const CommandRow&, const CommandCall& call) {
    const int32_t margin = IsIntArg(call.args[0]) ? IntValue(call.args[0]) : kDefaultPrintMargin;
    return PrintRichEdit(call.control, margin);
}

using enum ArgKind;
constexpr RowResult kPassed = RowResult::Passed;
constexpr RowResult kZero = RowResult::Zero;

constexpr std::array kEditCommands{
    CommandRow{CC_ED_CAN_UNDO, EM_CANUNDO, 0, {}, kPassed, SendFixed},
    CommandRow{CC_ED_CLEAR, WM_CLEAR, 0, {}, kPassed, SendFixed},
    CommandRow{CC_ED_COPY, WM_COPY, 0, {}, kPassed, SendFixed},
    CommandRow{CC_ED_CUT, WM_CUT, 0, {}, kPassed, SendFixed},
    CommandRow{CC_ED_EMPTY_UNDO, EM_EMPTYUNDOBUFFER, 0, {}, kPassed, SendFixed},
    CommandRow{CC_ED_FIND_TEXT, EM_FINDTEXT, 0, {Str, Int, Int}, kPassed, FindText},
    CommandRow{CC_ED_GET_EVENT_MASK, EM_GETEVENTMASK, 0, {}, kPassed, SendFixed},
    CommandRow{CC_ED_SET_EVENT_MASK, EM_SETEVENTMASK, 0, {Int}, kPassed, SendFirstAsLParam},
    CommandRow{CC_ED_GET_FIRST_VISIBLE_LINE, EM_GETFIRSTVISIBLELINE, 0, {}, kPassed, SendFixed},
    CommandRow{CC_ED_LIMIT_TEXT, EM_LIMITTEXT, 0, {Int}, kPassed, SendFirst},
    CommandRow{CC_ED_GET_LIMIT_TEXT, EM_GETLIMITTEXT, 0, {}, kPassed, SendFixed},
    CommandRow{CC_ED_GET_LINE, EM_GETLINE, 0, {Int, Str, OptionalInt}, kZero, GetLine},
    CommandRow{CC_ED_GET_LINE_COUNT, EM_GETLINECOUNT, 0, {}, kPassed, SendFixed},
    CommandRow{CC_ED_GET_MODIFY, EM_GETMODIFY, 0, {}, kPassed, SendFixed},
    CommandRow{CC_ED_SET_MODIFY, EM_SETMODIFY, 0, {Int}, kPassed, SendFirst},
    CommandRow{CC_ED_SET_SEL, EM_SETSEL, 0, {Int, Int}, kPassed, SendFirstAndSecond},
    CommandRow{CC_ED_GET_SEL, EM_GETSEL, 0, {IntRef, IntRef}, kPassed, GetSel},
    CommandRow{CC_ED_GET_SEL_TEXT, EM_GETSELTEXT, 0, {Str}, kPassed, GetSelText},
    CommandRow{CC_ED_GET_TEXT_LENGTH, WM_GETTEXTLENGTH, 0, {}, kPassed, SendFixed},
    CommandRow{CC_ED_HIDE_SELECTION, EM_HIDESELECTION, 0, {Int}, kPassed, SendFirst},
    CommandRow{CC_ED_LINE_FROM_CHAR, EM_LINEFROMCHAR, 0, {Int}, kPassed, SendFirst},
    CommandRow{CC_ED_LINE_LENGTH, EM_LINELENGTH, 0, {Int}, kPassed, SendFirst},
    CommandRow{CC_ED_LINE_SCROLL, EM_LINESCROLL, 0, {Int, Int}, kPassed, SendFirstAndSecond},
    CommandRow{CC_ED_PASTE, WM_PASTE, 0, {}, kPassed, SendFixed},
    // wParam 1: the replacement can be undone.
    CommandRow{CC_ED_REPLACE_SEL, EM_REPLACESEL, 1, {Str}, kPassed, SendText},
    CommandRow{CC_ED_SET_DEFAULT_FONT, EM_SETCHARFORMAT, 0, {Str, Int, Int, Int}, kZero, SetFont},
    CommandRow{CC_ED_SET_DEFAULT_COLOR, EM_SETCHARFORMAT, 0, {Int}, kPassed, SetColor},
    CommandRow{CC_ED_SET_SEL_FONT, EM_SETCHARFORMAT, SCF_SELECTION, {Str, Int, Int, Int}, kZero, SetFont},
    CommandRow{CC_ED_SET_SEL_COLOR, EM_SETCHARFORMAT, SCF_SELECTION, {Int}, kPassed, SetColor},
    CommandRow{CC_ED_SET_MARGINS, EM_SETMARGINS, 0, {Int, Int}, kZero, SetMargins},
    CommandRow{CC_ED_SET_WRAP, EM_SETTARGETDEVICE, 0, {Int}, kZero, SetWrap},
    CommandRow{CC_ED_UNDO, WM_UNDO, 0, {}, kPassed, SendFixed},
    CommandRow{CC_ED_STREAM_OUT, EM_STREAMOUT, 0, {StrOrFile, Int, OptionalInt}, kPassed, Stream},
    CommandRow{CC_ED_STREAM_IN, EM_STREAMIN, 0, {StrOrFile, Int}, kPassed, Stream},
    CommandRow{CC_ED_PASTE_SPECIAL, EM_PASTESPECIAL, 0, {}, kPassed, PasteSpecial},
    CommandRow{CC_ED_SET_ALIGNMENT, EM_SETPARAFORMAT, 0, {Int}, kPassed, SetAlignment},
    CommandRow{CC_ED_SET_SEL_OFFSET, EM_SETCHARFORMAT, SCF_SELECTION, {Int}, kPassed, SetSelOffset},
    // 0, or kPrintStopped when the document did not start or a page took no
    // text.
    CommandRow{CC_ED_PRINT, 0, 0, {OptionalInt}, kPassed, Print},
    CommandRow{CC_ED_LINE_INDEX, EM_LINEINDEX, 0, {Int}, kPassed, SendFirst},
};

}  // namespace

std::span<const CommandRow> EditCommands() { return kEditCommands; }

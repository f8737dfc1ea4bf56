#include "runtime/control/log_lines.h"

#include <windows.h>

#include "runtime/control/control_commands.h"
#include "runtime/core/strings.h"

namespace {

struct LogControl {
    const WindowRecord* window;
    int32_t id;
    int32_t Command(int32_t command, TypedArg first = NoArg, TypedArg second = NoArg) const {
        return SendControlCommand(window, id, command, first, second);
    }
};

// The share of the limit freed beyond the new line when a full log makes
// room: a deletion costs about what a dozen insertions do, and an eighth of
// the monitor's log is some 150 lines, so a full log adds lines at nearly
// the cost of an empty one.
constexpr int32_t kRoomShare = 8;

// Keeps room for `needed` more characters by deleting whole lines from the
// bottom (the oldest) when the control's text limit would be passed; it
// then frees an eighth of the limit more, so the next lines need no room.
void MakeRoomInLog(const LogControl& log, HWND control, int32_t needed) {
    const int32_t limit = log.Command(CC_ED_GET_LIMIT_TEXT);
    const int32_t length = log.Command(CC_ED_GET_TEXT_LENGTH);
    if (limit <= 0 || length + needed <= limit)
        return;
    const int32_t room = needed + limit / kRoomShare;
    const int32_t keep = limit - room > 0 ? limit - room : 0;
    const int32_t line = log.Command(CC_ED_LINE_FROM_CHAR, IntArg(keep));
    int32_t cut = log.Command(CC_ED_LINE_INDEX, IntArg(line));
    if (cut > keep || cut < 0)
        cut = keep;
    // Wine's rich edit scrolls to the caret after the replace: down to the
    // oldest lines, and back up at the next select at 0, painting the whole
    // log both times. With a full log, under emulation, that was 550 ms of a
    // 590 ms line; with the redraw off while it deletes, 150 ms. The view
    // ends where it began, at the top, and is painted once. A control that
    // was hidden is left alone: turning the redraw on would show it.
    const bool shown = (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown)
        SendMessageA(control, WM_SETREDRAW, FALSE, 0);
    log.Command(CC_ED_SET_SEL, IntArg(cut), IntArg(-1));
    log.Command(CC_ED_REPLACE_SEL, StrArg(""));
    log.Command(CC_ED_SET_SEL, IntArg(0), IntArg(0));
    if (shown) {
        SendMessageA(control, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(control, nullptr, TRUE);
    }
}

}  // namespace

int32_t AppendLogLine(const WindowRecord* window, int32_t controlId, const char* text, uint32_t color) {
    HWND control = window && window->hwnd ? GetDlgItem(window->hwnd, controlId) : nullptr;
    if (!control)
        return 0;
    char* line = ConcatStrings(text ? text : "", "\r\n");
    if (!line)
        return 0;
    const LogControl log{window, controlId};
    MakeRoomInLog(log, control, StringLength(line));
    log.Command(CC_ED_SET_SEL, IntArg(0), IntArg(0));
    log.Command(CC_ED_SET_SEL_COLOR, IntArg(static_cast<int32_t>(color)));
    log.Command(CC_ED_SET_SEL, IntArg(0), IntArg(0));
    log.Command(CC_ED_REPLACE_SEL, StrArg(line));
    FreeString(line);
    return 1;
}

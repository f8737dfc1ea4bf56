#pragma once
// A log in a rich edit (or edit) control: newest line at the top, each in its
// own colour, bounded by the control's text limit.

#include <cstdint>

#include "runtime/window/window_record.h"

// Writes text + "\r\n" at the top of the window's control controlId in
// color (packed RGB), dropping whole lines from the bottom (the oldest)
// when the control's text limit would otherwise be passed, and then an
// eighth of the limit more, so that a full log makes room once every many
// lines: the newest line is never lost and the log never holds more than
// the limit. The view ends at the top. A hidden control stays hidden.
// Returns 1, or 0 when the line could not be made (no string heap) or there
// is no such control.
int32_t AppendLogLine(const WindowRecord* window, int32_t controlId, const char* text, uint32_t color);

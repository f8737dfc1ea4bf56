#pragma once
// The time of day as text.

// Local time as "hh:mm:ss" (24-hour clock, two digits each): a new string
// heap block owned by the caller, or null when no block could be had.
[[nodiscard]] char* TimeText();

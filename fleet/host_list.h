#pragma once
// The host list: a text file, one host a line ("127.0.0.1 10 1": the host,
// its interval in seconds and 1 or 0 for the failure message, separated by
// spaces or tabs). Blank lines and lines starting with '#' are skipped.

#include <cstdint>

// The monitor's rules for a host and its interval, and the list's own:
// the host's text goes into a line of the list, so it holds no blank and
// does not start with '#'. Returns the message for the user, or null when
// both are good, with *interval set.
const char* CheckHostFields(const char* name, const char* intervalText, int32_t* interval);

enum LineKind : int32_t { LINE_SKIPPED = 0, LINE_HOST = 1, LINE_BAD = 2 };
struct HostLine {
    char name[256];
    int32_t intervalSeconds;
    int32_t alert;
};
// Reads one line of the list (without its ending) into *host.
LineKind ParseHostLine(const char* line, HostLine* host);

constexpr int32_t kBadLineListSize = 160;
struct ListLoad {
    int32_t loaded;                  // hosts added
    int32_t bad;                     // lines skipped as bad
    char badLines[kBadLineListSize]; // their numbers, "3, 7, 12", the first ones only
};
// Reads the list through a text channel and adds a stopped host for each
// good line, in the file's order. Returns 1 when the file was read, 0 when
// it could not be opened (nothing added).
int32_t LoadHostList(const char* path, ListLoad* result);

// Writes the table's hosts to a new file beside path and renames it over
// path, so the list on disk is the old one or the new one, never half of
// either. Returns 1, or 0 with the old list untouched.
int32_t SaveHostList(const char* path);

// The box for a load with bad lines: a new string-heap string, caller frees.
[[nodiscard]] char* BadLinesMessage(const char* path, const ListLoad& load);

#pragma once
// Platform libraries that the runtime loads at run time.

#include <windows.h>

// Loads the named library (a file name such as "riched32.dll") from the
// system folder by its full path, so that a file of that name beside the
// program or in the current folder is never taken instead. The module stays
// the caller's to free; null when the path does not fit or the load fails.
[[nodiscard]] HMODULE LoadSystemLibrary(const char* fileName);

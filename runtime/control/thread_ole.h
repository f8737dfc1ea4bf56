#pragma once
// OLE on the program's thread, which rich edit controls need to paste and
// copy embedded objects: Wine's go through the OLE clipboard.

#include <cstdint>

// Initialises OLE on the calling thread the first time it is called, and
// registers an exit routine that uninitialises it, so the END sequence ends
// it; later calls do nothing until that routine has run. Started on demand,
// not at start-up: a program without a rich edit never pays for it.
// 1 when OLE is initialised on the thread; 0 when it could not be (the next
// call tries again).
int32_t StartThreadOle();

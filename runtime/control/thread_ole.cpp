#include "runtime/control/thread_ole.h"

#include <windows.h>
#include <ole2.h>

#include "runtime/core/strings.h"

namespace {

bool oleStarted;

void EndThreadOle(int32_t) {
    OleUninitialize();
    oleStarted = false;
}

}  // namespace

int32_t StartThreadOle() {
    if (oleStarted)
        return 1;
    // S_FALSE, when the program had initialised OLE itself, is one more
    // initialisation all the same, and is balanced like S_OK.
    if (FAILED(OleInitialize(nullptr)))
        return 0;
    oleStarted = true;
    AddExitRoutine(EndThreadOle, 0);
    return 1;
}

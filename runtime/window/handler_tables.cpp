#include "runtime/window/handler_tables.h"

int32_t DispatchHandlerTables(HWND, int32_t) { return 0; }

int32_t ReleaseHandlerTables(HWND) { return 0; }

#include "app/layout.h"

#include "app/monitor.h"

int32_t BuildLayout() {
    started = 0;
    return 0;
}

#include "runtime/core/clock.h"

#include <windows.h>

#include "runtime/core/strings.h"

char* TimeText() {
    char* text = AllocString(10);
    if (!text)
        return nullptr;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wsprintfA(text, "%02d:%02d:%02d", static_cast<int>(now.wHour), static_cast<int>(now.wMinute),
              static_cast<int>(now.wSecond));
    return text;
}

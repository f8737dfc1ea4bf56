#include "runtime/window/class_name.h"

namespace {

constexpr int kClassNameBuffer = 20;

}  // namespace

bool HasClassName(HWND window, const char* upperName) {
    char name[kClassNameBuffer] = {};
    if (!window || !GetClassNameA(window, name, kClassNameBuffer))
        return false;
    // In place, without the string heap, so the check works before the heap
    // exists and when it is exhausted.
    CharUpperA(name);
    return lstrcmpA(name, upperName) == 0;
}

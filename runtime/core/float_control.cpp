#include "runtime/core/float_control.h"

int32_t ResetFloatingPoint() {
    const uint16_t word = kFloatControlWord;
    __asm__ __volatile__("fnclex\n\tfldcw %0" : : "m"(word));
    return 0;
}

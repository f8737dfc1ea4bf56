#include "runtime/program/program.h"

#include <windows.h>

#include <intrin.h>

#include "runtime/core/strings.h"
#include "runtime/window/dialog_registry.h"

int32_t exitCode;

namespace {

// __builtin_setjmp keeps the frame pointer, stack pointer and resume address
// of RunProgram's frame; the structured-exception chain head is kept beside
// it, because the abandoned calls (the dispatcher, a message box's modal
// loop) registered handlers in frames that no longer exist.
void* endAnchor[5];
unsigned long anchorExceptionChain;
bool anchorRecorded;

void InitialiseFloatingPoint() {
    const uint16_t word = kFloatControlWord;
    __asm__ __volatile__("fninit\n\tfnclex\n\tfldcw %0" : : "m"(word));
}

[[noreturn]] void RunEndSequence() {
    FreeDialogRecords();
    ShutdownStringHeap();
    ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace

void RunProgram(void (*body)()) {
    InitialiseFloatingPoint();
    CreateStringHeap();
    anchorExceptionChain = __readfsdword(0);
    if (__builtin_setjmp(endAnchor) == 0) {
        anchorRecorded = true;
        body();
    }
    __writefsdword(0, anchorExceptionChain);
    RunEndSequence();
}

void EndProgram() {
    if (anchorRecorded)
        __builtin_longjmp(endAnchor, 1);
    RunEndSequence();
}

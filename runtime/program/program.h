#pragma once
// Process start and the END sequence.

#include <cstdint>

#include "runtime/core/float_control.h"

// Initialises the x87 unit (control word 0x033F), creates the string heap,
// records the END anchor and runs body, which is expected never to return.
// When EndProgram is called, or body returns, the END sequence runs here and
// the process exits with exitCode.
[[noreturn]] void RunProgram(void (*body)());

// Abandons the whole active call chain, resumes at the END anchor, frees the
// dialog records, runs the exit routines, destroys the string heap and calls
// ExitProcess. Never returns.
// The chain is left by a long jump, not by returning: destructors of objects
// in the frames between the caller and RunProgram never run (RAII guards,
// std::string, files opened by C++ streams), and code after the calls in
// those frames is skipped. Release or flush what those frames hold before
// calling; modal loops in progress (message boxes, dialogs) are abandoned,
// their windows destroyed only by ExitProcess.
[[noreturn]] void EndProgram();

// Passed to ExitProcess by the END sequence; nothing writes it.
extern int32_t exitCode;

#pragma once
// The runtime's own style bits in a control's window style word.

#include <cstdint>

constexpr uint32_t CS_HIDDEN = 0x00080000;        // created without WS_VISIBLE
constexpr uint32_t CS_TRANSPARENT = 0x00010000;   // on labels: the parent's surface shows through

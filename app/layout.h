#pragma once
// The main window's controls, colours and first appearance.

#include <cstdint>

int32_t BuildLayout();

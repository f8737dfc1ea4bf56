#pragma once
// The main window's parameters, its controls, colours and first appearance.

#include <windows.h>

#include <cstdint>

#include "runtime/runtime.h"

// A captioned pop-up with system menu and minimize box, neither sizable nor
// maximizable, created invisible; BuildLayout positions and shows it.
constexpr uint32_t kMainWindowFlags = WS_MINIMIZEBOX | RF_HIDDEN;
constexpr int32_t kMainWindowWidth = 400;
constexpr int32_t kMainWindowHeight = 400;
inline constexpr char kMainWindowCaption[] = "Reachlet";

// Control identifiers of the main window.
enum : int32_t {
    ID_TARGET_LABEL = 101,
    ID_INTERVAL_LABEL = 102,
    ID_TARGET = 103,
    ID_INTERVAL = 104,
    ID_START = 105,
    ID_STOP = 106,
    ID_EXIT = 107,
    ID_LOG = 108,
    ID_FAILURE_MESSAGE = 109,
};

inline constexpr char kDefaultInterval[] = "30";

// Completes the hidden main window and shows it last.
int32_t BuildLayout();

#pragma once
// Records and closes the message boxes that appear while a routine runs.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct SeenBox {
    std::string caption;
    std::string text;
    bool exclamationIcon = false;
    bool stopIcon = false;
};

// Runs action; a thread timer visits every message box of this thread that
// opens meanwhile (inside the box's own modal loop), records it, and closes
// it with OK.
std::vector<SeenBox> BoxesDuring(const std::function<void()>& action);

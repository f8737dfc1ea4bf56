#pragma once
// A hidden runtime window to put controls on, and readers of what the
// platform made of them.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/control/controls.h"
#include "runtime/core/strings.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "tests/support/test_support.h"

// CreateControl answers 0 whether it made a control or not; what it made is
// read from the window: the control with the identifier, or null.
inline HWND MadeControl(WindowRecord* window, int32_t type, const char* text, int32_t x, int32_t y, int32_t cx,
                        int32_t cy, uint32_t style, int32_t controlId) {
    EXPECT_EQ(CreateControl(window, type, text, x, y, cx, cy, style, controlId), 0);
    return window->hwnd ? GetDlgItem(window->hwnd, controlId) : nullptr;
}

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CreateStringHeap(), 1);
        ASSERT_EQ(OpenWindow(&window, 0, 0, 420, 320, RF_HIDDEN, nullptr, "controls", nullptr), 1);
    }
    // The window goes, then what the END sequence ends (exit routines, the
    // string heap), so each case starts as a new program would.
    void TearDown() override {
        CloseWindow(&window);
        PumpMessages();
        ShutdownStringHeap();
    }
    HWND Control(int32_t id) const { return GetDlgItem(window.hwnd, id); }
    uint32_t Style(int32_t id) const { return static_cast<uint32_t>(GetWindowLongA(Control(id), GWL_STYLE)); }
    uint32_t ExStyle(int32_t id) const { return static_cast<uint32_t>(GetWindowLongA(Control(id), GWL_EXSTYLE)); }
    std::string ClassOf(int32_t id) const {
        char name[64] = {};
        GetClassNameA(Control(id), name, sizeof(name));
        return name;
    }
    std::string TextOf(int32_t id) const {
        char text[256] = {};
        GetWindowTextA(Control(id), text, sizeof(text));
        return text;
    }
    // Position and size in the parent's client area.
    RECT RectOf(int32_t id) const {
        RECT r{};
        GetWindowRect(Control(id), &r);
        MapWindowPoints(nullptr, window.hwnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    int32_t ChildCount() const {
        int32_t n = 0;
        for (HWND c = GetWindow(window.hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            ++n;
        return n;
    }
    WindowRecord window{};
};

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

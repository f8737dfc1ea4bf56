#pragma once
// A hidden runtime window holding real controls of the classes the command
// dispatcher serves, made directly with CreateWindowExA, and the typed
// arguments the tests pass.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "runtime/control/control_commands.h"
#include "runtime/core/strings.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "tests/support/test_support.h"

class ControlCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CreateStringHeap(), 1);
        InitCommonControls();
        ASSERT_EQ(OpenWindow(&window, 0, 0, 640, 480, RF_HIDDEN, nullptr, "commands", nullptr), 1);
    }
    void TearDown() override {
        CloseWindow(&window);
        PumpMessages();
    }
    HWND Make(const char* className, DWORD style, int32_t id, DWORD exStyle = 0, const char* text = "") {
        return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 10, 10, 400, 200,
                               window.hwnd, reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)),
                               GetModuleHandleA(nullptr), nullptr);
    }
    // A rich edit of the class the runtime's rich edit controls have.
    HWND MakeRichEdit(int32_t id, DWORD style = ES_MULTILINE | WS_VSCROLL) {
        if (!LoadLibraryA("riched32.dll"))
            return nullptr;
        return Make("RichEdit", style, id, WS_EX_CLIENTEDGE);
    }
    int32_t Command(int32_t id, int32_t command, TypedArg first = NoArg, TypedArg second = NoArg,
                    TypedArg third = NoArg, TypedArg fourth = NoArg) {
        return SendControlCommand(&window, id, command, first, second, third, fourth);
    }
    // The control's rectangle in the window's client coordinates.
    RECT RectInWindow(HWND control) const {
        RECT area{};
        GetWindowRect(control, &area);
        MapWindowPoints(nullptr, window.hwnd, reinterpret_cast<POINT*>(&area), 2);
        return area;
    }
    static std::string TextOf(HWND control) {
        const int length = GetWindowTextLengthA(control);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        GetWindowTextA(control, text.data(), length + 1);
        text.resize(static_cast<size_t>(length));
        return text;
    }
    WindowRecord window{};
};

// A string-heap block of n characters with blocks of guard bytes of the
// same size allocated after it, so a write past its end reaches one.
struct GuardedHeapString {
    explicit GuardedHeapString(int32_t n) : text(AllocString(n)), size(StringCapacity(text)) {
        for (char*& guard : guards)
            guard = static_cast<char*>(std::memset(AllocString(n), 'G', static_cast<size_t>(size)));
    }
    ~GuardedHeapString() {
        for (const char* guard : guards)
            FreeString(guard);
        FreeString(text);
    }
    // A guard lies right behind the string, and every guard is whole.
    bool Intact() const {
        bool behind = false;
        for (const char* guard : guards) {
            behind = behind || (guard > text && guard - text <= 64);
            if (StringCapacity(guard) != size || std::count(guard, guard + size, 'G') != size)
                return false;
        }
        return behind;
    }
    char* text;
    int32_t size;
    std::array<char*, 8> guards{};
};

inline TypedArg RefArg(int32_t* variable, uint32_t type = TY_INTEGER) {
    return TypedArg{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(variable)), type | TY_BYREF};
}
inline TypedArg DwordArg(uint32_t value) { return TypedArg{value, TY_DWORD}; }
inline TypedArg TypedValue(uint32_t value, uint32_t type) { return TypedArg{value, type}; }

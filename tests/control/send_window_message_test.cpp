#include "tests/control/control_fixture.h"

namespace {

constexpr UINT kEcho = WM_USER + 1;   // answered with lParam

struct Received {
    static inline HWND window;
    static inline WPARAM wParam;
    static inline int count;
};

LRESULT CALLBACK EchoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kEcho) {
        Received::window = hwnd;
        Received::wParam = wParam;
        ++Received::count;
        return lParam;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

uint32_t Word(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

class SendWindowMessageTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        WNDCLASSA wc{};
        wc.lpfnWndProc = EchoProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "EchoLParam";
        RegisterClassA(&wc);
        echo = CreateCustomControl(&window, "EchoLParam", "", 0, 0, 10, 10, 0, 0, 77);
        ASSERT_NE(echo, nullptr);
        Received::count = 0;
    }
    HWND echo = nullptr;
};

TEST_F(SendWindowMessageTest, TargetsAreHandlesRecordsOrTheirControls) {
    HWND handle = echo;
    const TypedArg byValue{Word(echo), TY_INTEGER};
    const TypedArg asDword{Word(echo), TY_DWORD};
    const TypedArg byRef{Word(&handle), TY_INTEGER | TY_BYREF};
    const TypedArg dwordByRef{Word(&handle), TY_DWORD | TY_BYREF};
    const TypedArg record{Word(&window), TY_WINDOW};
    const TypedArg recordByRef{Word(&window), TY_WINDOW | TY_BYREF};

    EXPECT_EQ(SendWindowMessage(byValue, kEcho, 5, IntArg(11), 0), 11);
    EXPECT_EQ(SendWindowMessage(asDword, kEcho, 5, IntArg(12), 0), 12);
    EXPECT_EQ(SendWindowMessage(byRef, kEcho, 5, IntArg(13), 0), 13);
    EXPECT_EQ(SendWindowMessage(dwordByRef, kEcho, 5, IntArg(14), 0), 14);
    EXPECT_EQ(Received::count, 4);
    EXPECT_EQ(Received::window, echo);
    EXPECT_EQ(Received::wParam, 5u);

    // The record's window, then its control 77.
    EXPECT_EQ(SendWindowMessage(record, WM_GETTEXTLENGTH, 0, NoArg, 0), lstrlenA("controls"));
    EXPECT_EQ(SendWindowMessage(record, kEcho, 0, IntArg(15), 77), 15);
    EXPECT_EQ(SendWindowMessage(recordByRef, kEcho, 0, IntArg(16), 77), 16);
    const TypedArg parent{Word(window.hwnd), TY_DWORD};
    EXPECT_EQ(SendWindowMessage(parent, kEcho, 0, IntArg(17), 77), 17);
    EXPECT_EQ(Received::count, 7);
}

TEST_F(SendWindowMessageTest, NoTargetWindowGivesZeroAndSendsNothing) {
    WindowRecord closed{};
    EXPECT_EQ(SendWindowMessage(TypedArg{Word(&closed), TY_WINDOW}, kEcho, 0, IntArg(1), 0), 0);
    EXPECT_EQ(SendWindowMessage(TypedArg{0, TY_WINDOW}, kEcho, 0, IntArg(1), 0), 0);
    EXPECT_EQ(SendWindowMessage(TypedArg{0, TY_INTEGER}, kEcho, 0, IntArg(1), 0), 0);
    EXPECT_EQ(SendWindowMessage(TypedArg{0, TY_INTEGER | TY_BYREF}, kEcho, 0, IntArg(1), 0), 0);
    // Other type codes name no window, even with a handle in the value.
    EXPECT_EQ(SendWindowMessage(TypedArg{Word(echo), TY_STRING}, kEcho, 0, IntArg(1), 0), 0);
    EXPECT_EQ(SendWindowMessage(TypedArg{Word(echo), TY_POINTER}, kEcho, 0, IntArg(1), 0), 0);
    EXPECT_EQ(SendWindowMessage(TypedArg{Word(echo), TY_SHORT}, kEcho, 0, IntArg(1), 0), 0);
    // A control identifier the window does not have.
    EXPECT_EQ(SendWindowMessage(TypedArg{Word(&window), TY_WINDOW}, kEcho, 0, IntArg(1), 78), 0);
    EXPECT_EQ(Received::count, 0);
}

TEST_F(SendWindowMessageTest, LParamByReferenceIsReadExceptForStringsAndRecords) {
    const TypedArg target{Word(echo), TY_DWORD};
    int32_t number = -42;
    uint32_t word = 0xCAFEF00D;
    const char* text = "abc";

    EXPECT_EQ(SendWindowMessage(target, kEcho, 0, TypedArg{Word(&number), TY_INTEGER | TY_BYREF}, 0), -42);
    EXPECT_EQ(static_cast<uint32_t>(SendWindowMessage(target, kEcho, 0, TypedArg{Word(&word), TY_DWORD | TY_BYREF}, 0)),
              0xCAFEF00Du);
    EXPECT_EQ(static_cast<uint32_t>(SendWindowMessage(target, kEcho, 0, TypedArg{Word(&word), TY_POINTER | TY_BYREF}, 0)),
              0xCAFEF00Du);
    // Strings travel as the address of their characters, by value or not.
    EXPECT_EQ(static_cast<uint32_t>(SendWindowMessage(target, kEcho, 0, StrArg(text), 0)), Word(text));
    EXPECT_EQ(static_cast<uint32_t>(SendWindowMessage(target, kEcho, 0, TypedArg{Word(text), TY_STRING | TY_BYREF}, 0)),
              Word(text));
    EXPECT_EQ(static_cast<uint32_t>(SendWindowMessage(target, kEcho, 0, TypedArg{Word(&window), TY_WINDOW | TY_BYREF}, 0)),
              Word(&window));
    // By value everything is passed as it is, whatever its type.
    EXPECT_EQ(static_cast<uint32_t>(SendWindowMessage(target, kEcho, 0, TypedArg{Word(&number), TY_INTEGER}, 0)),
              Word(&number));
    EXPECT_EQ(SendWindowMessage(target, kEcho, 0, NoArg, 0), 0);
}

}  // namespace

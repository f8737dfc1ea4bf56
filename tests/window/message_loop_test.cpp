#include "runtime/window/message_loop.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/window/accelerators.h"
#include "runtime/window/open_window.h"
#include "tests/support/test_support.h"

namespace {

// Clear of 0x8002 to 0x800F, which the router treats as event codes.
constexpr UINT kProbe = WM_APP + 0x100;

// Only the tests' own messages and the menu commands their keys make are
// recorded: the platform may send others during a drain (Wine 10 erases the
// window's background there, 0x800F).
constexpr UINT kProbes = 16;
std::vector<UINT> handled;
int32_t LogMessages() {
    const auto code = static_cast<UINT>(messageRecord.eventCode);
    if ((code >= kProbe && code < kProbe + kProbes) || code == EV_MENU)
        handled.push_back(code);
    return 0;
}

class MessageLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        handled.clear();
        ASSERT_EQ(OpenWindow(&window, 100, 100, 300, 200, 0, nullptr, "loop", LogMessages), 1);
        PumpMessages();
    }
    void TearDown() override {
        CloseWindow(&window);
        PumpMessages();
    }
    WindowRecord window{};
};

TEST_F(MessageLoopTest, NoWaitOnAnEmptyQueueReturnsAtOnce) {
    PumpMessages();
    EXPECT_EQ(WaitEvents(1), 0);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(MessageLoopTest, DrainsEveryQueuedMessageInOrder) {
    for (UINT i = 0; i < 5; ++i)
        PostMessageA(window.hwnd, kProbe + i, 0, 0);
    WaitEvents(0);   // input is queued, so the wait returns at once
    EXPECT_EQ(handled, (std::vector<UINT>{kProbe, kProbe + 1, kProbe + 2, kProbe + 3, kProbe + 4}));
}

TEST_F(MessageLoopTest, QuitMessageIsTakenLikeAnyOtherAndDoesNotStopTheLoop) {
    PostQuitMessage(3);
    PostMessageA(window.hwnd, kProbe, 0, 0);
    WaitEvents(1);
    EXPECT_EQ(handled, (std::vector<UINT>{kProbe}));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    PostMessageA(window.hwnd, kProbe + 1, 0, 0);
    WaitEvents(1);
    EXPECT_EQ(handled.size(), 2u);
}

int32_t threadTimerCalls;
void CALLBACK CountThreadTimer(HWND hwnd, UINT, UINT_PTR, DWORD) {
    if (!hwnd)
        ++threadTimerCalls;
}

TEST_F(MessageLoopTest, ThreadMessagesAreDispatched) {
    // A thread message has no window; it is removed and dispatched to nobody.
    PostThreadMessageA(GetCurrentThreadId(), kProbe, 0, 0);
    WaitEvents(1);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(handled.empty());

    // A thread timer's WM_TIMER has no window either; only its dispatch
    // calls the timer procedure.
    threadTimerCalls = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, CountThreadTimer);
    ASSERT_NE(timer, 0u);
    ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_TIMER), WAIT_OBJECT_0);
    WaitEvents(1);
    KillTimer(nullptr, timer);
    EXPECT_GE(threadTimerCalls, 1);
}

TEST_F(MessageLoopTest, TabMovesTheFocusOnlyWithDialogKeys) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND first = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 100, 20,
                                 window.hwnd, reinterpret_cast<HMENU>(103), instance, nullptr);
    HWND second = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 40, 100, 20,
                                  window.hwnd, reinterpret_cast<HMENU>(104), instance, nullptr);
    SetForegroundWindow(window.hwnd);
    SetFocus(first);
    ASSERT_EQ(GetFocus(), first);

    PostMessageA(first, WM_KEYDOWN, VK_TAB, 0x000F0001);
    WaitEvents(1);
    EXPECT_EQ(GetFocus(), first);   // without dialog keys the edit takes the Tab

    SetDialogKeys(&window, 1);
    // Tests beside this one open windows of their own and may take the
    // activation; the focus must be where the key goes when it is posted.
    SetForegroundWindow(window.hwnd);
    SetFocus(first);
    ASSERT_EQ(GetFocus(), first);
    PostMessageA(first, WM_KEYDOWN, VK_TAB, 0x000F0001);
    WaitEvents(1);
    EXPECT_EQ(GetFocus(), second);
}

// The keys that reach a popup's own procedure.
struct PopupKeys {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_KEYDOWN)
            keys.push_back(static_cast<UINT>(wParam));
        return CallWindowProcA(previous, hwnd, message, wParam, lParam);
    }
    static inline WNDPROC previous;
    static inline std::vector<UINT> keys;
};

TEST_F(MessageLoopTest, MessagesOfAnOwnedPopupFindTheOwnersRecord) {
    // Only a message that finds the owner's record meets the owner's
    // accelerator table, which turns the key into the owner's command
    // instead of a key for the popup.
    constexpr WORD kCommand = 4242;
    ACCEL accelerator{FVIRTKEY, 'Q', kCommand};
    HACCEL table = CreateAcceleratorTableA(&accelerator, 1);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(SetWindowAccelerators(&window, table), 1);   // the runtime destroys it
    HWND popup = CreateWindowExA(0, "Static", "owned", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, window.hwnd, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_EQ(GetParent(popup), window.hwnd);
    PopupKeys::keys.clear();
    PopupKeys::previous = reinterpret_cast<WNDPROC>(
        SetWindowLongA(popup, GWL_WNDPROC, static_cast<LONG>(reinterpret_cast<uintptr_t>(&PopupKeys::Proc))));
    handled.clear();
    PostMessageA(popup, WM_KEYDOWN, 'Q', 0x00100001);
    WaitEvents(1);
    EXPECT_EQ(handled, (std::vector<UINT>{static_cast<UINT>(EV_MENU)}));
    EXPECT_EQ(messageRecord.menuId, kCommand);
    EXPECT_TRUE(PopupKeys::keys.empty());

    // Without the table the same key reaches the popup's procedure.
    ASSERT_EQ(SetWindowAccelerators(&window, nullptr), 1);
    EXPECT_EQ(CopyAcceleratorTableA(table, nullptr, 0), 0);   // destroyed with its removal
    PostMessageA(popup, WM_KEYDOWN, 'Q', 0x00100001);
    WaitEvents(1);
    EXPECT_EQ(PopupKeys::keys, (std::vector<UINT>{'Q'}));
    DestroyWindow(popup);
}

// The loop asks for a window's table only while some window holds one
// installed by the runtime: a table hung on a window by hand counts only
// then. A window destroyed without CloseWindow releases its table.
TEST_F(MessageLoopTest, AcceleratorsAreAskedForOnlyWhileAWindowHoldsThem) {
    ACCEL accelerator{FVIRTKEY, 'Q', 4343};
    ASSERT_TRUE(SetPropA(window.hwnd, "_ACCEL_TABLE", CreateAcceleratorTableA(&accelerator, 1)));
    WindowRecord other{};
    ASSERT_EQ(OpenWindow(&other, 0, 0, 100, 100, RF_HIDDEN, nullptr, "other", nullptr), 1);
    HACCEL installed = CreateAcceleratorTableA(&accelerator, 1);
    ASSERT_EQ(SetWindowAccelerators(&other, installed), 1);
    for (const bool held : {true, false}) {
        if (!held)
            DestroyWindow(other.hwnd);
        handled.clear();
        PostMessageA(window.hwnd, WM_KEYDOWN, 'Q', 0x00100001);
        WaitEvents(1);
        EXPECT_EQ(handled, held ? std::vector<UINT>{static_cast<UINT>(EV_MENU)} : std::vector<UINT>{});
    }
    EXPECT_EQ(CopyAcceleratorTableA(installed, nullptr, 0), 0);
}

class MdiDestroyLog {
public:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_MDIDESTROY)
            destroyed.push_back(reinterpret_cast<HWND>(wParam));
        return CallWindowProcA(previous, hwnd, message, wParam, lParam);
    }
    static inline WNDPROC previous;
    static inline std::vector<HWND> destroyed;
};

TEST(CloseWindowTest, MdiChildIsDestroyedThroughTheMdiClient) {
    WindowRecord frame{}, document{};
    ASSERT_EQ(OpenWindow(&frame, 0, 0, 640, 480, RF_FRAME, nullptr, "frame", nullptr), 1);
    ASSERT_EQ(OpenWindow(&document, 0, 0, 200, 150, 0, &frame, "doc", nullptr), 1);
    MdiDestroyLog::previous = reinterpret_cast<WNDPROC>(SetWindowLongA(
        frame.mdiClient, GWL_WNDPROC, static_cast<LONG>(reinterpret_cast<uintptr_t>(&MdiDestroyLog::Proc))));
    HWND handle = document.hwnd;
    CloseWindow(&document);
    EXPECT_EQ(MdiDestroyLog::destroyed, (std::vector<HWND>{handle}));
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(document.hwnd, nullptr);
    CloseWindow(&frame);
    EXPECT_FALSE(IsWindow(frame.mdiClient));
}

TEST(CloseWindowTest, DeletesTheDrawingObjectsAndIgnoresASecondCall) {
    WindowRecord record{};
    ASSERT_EQ(OpenWindow(&record, 0, 0, 100, 100, RF_HIDDEN, nullptr, "x", nullptr), 1);
    HWND handle = record.hwnd;
    HGDIOBJ surface = record.surfaceBitmap, pen = record.pen, font = record.font;
    ASSERT_NE(GetObjectType(surface), 0u);
    ASSERT_NE(GetObjectType(pen), 0u);
    ASSERT_NE(GetObjectType(font), 0u);
    EXPECT_EQ(CloseWindow(&record), 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(record.hwnd, nullptr);
    EXPECT_EQ(GetObjectType(surface), 0u);
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(CloseWindow(&record), 0);
}

TEST(CloseWindowTest, DestroysTheAcceleratorTable) {
    WindowRecord record{};
    ASSERT_EQ(OpenWindow(&record, 0, 0, 100, 100, RF_HIDDEN, nullptr, "x", nullptr), 1);
    ACCEL accel{FVIRTKEY | FCONTROL, 'Q', 900};
    HACCEL table = CreateAcceleratorTableA(&accel, 1);
    SetPropA(record.hwnd, "_ACCEL_TABLE", table);
    HWND handle = record.hwnd;
    CloseWindow(&record);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(CopyAcceleratorTableA(table, nullptr, 0), 0);   // no such table any more
}

TEST(CloseWindowTest, TemplateRecordsAndClosedRecordsAreLeftAlone) {
    WindowRecord record{};
    EXPECT_EQ(CloseWindow(&record), 0);
    ASSERT_EQ(OpenWindow(&record, 0, 0, 100, 100, RF_HIDDEN, nullptr, "x", nullptr), 1);
    record.templateMode = 1;
    HWND handle = record.hwnd;
    CloseWindow(&record);
    EXPECT_TRUE(IsWindow(handle));
    record.templateMode = 0;
    CloseWindow(&record);
    EXPECT_FALSE(IsWindow(handle));
}

TEST(CloseWindowTest, AReopenedRecordGetsFreshObjects) {
    WindowRecord record{};
    ASSERT_EQ(OpenWindow(&record, 0, 0, 100, 100, RF_HIDDEN, nullptr, "x", nullptr), 1);
    CloseWindow(&record);
    ASSERT_EQ(OpenWindow(&record, 0, 0, 100, 100, RF_NO_SURFACE | RF_HIDDEN, nullptr, "y", nullptr), 1);
    EXPECT_EQ(record.surfaceBitmap, nullptr);   // not the deleted bitmap of the first window
    CloseWindow(&record);
}

}  // namespace

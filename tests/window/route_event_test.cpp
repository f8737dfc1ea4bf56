#include "runtime/window/window_proc.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "runtime/window/handler_tables.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "tests/support/test_support.h"

namespace {

// What a handler saw of one event.
struct SeenEvent {
    int32_t eventCode;
    uint32_t wParam;
    int32_t lParam;
    int32_t mouseX;
    int32_t mouseY;
    WindowRecord* window;
    int32_t controlId;
    int32_t menuId;
    int32_t notifyCode;
    // The platform and the record as they stood while the handler ran.
    HWND focus;
    HDC paintDC;
    COLORREF erasedPixel;   // pixel (5, 5) of an erase event's DC; CLR_INVALID for other events
};

std::vector<SeenEvent> seen;
int32_t handlerResult;

void Remember() {
    const MessageRecord& m = messageRecord;
    const COLORREF erasedPixel = m.eventCode == EV_ERASE_BACKGROUND
                                     ? GetPixel(reinterpret_cast<HDC>(static_cast<uintptr_t>(m.wParam)), 5, 5)
                                     : CLR_INVALID;
    seen.push_back({m.eventCode, m.wParam, m.lParam, m.mouseX, m.mouseY, m.window, m.controlId, m.menuId,
                    m.notifyCode, GetFocus(), m.window ? m.window->paintDC : nullptr, erasedPixel});
}

int32_t LogEvents() {
    Remember();
    return handlerResult;
}

// The events with a given code, in order.
std::vector<SeenEvent> EventsWith(int32_t code) {
    std::vector<SeenEvent> out;
    for (const SeenEvent& e : seen)
        if (e.eventCode == code)
            out.push_back(e);
    return out;
}

class RouteEventTest : public ::testing::Test {
protected:
    void SetUp() override {
        seen.clear();
        handlerResult = 0;
        ASSERT_EQ(OpenWindow(&window, 50, 50, 300, 200, 0, nullptr, "route", LogEvents), 1);
        PumpMessages();
        seen.clear();
    }
    void TearDown() override {
        CloseWindow(&window);
        PumpMessages();
    }
    WindowRecord window{};
};

TEST_F(RouteEventTest, CloseBecomesCloseWindowEventAndNeverDestroysByItself) {
    SendMessageA(window.hwnd, WM_CLOSE, 0, 0);
    const auto closes = EventsWith(EV_CLOSE_WINDOW);
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_EQ(closes[0].window, &window);
    EXPECT_TRUE(IsWindow(window.hwnd));   // a handler returning 0 leaves it open

    SendMessageA(window.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(EventsWith(EV_CLOSE_WINDOW).size(), 2u);
    EXPECT_TRUE(IsWindow(window.hwnd));
}

TEST_F(RouteEventTest, ButtonClickIsAControlEvent) {
    HWND button = CreateWindowExA(0, "Button", "Start", WS_CHILD | WS_VISIBLE, 10, 10, 60, 25, window.hwnd,
                                  reinterpret_cast<HMENU>(105), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(button, nullptr);
    seen.clear();
    SendMessageA(button, BM_CLICK, 0, 0);
    const auto controls = EventsWith(EV_CONTROL);
    ASSERT_EQ(controls.size(), 1u);
    EXPECT_EQ(controls[0].controlId, 105);
    EXPECT_EQ(controls[0].notifyCode, BN_CLICKED);
    EXPECT_EQ(controls[0].lParam, static_cast<int32_t>(reinterpret_cast<uintptr_t>(button)));
}

TEST_F(RouteEventTest, NotificationCodesAreUnsignedSixteenBits) {
    HWND list = CreateWindowExA(0, "ListBox", "", WS_CHILD, 0, 0, 50, 50, window.hwnd,
                                reinterpret_cast<HMENU>(7), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(window.hwnd, WM_COMMAND, MAKEWPARAM(7, LBN_ERRSPACE), reinterpret_cast<LPARAM>(list));
    const auto controls = EventsWith(EV_CONTROL);
    ASSERT_EQ(controls.size(), 1u);
    EXPECT_EQ(controls[0].notifyCode, 65534);
    EXPECT_EQ(controls[0].controlId, 7);
}

TEST_F(RouteEventTest, CommandWithoutControlIsAMenuEvent) {
    SendMessageA(window.hwnd, WM_COMMAND, MAKEWPARAM(4001, 1), 0);
    const auto menus = EventsWith(EV_MENU);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].menuId, 4001);
    EXPECT_EQ(menus[0].window, &window);
    // The menu command outlives the event; the other fields are restored.
    EXPECT_EQ(messageRecord.menuId, 4001);
    EXPECT_EQ(messageRecord.eventCode, 0);
    EXPECT_EQ(messageRecord.window, nullptr);
}

TEST_F(RouteEventTest, EventCodeSentDirectlyIsAControlEvent) {
    SendMessageA(window.hwnd, EV_CONTROL, MAKEWPARAM(12, 3), 1);
    const auto controls = EventsWith(EV_CONTROL);
    ASSERT_EQ(controls.size(), 1u);
    EXPECT_EQ(controls[0].controlId, 12);
    EXPECT_EQ(controls[0].notifyCode, 3);
}

TEST_F(RouteEventTest, NotifyCarriesAllThirtyTwoBitsOfTheCode) {
    NMHDR header{};
    header.hwndFrom = window.hwnd;
    header.idFrom = 42;
    header.code = NM_CLICK;
    SendMessageA(window.hwnd, WM_NOTIFY, 42, reinterpret_cast<LPARAM>(&header));
    const auto controls = EventsWith(EV_CONTROL);
    ASSERT_EQ(controls.size(), 1u);
    EXPECT_EQ(controls[0].notifyCode, -2);
    EXPECT_EQ(controls[0].controlId, 42);
}

TEST_F(RouteEventTest, ScrollEventsNameTheBarAndSplitTheRequest) {
    HWND bar = CreateWindowExA(0, "ScrollBar", "", WS_CHILD | SBS_HORZ, 0, 0, 100, 16, window.hwnd,
                               reinterpret_cast<HMENU>(33), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(window.hwnd, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 77), reinterpret_cast<LPARAM>(bar));
    SendMessageA(window.hwnd, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    const auto h = EventsWith(WM_HSCROLL);
    ASSERT_EQ(h.size(), 1u);
    EXPECT_EQ(h[0].controlId, 33);
    EXPECT_EQ(h[0].wParam, static_cast<uint32_t>(SB_THUMBTRACK));
    EXPECT_EQ(h[0].lParam, 77);
    const auto v = EventsWith(WM_VSCROLL);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].controlId, 0);
    EXPECT_EQ(v[0].wParam, static_cast<uint32_t>(SB_LINEDOWN));
}

TEST_F(RouteEventTest, MouseEventsCarryPositionAndKeysTwice) {
    SendMessageA(window.hwnd, WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(65535, 12));
    const auto moves = EventsWith(WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].mouseX, 65535);   // unsigned 16 bits
    EXPECT_EQ(moves[0].mouseY, 12);
    EXPECT_EQ(moves[0].wParam, static_cast<uint32_t>(MK_SHIFT));
    EXPECT_EQ(moves[0].lParam, MK_SHIFT);
}

TEST_F(RouteEventTest, LeftClickTakesTheFocusFromTheFocusedControl) {
    HWND edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, window.hwnd,
                                reinterpret_cast<HMENU>(103), GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(window.hwnd);
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);
    seen.clear();
    SendMessageA(window.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 120));
    const auto downs = EventsWith(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].focus, window.hwnd);   // already taken when the handler runs
    EXPECT_EQ(downs[0].mouseX, 150);
    EXPECT_EQ(downs[0].mouseY, 120);
    EXPECT_EQ(downs[0].lParam, MK_LBUTTON);
}

TEST_F(RouteEventTest, SizeEventComesBeforeTheSizeMessage) {
    SetWindowPos(window.hwnd, nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER);
    int sizeEvent = -1;
    int sizeMessage = -1;
    for (size_t i = 0; i < seen.size(); ++i) {
        if (seen[i].eventCode == EV_SIZE && sizeEvent < 0)
            sizeEvent = static_cast<int>(i);
        if (seen[i].eventCode == WM_SIZE && sizeMessage < 0)
            sizeMessage = static_cast<int>(i);
    }
    ASSERT_GE(sizeEvent, 0);
    ASSERT_GE(sizeMessage, 0);
    EXPECT_LT(sizeEvent, sizeMessage);
    EXPECT_EQ(seen[sizeEvent].lParam, static_cast<int32_t>(reinterpret_cast<uintptr_t>(window.hwnd)));
    RECT client{};
    GetClientRect(window.hwnd, &client);
    EXPECT_EQ(seen[sizeMessage].lParam, MAKELPARAM(client.right, client.bottom));
}

TEST_F(RouteEventTest, NonZeroHandlerResultSkipsTheDefaultProcedure) {
    handlerResult = 1;
    // DefWindowProc would answer WM_GETTEXTLENGTH with the caption's length.
    EXPECT_EQ(SendMessageA(window.hwnd, WM_GETTEXTLENGTH, 0, 0), 1);
    handlerResult = 0;
    EXPECT_EQ(SendMessageA(window.hwnd, WM_GETTEXTLENGTH, 0, 0), 5);
}

TEST_F(RouteEventTest, OwnerDrawAndColourRequestsWithoutControlGoToTheDefault) {
    seen.clear();
    DRAWITEMSTRUCT item{};
    SendMessageA(window.hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    HDC dc = GetDC(window.hwnd);
    SendMessageA(window.hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(window.hwnd, dc);
    EXPECT_TRUE(seen.empty());
}

// A control's answer to WM_CTLCOLOR (0x19) is what the parent returns.
LRESULT CALLBACK AnswerColour(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == 0x0019)
        return 0x5150;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST_F(RouteEventTest, ColourRequestsAreReflectedToTheControl) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = AnswerColour;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ColourAnswer";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND control = CreateWindowExA(0, "ColourAnswer", "", WS_CHILD, 0, 0, 10, 10, window.hwnd, nullptr,
                                   wc.hInstance, nullptr);
    seen.clear();
    HDC dc = GetDC(window.hwnd);
    EXPECT_EQ(SendMessageA(window.hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(control)),
              0x5150);
    EXPECT_EQ(SendMessageA(window.hwnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(control)),
              0x5150);
    ReleaseDC(window.hwnd, dc);
    EXPECT_TRUE(seen.empty());
}

// Nested events: the inner handler sees its own event, the outer one finds
// its record intact afterwards.
WindowRecord* nestedWindow;
std::vector<int32_t> outerAfterInner;
int32_t NestingHandler() {
    if (messageRecord.eventCode == EV_CONTROL && messageRecord.controlId == 1) {
        SendMessageA(nestedWindow->hwnd, WM_COMMAND, MAKEWPARAM(2, 9), 1);
        outerAfterInner.push_back(messageRecord.eventCode);
        outerAfterInner.push_back(messageRecord.controlId);
        outerAfterInner.push_back(messageRecord.notifyCode);
    } else if (messageRecord.eventCode == EV_CONTROL && messageRecord.controlId == 2) {
        outerAfterInner.push_back(-messageRecord.notifyCode);
    }
    return 0;
}

TEST_F(RouteEventTest, NestedEventsRestoreTheOuterEvent) {
    WindowRecord nested{};
    nestedWindow = &nested;
    ASSERT_EQ(OpenWindow(&nested, 0, 0, 100, 100, RF_HIDDEN, nullptr, "nested", NestingHandler), 1);
    SendMessageA(nested.hwnd, WM_COMMAND, MAKEWPARAM(1, 4), 1);
    EXPECT_EQ(outerAfterInner, (std::vector<int32_t>{-9, EV_CONTROL, 1, 4}));
    EXPECT_EQ(messageRecord.eventCode, 0);
    EXPECT_EQ(messageRecord.controlId, 0);
    CloseWindow(&nested);
}

// A handler that closes its own window on EV_CLOSE_WINDOW and gives the
// record's pages back, so any later read of the record faults.
int32_t CloseAndRelease() {
    Remember();
    if (messageRecord.eventCode != EV_CLOSE_WINDOW)
        return 0;
    WindowRecord* record = messageRecord.window;
    CloseWindow(record);
    VirtualFree(record, 0, MEM_RELEASE);
    return 1;
}

TEST_F(RouteEventTest, AHandlerMayCloseItsWindowAndReleaseTheRecord) {
    void* pages = VirtualAlloc(nullptr, sizeof(WindowRecord), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(pages, nullptr);
    auto* record = new (pages) WindowRecord{};
    ASSERT_EQ(OpenWindow(record, 0, 0, 100, 100, RF_HIDDEN, nullptr, "closing", CloseAndRelease), 1);
    const HWND hwnd = record->hwnd;
    seen.clear();
    EXPECT_EQ(SendMessageA(hwnd, WM_CLOSE, 0, 0), 1);
    EXPECT_FALSE(IsWindow(hwnd));
    const auto closes = EventsWith(EV_CLOSE_WINDOW);
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_EQ(closes[0].window, record);
    EXPECT_EQ(EventsWith(WM_DESTROY).size(), 1u);   // routed while the record still stood
    EXPECT_EQ(messageRecord.window, nullptr);
    EXPECT_EQ(messageRecord.eventCode, 0);
}

TEST_F(RouteEventTest, EraseBackgroundFillsAndThenRoutesTheEvent) {
    window.fillColor = RGB(10, 200, 30);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
    HGDIOBJ old = SelectObject(memory, bitmap);
    seen.clear();
    EXPECT_EQ(SendMessageA(window.hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0), 1);
    const auto erases = EventsWith(EV_ERASE_BACKGROUND);
    ASSERT_EQ(erases.size(), 1u);
    EXPECT_EQ(erases[0].wParam, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(memory)));
    // While the handler ran the background was filled already and drawing
    // went to the erase DC; afterwards the record no longer names it.
    EXPECT_EQ(erases[0].erasedPixel, RGB(10, 200, 30));
    EXPECT_EQ(erases[0].paintDC, memory);
    EXPECT_EQ(window.paintDC, nullptr);
    EXPECT_EQ(GetPixel(memory, 5, 5), RGB(10, 200, 30));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST_F(RouteEventTest, MenuCommandsOfAFrameActOnTheMdiClientAndTargetTheActiveChild) {
    WindowRecord frame{}, first{}, second{};
    ASSERT_EQ(OpenWindow(&frame, 0, 0, 640, 480, RF_FRAME, nullptr, "frame", LogEvents), 1);
    ASSERT_EQ(OpenWindow(&first, 0, 0, 200, 150, 0, &frame, "one", nullptr), 1);
    ASSERT_EQ(OpenWindow(&second, 30, 30, 200, 150, 0, &frame, "two", nullptr), 1);
    seen.clear();
    SendMessageA(frame.hwnd, WM_COMMAND, ID_WINDOW_TILE, 0);
    const auto menus = EventsWith(EV_MENU);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].menuId, ID_WINDOW_TILE);
    EXPECT_EQ(menus[0].window, &second);
    // Tiled horizontally: the two children share the client's height.
    RECT a{}, b{}, client{};
    GetWindowRect(first.hwnd, &a);
    GetWindowRect(second.hwnd, &b);
    GetClientRect(frame.mdiClient, &client);
    EXPECT_EQ(a.right - a.left, client.right);
    EXPECT_EQ(b.right - b.left, client.right);
    EXPECT_NE(a.top, b.top);
    CloseWindow(&second);
    CloseWindow(&first);
    CloseWindow(&frame);
}

// A handler that replaces its window by a new one in the same record: the
// tables consulted after it are those of the window the event was for.
int32_t newWindowRoutineRuns;
int32_t NewWindowRoutine() {
    ++newWindowRoutineRuns;
    return 0;
}
int32_t ReopeningHandler() {
    static bool reopened = false;
    WindowRecord* record = messageRecord.window;
    if (messageRecord.eventCode == EV_CLOSE_WINDOW && !reopened) {
        reopened = true;
        CloseWindow(record);
        if (OpenWindow(record, 0, 0, 100, 100, RF_HIDDEN, nullptr, "reopened", ReopeningHandler))
            SetEventHandler(record, EV_CLOSE_WINDOW, NewWindowRoutine);
    }
    return 0;
}

TEST_F(RouteEventTest, TablesAfterTheHandlerAreThoseOfTheEventsWindow) {
    WindowRecord replaced{};
    ASSERT_EQ(OpenWindow(&replaced, 0, 0, 100, 100, RF_HIDDEN, nullptr, "first", ReopeningHandler), 1);
    HWND first = replaced.hwnd;
    SendMessageA(first, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(first));
    ASSERT_NE(replaced.hwnd, nullptr);
    EXPECT_NE(replaced.hwnd, first);
    EXPECT_EQ(newWindowRoutineRuns, 0);   // the first window's close is not the new window's
    SendMessageA(replaced.hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(newWindowRoutineRuns, 1);
    CloseWindow(&replaced);
}

}  // namespace

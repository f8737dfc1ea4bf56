#include <vector>

#include "runtime/control/subclass.h"
#include "runtime/window/draw_scope.h"
#include "runtime/window/surface.h"
#include "tests/control/control_fixture.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

struct ControlEvent {
    int32_t controlId;
    int32_t notifyCode;
};
std::vector<ControlEvent> controlEvents;

int32_t LogControlEvents() {
    if (messageRecord.eventCode == EV_CONTROL)
        controlEvents.push_back({messageRecord.controlId, messageRecord.notifyCode});
    return 0;
}

COLORREF ControlPixel(HWND control, int x, int y) {
    HDC dc = GetDC(control);
    const COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(control, dc);
    return color;
}

// A visible window of its own, on top, with a handler that logs control
// events; painting and the mouse need a window on the screen, not the focus.
class ShownControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        controlEvents.clear();
        ASSERT_EQ(CreateStringHeap(), 1);
        ASSERT_EQ(OpenWindow(&window, 100, 100, 400, 300, RF_HIDDEN, nullptr, "procs", LogControlEvents), 1);
        // Shown without taking the focus from tests running beside this one.
        SetWindowPos(window.hwnd, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
        PumpMessages();
    }
    void TearDown() override {
        CloseWindow(&window);
        PumpMessages();
    }
    HWND Control(int32_t id) const { return GetDlgItem(window.hwnd, id); }
    WindowRecord window{};
};

TEST_F(ControlTest, OwnerDrawnAndTransparentControlsAnswerWithTheNullBrush) {
    ASSERT_NE(MadeControl(&window, CT_HOTBUTTON, "hot", 0, 0, 60, 25, 0, 250), nullptr);
    ASSERT_NE(MadeControl(&window, CT_LABEL, "see-through", 0, 30, 80, 20, CS_TRANSPARENT, 251), nullptr);
    ASSERT_NE(MadeControl(&window, CT_LABEL, "plain", 0, 60, 80, 20, 0, 252), nullptr);
    SetControlColors(&window, 250, kRed, kBlue);
    SetControlColors(&window, 251, kRed, kBlue);
    HDC dc = CreateCompatibleDC(nullptr);
    auto ask = [&](int32_t id, UINT message) {
        SetBkMode(dc, OPAQUE);
        return reinterpret_cast<HANDLE>(
            SendMessageA(window.hwnd, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Control(id))));
    };
    EXPECT_EQ(ask(250, WM_CTLCOLORBTN), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetTextColor(dc), kRed);
    EXPECT_EQ(GetBkColor(dc), kBlue);
    EXPECT_EQ(ask(251, WM_CTLCOLORSTATIC), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(GetTextColor(dc), kRed);
    EXPECT_EQ(ask(252, WM_CTLCOLORSTATIC), GetPropA(Control(252), "BBRUSH"));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    DeleteDC(dc);
}

TEST_F(ShownControlTest, EnterAndTabBecomeNotificationsOnlyWhenAskedFor) {
    const uint32_t style = ES_MULTILINE | ES_WANTRETURN;
    ASSERT_NE(MadeControl(&window, CT_EDIT, "", 10, 10, 200, 60, style, 260), nullptr);
    HWND edit = Control(260);
    auto text = [edit] {
        char buffer[32] = {};
        GetWindowTextA(edit, buffer, sizeof(buffer));
        return std::string(buffer);
    };
    auto notifications = [] {
        std::vector<int32_t> codes;
        for (const ControlEvent& e : controlEvents)
            if (e.controlId == 260 && (e.notifyCode == CN_ENTER || e.notifyCode == CN_TAB))
                codes.push_back(e.notifyCode);
        return codes;
    };

    SendMessageA(edit, WM_CHAR, '\r', 0);
    SendMessageA(edit, WM_CHAR, '\t', 0);
    EXPECT_EQ(text(), "\r\n\t");
    EXPECT_TRUE(notifications().empty());

    SetWindowTextA(edit, "");
    SetPropA(edit, "NOTIFY_ENTER", reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(SendMessageA(edit, WM_CHAR, '\r', 0), 1);
    SendMessageA(edit, WM_CHAR, '\t', 0);
    EXPECT_EQ(text(), "\t");
    EXPECT_EQ(notifications(), std::vector<int32_t>{CN_ENTER});

    SetPropA(edit, "NOTIFY_TAB", reinterpret_cast<HANDLE>(1));
    SendMessageA(edit, WM_CHAR, '\t', 0);
    SendMessageA(edit, WM_CHAR, 'a', 0);
    EXPECT_EQ(text(), "\ta");
    EXPECT_EQ(notifications(), (std::vector<int32_t>{CN_ENTER, CN_TAB}));
}

// Counts the drawings a control receives (the parent reflects WM_DRAWITEM).
struct DrawCounter {
    static inline WNDPROC below;
    static inline int draws;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DRAWITEM)
            ++draws;
        return CallWindowProcA(below, hwnd, message, wParam, lParam);
    }
    static void Watch(HWND control) {
        draws = 0;
        below = reinterpret_cast<WNDPROC>(SetWindowLongA(control, GWL_WNDPROC, reinterpret_cast<LONG>(Proc)));
    }
};

TEST_F(ShownControlTest, AHotButtonRepaintsOnceOnEntryAndOnceOnLeaving) {
    ASSERT_NE(MadeControl(&window, CT_HOTBUTTON, "hot", 20, 20, 100, 30, 0, 261), nullptr);
    HWND hot = Control(261);
    SetHotColor(&window, 261, kRed);
    UpdateWindow(hot);
    DrawCounter::Watch(hot);
    RECT area{};
    GetWindowRect(hot, &area);
    // The leave notification is only held back while the cursor is over it.
    SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);

    for (int i = 0; i < 3; ++i)
        SendMessageA(hot, WM_MOUSEMOVE, 0, MAKELPARAM(10 + i, 10));
    UpdateWindow(hot);
    EXPECT_EQ(DrawCounter::draws, 1);
    EXPECT_NE(GetPropA(hot, "DOHOT"), nullptr);
    EXPECT_EQ(ControlPixel(hot, 5, 15), kRed);
    for (int i = 0; i < 5; ++i)
        SendMessageA(hot, WM_MOUSEMOVE, 0, MAKELPARAM(20 + i, 12));
    UpdateWindow(hot);
    EXPECT_EQ(DrawCounter::draws, 1);

    // Moving away: the platform tracks the cursor and posts the leave.
    SetCursorPos(area.right + 200, area.bottom + 200);
    const DWORD start = GetTickCount();
    while (GetPropA(hot, "DOHOT") && GetTickCount() - start < 5000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        PumpMessages();
    }
    UpdateWindow(hot);
    EXPECT_EQ(GetPropA(hot, "DOHOT"), nullptr);
    EXPECT_EQ(DrawCounter::draws, 2);
    EXPECT_EQ(ControlPixel(hot, 5, 15), GetSysColor(COLOR_BTNFACE));
}

TEST_F(ShownControlTest, ATransparentLabelShowsTheSurfaceBehindItsText) {
    HDC dc = AcquireDrawDC(&window);
    ASSERT_NE(dc, nullptr);
    FillSolid(dc, 0, 0, 300, 100, kRed);
    ReleaseDrawDC(&window, dc, 1);
    ASSERT_NE(MadeControl(&window, CT_LABEL, "x", 20, 20, 120, 30, CS_TRANSPARENT, 262), nullptr);
    ASSERT_NE(MadeControl(&window, CT_LABEL, "x", 160, 20, 120, 30, 0, 263), nullptr);
    UpdateWindow(window.hwnd);
    PumpMessages();
    EXPECT_EQ(ControlPixel(Control(262), 100, 20), kRed);
    EXPECT_EQ(ControlPixel(Control(263), 100, 20), GetSysColor(COLOR_BTNFACE));

    // A new text repaints the label over the surface again.
    SetWindowTextA(Control(262), "y");
    UpdateWindow(Control(262));
    EXPECT_EQ(ControlPixel(Control(262), 100, 20), kRed);
}

TEST_F(ShownControlTest, AButtonOnTheWindowIsDrawnInItsColoursAndSinksWhenPressed) {
    ASSERT_NE(MadeControl(&window, CT_BUTTON, "Press", 20, 20, 100, 30, 0, 264), nullptr);
    HWND button = Control(264);
    SetControlColors(&window, 264, kRed, kBlue);
    InvalidateRect(button, nullptr, TRUE);
    UpdateWindow(button);
    EXPECT_EQ(ControlPixel(button, 6, 15), kBlue);
    EXPECT_EQ(ControlPixel(button, 99, 29), GetSysColor(COLOR_3DDKSHADOW));
    const COLORREF raisedCorner = ControlPixel(button, 0, 0);

    SendMessageA(button, BM_SETSTATE, TRUE, 0);
    UpdateWindow(button);
    EXPECT_NE(ControlPixel(button, 0, 0), raisedCorner);
    EXPECT_EQ(ControlPixel(button, 6, 15), kBlue);
}

}  // namespace

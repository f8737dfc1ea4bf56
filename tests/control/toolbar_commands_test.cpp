// The toolbar command table against a real toolbar with three buttons, and
// the re-fit of a frame's MDI client after the rows that resize the bar.

#include <array>
#include <string>
#include <vector>

#include "tests/control/command_fixture.h"

namespace {

constexpr int32_t kToolbarId = 701;
constexpr std::array<int32_t, 3> kButtonIds{501, 502, 503};

HWND MakeToolbar(HWND parent, DWORD style) {
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 300, 30,
                               parent, reinterpret_cast<HMENU>(static_cast<uintptr_t>(kToolbarId)),
                               GetModuleHandleA(nullptr), nullptr);
    if (!bar)
        return nullptr;
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    std::array<TBBUTTON, 3> buttons{};
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = kButtonIds[i];
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
        buttons[i].iString = -1;
    }
    SendMessageA(bar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    return bar;
}

class ToolbarCommandTest : public ControlCommandTest {
protected:
    void SetUp() override {
        ControlCommandTest::SetUp();
        bar = MakeToolbar(window.hwnd, TBSTYLE_TOOLTIPS | CCS_TOP);
        ASSERT_NE(bar, nullptr);
        ASSERT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 3);
    }
    TBBUTTON Button(int32_t index) const {
        TBBUTTON button{};
        SendMessageA(bar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
        return button;
    }
    std::string Label(int32_t index) const {
        char text[64] = {};
        const LRESULT length = SendMessageA(bar, TB_GETSTRINGA, MAKEWPARAM(sizeof(text), index),
                                            reinterpret_cast<LPARAM>(text));
        return length < 0 ? "<none>" : std::string(text);
    }
    bool Enabled(int32_t id) const {
        return SendMessageA(bar, TB_ISBUTTONENABLED, static_cast<WPARAM>(id), 0) != 0;
    }
    HWND bar = nullptr;
};

TEST_F(ToolbarCommandTest, LabelsSplitAtEverySeparator) {
    EXPECT_EQ(Command(kToolbarId, CC_TB_ADD_STRINGS, StrArg("Open|Save|")), 0);
    EXPECT_EQ(Label(0), "Open");
    EXPECT_EQ(Label(1), "Save");
    EXPECT_EQ(Label(2), "<none>");
    EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 3);
}

TEST_F(ToolbarCommandTest, ALabelListWithoutItsLastSeparatorStillEnds) {
    EXPECT_EQ(Command(kToolbarId, CC_TB_ADD_STRINGS, StrArg("Open|Save|Print")), 0);
    EXPECT_EQ(Label(0), "Open");
    EXPECT_EQ(Label(1), "Save");
    EXPECT_EQ(Label(2), "Print");
    EXPECT_EQ(Label(3), "<none>");
}

TEST_F(ToolbarCommandTest, ButtonSizeIsSetAndReadInHalves) {
    EXPECT_EQ(Command(kToolbarId, CC_TB_SET_BUTTON_SIZE, IntArg(48), IntArg(40)), 0);
    EXPECT_EQ(SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0), MAKELONG(48, 40));
    EXPECT_EQ(Command(kToolbarId, CC_TB_GET_BUTTON_WIDTH), 48);
    EXPECT_EQ(Command(kToolbarId, CC_TB_GET_BUTTON_HEIGHT), 40);
    EXPECT_EQ(Command(kToolbarId, CC_TB_SET_BUTTON_SIZE, IntArg(60), StrArg("50")), 0);
    EXPECT_EQ(Command(kToolbarId, CC_TB_GET_BUTTON_WIDTH), 48);
}

TEST_F(ToolbarCommandTest, BitmapSizeWidensTheButtons) {
    const LRESULT before = SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0);
    EXPECT_EQ(Command(kToolbarId, CC_TB_SET_BITMAP_SIZE, IntArg(40), IntArg(36)), 0);
    const LRESULT after = SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0);
    EXPECT_GT(LOWORD(after), LOWORD(before));
    EXPECT_GE(LOWORD(after), 40);
    EXPECT_GE(HIWORD(after), 36);
}

TEST_F(ToolbarCommandTest, ButtonsAreDisabledAndEnabledByCommandId) {
    EXPECT_EQ(Command(kToolbarId, CC_TB_ENABLE_BUTTON, IntArg(502), IntArg(0)), 0);
    EXPECT_FALSE(Enabled(502));
    EXPECT_TRUE(Enabled(501));
    EXPECT_EQ(Command(kToolbarId, CC_TB_ENABLE_BUTTON, IntArg(502), StrArg("1")), 0);
    EXPECT_FALSE(Enabled(502));
    Command(kToolbarId, CC_TB_ENABLE_BUTTON, IntArg(502), IntArg(1));
    EXPECT_TRUE(Enabled(502));
}

TEST_F(ToolbarCommandTest, StyleTakesTheLowByteAndCheckedStateIsAsked) {
    EXPECT_EQ(Command(kToolbarId, CC_TB_SET_BUTTON_STYLE, IntArg(503), IntArg(0x100 | BTNS_CHECK)), 0);
    EXPECT_EQ(Button(2).fsStyle, BTNS_CHECK);
    EXPECT_EQ(Button(2).idCommand, 503);
    EXPECT_EQ(Button(1).fsStyle, BTNS_BUTTON);
    EXPECT_EQ(Command(kToolbarId, CC_TB_IS_BUTTON_CHECKED, IntArg(503)), 0);
    SendMessageA(bar, TB_CHECKBUTTON, 503, TRUE);
    EXPECT_NE(Command(kToolbarId, CC_TB_IS_BUTTON_CHECKED, IntArg(503)), 0);
    EXPECT_EQ(Command(kToolbarId, CC_TB_IS_BUTTON_CHECKED, DwordArg(501)), 0);
}

TEST_F(ToolbarCommandTest, TooltipTextOfAButtonIsReplaced) {
    HWND tooltip = reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(Command(kToolbarId, CC_TB_SET_TOOLTIP, IntArg(502), StrArg("Save the log")), 0);
    char text[80] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = bar;
    tool.uId = 502;
    tool.lpszText = text;
    SendMessageA(tooltip, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "Save the log");
}

TEST_F(ToolbarCommandTest, AutosizeSpansTheParentsWidth) {
    SetWindowPos(bar, nullptr, 50, 60, 80, 70, SWP_NOZORDER);
    EXPECT_EQ(Command(kToolbarId, CC_TB_AUTOSIZE), 0);
    RECT client{};
    GetClientRect(window.hwnd, &client);
    const RECT area = RectInWindow(bar);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.right - area.left, client.right);
}

TEST_F(ToolbarCommandTest, RefusedRowsAndUnknownCodesSendNothing) {
    EXPECT_EQ(Command(kToolbarId, CC_TB_ADD_STRINGS, IntArg(0)), 0);
    EXPECT_EQ(Command(kToolbarId, CC_TB_ADD_STRINGS, TypedValue(0, TY_STRING)), 0);
    EXPECT_EQ(Label(0), "<none>");
    EXPECT_EQ(Command(kToolbarId, CC_TB_SET_BUTTON_STYLE, TypedValue(503, TY_WORD), IntArg(BTNS_CHECK)), 0);
    EXPECT_EQ(Button(2).fsStyle, BTNS_BUTTON);
    EXPECT_EQ(Command(kToolbarId, 11, IntArg(502), IntArg(0)), 0);
    EXPECT_EQ(Command(kToolbarId, CC_LV_INSERT_ITEM + 100, IntArg(502), IntArg(0)), 0);
    EXPECT_TRUE(Enabled(502));
    EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 3);
}

// The messages a toolbar receives, and the thread's windows, while a
// command runs.
struct BarMessages {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        received.push_back(message);
        return CallWindowProcA(previous, hwnd, message, wParam, lParam);
    }
    static BOOL CALLBACK Count(HWND, LPARAM count) {
        ++*reinterpret_cast<int*>(count);
        return TRUE;
    }
    static int ThreadWindows() {
        int count = 0;
        EnumThreadWindows(GetCurrentThreadId(), Count, reinterpret_cast<LPARAM>(&count));
        return count;
    }
    static inline WNDPROC previous;
    static inline std::vector<UINT> received;
};

TEST(ToolbarWithoutTooltipsTest, SettingATipDoesNothing) {
    ASSERT_EQ(CreateStringHeap(), 1);
    InitCommonControls();
    WindowRecord window{};
    ASSERT_EQ(OpenWindow(&window, 0, 0, 400, 300, RF_HIDDEN, nullptr, "bare", nullptr), 1);
    HWND bar = MakeToolbar(window.hwnd, CCS_TOP);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0), 0);
    PumpMessages();
    const int windowsBefore = BarMessages::ThreadWindows();
    BarMessages::previous = reinterpret_cast<WNDPROC>(
        SetWindowLongA(bar, GWL_WNDPROC, static_cast<LONG>(reinterpret_cast<uintptr_t>(&BarMessages::Proc))));
    BarMessages::received.clear();
    EXPECT_EQ(SendControlCommand(&window, kToolbarId, CC_TB_SET_TOOLTIP, IntArg(501), StrArg("tip")), 0);
    // The bar is asked for its tooltip control and for nothing else, and no
    // tooltip window is made for it.
    EXPECT_EQ(BarMessages::received, (std::vector<UINT>{TB_GETTOOLTIPS}));
    EXPECT_EQ(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0), 0);
    EXPECT_EQ(BarMessages::ThreadWindows(), windowsBefore);
    CloseWindow(&window);
    PumpMessages();
}

class ToolbarRefitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CreateStringHeap(), 1);
        InitCommonControls();
        ASSERT_EQ(OpenWindow(&frame, 20, 20, 640, 480, RF_FRAME, nullptr, "frame", nullptr), 1);
        ASSERT_NE(frame.mdiClient, nullptr);
        bar = MakeToolbar(frame.hwnd, CCS_TOP);
        ASSERT_NE(bar, nullptr);
        PumpMessages();
    }
    void TearDown() override {
        CloseWindow(&frame);
        PumpMessages();
    }
    // Covers the whole client area, as though nothing had re-fitted it.
    void SpreadMdiClient() {
        RECT client{};
        GetClientRect(frame.hwnd, &client);
        MoveWindow(frame.mdiClient, 0, 0, client.right, client.bottom, TRUE);
    }
    int32_t MdiClientTop() const {
        RECT area{};
        GetWindowRect(frame.mdiClient, &area);
        MapWindowPoints(nullptr, frame.hwnd, reinterpret_cast<POINT*>(&area), 2);
        return area.top;
    }
    int32_t BarHeight() const {
        RECT area{};
        GetWindowRect(bar, &area);
        return area.bottom - area.top;
    }
    WindowRecord frame{};
    HWND bar = nullptr;
};

TEST_F(ToolbarRefitTest, AddingLabelsMovesTheMdiClientBelowTheBar) {
    SpreadMdiClient();
    ASSERT_EQ(MdiClientTop(), 0);
    EXPECT_EQ(SendControlCommand(&frame, kToolbarId, CC_TB_ADD_STRINGS, StrArg("One|Two|")), 0);
    EXPECT_GT(BarHeight(), 0);
    EXPECT_EQ(MdiClientTop(), BarHeight());
}

TEST_F(ToolbarRefitTest, ButtonSizeRefitsAndEnablingDoesNot) {
    SpreadMdiClient();
    SendControlCommand(&frame, kToolbarId, CC_TB_ENABLE_BUTTON, IntArg(501), IntArg(0));
    EXPECT_EQ(MdiClientTop(), 0);
    SendControlCommand(&frame, kToolbarId, CC_TB_SET_BUTTON_SIZE, IntArg(30), IntArg(30));
    EXPECT_EQ(MdiClientTop(), BarHeight());
}

TEST_F(ToolbarRefitTest, AutosizeRefitsOnlyForAVerticalBar) {
    SpreadMdiClient();
    SendControlCommand(&frame, kToolbarId, CC_TB_AUTOSIZE);
    EXPECT_EQ(MdiClientTop(), 0);

    DestroyWindow(bar);
    bar = MakeToolbar(frame.hwnd, CCS_TOP | CCS_VERT | CCS_NORESIZE);
    ASSERT_NE(bar, nullptr);
    SetWindowPos(bar, nullptr, 0, 0, 40, 300, SWP_NOZORDER);
    SpreadMdiClient();
    SendControlCommand(&frame, kToolbarId, CC_TB_AUTOSIZE);
    RECT barArea{};
    GetWindowRect(bar, &barArea);
    RECT client{};
    GetWindowRect(frame.mdiClient, &client);
    EXPECT_EQ(client.left, barArea.right);
    EXPECT_EQ(MdiClientTop(), 0);
}

TEST_F(ToolbarCommandTest, AddedButtonsComeLastWithTheirIdImageStyleAndLabel) {
    Command(kToolbarId, CC_TB_ADD_STRINGS, StrArg("Open|Save|"));
    EXPECT_EQ(Command(kToolbarId, CC_TB_ADD_BUTTON, IntArg(601), IntArg(I_IMAGENONE)), 1);
    EXPECT_EQ(Command(kToolbarId, CC_TB_ADD_BUTTON, IntArg(602), IntArg(I_IMAGENONE), IntArg(BTNS_CHECK), IntArg(1)), 1);
    EXPECT_EQ(Command(kToolbarId, CC_TB_ADD_BUTTON, StrArg("603"), IntArg(I_IMAGENONE)), 0);
    EXPECT_EQ(Command(kToolbarId, CC_TB_ADD_BUTTON, IntArg(603), IntArg(I_IMAGENONE), StrArg("check")), 0);
    ASSERT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 5);
    const TBBUTTON plain = Button(3);
    EXPECT_EQ(plain.idCommand, 601);
    EXPECT_EQ(plain.iBitmap, I_IMAGENONE);
    EXPECT_EQ(plain.fsStyle, BTNS_BUTTON);
    EXPECT_TRUE(Enabled(601));
    const TBBUTTON check = Button(4);
    EXPECT_EQ(check.idCommand, 602);
    EXPECT_EQ(check.fsStyle, BTNS_CHECK);
    EXPECT_EQ(check.iString, 1);
}

}  // namespace

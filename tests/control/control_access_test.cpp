#include <string>
#include <vector>

#include "tests/control/control_fixture.h"

namespace {

COLORREF PropColor(HWND control, const char* name) {
    return static_cast<COLORREF>(reinterpret_cast<uintptr_t>(GetPropA(control, name)));
}

COLORREF BrushColor(HANDLE brush) {
    LOGBRUSH lb{};
    GetObjectA(brush, sizeof(lb), &lb);
    return lb.lbColor;
}

TEST_F(ControlTest, ControlTextIsANewStringOfTheWholeText) {
    const std::string long_text(300, 'k');
    ASSERT_NE(MadeControl(&window, CT_EDIT, long_text.c_str(), 0, 0, 100, 25, ES_AUTOHSCROLL, 103), nullptr);
    char* text = GetControlText(&window, 103);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text), long_text);
    EXPECT_EQ(FreeString(text), 1);

    EXPECT_EQ(SetControlText(&window, 103, "10.0.0.1"), 0);
    text = GetControlText(&window, 103);
    EXPECT_STREQ(text, "10.0.0.1");
    FreeString(text);
    EXPECT_EQ(SetControlText(&window, 999, "x"), 0);
}

TEST_F(ControlTest, ControlTextOfNothingIsAnEmptyStringNeverNull) {
    char* missing = GetControlText(&window, 999);
    ASSERT_NE(missing, nullptr);
    EXPECT_STREQ(missing, "");
    EXPECT_EQ(FreeString(missing), 1);

    // A window closed after its controls were made.
    ASSERT_NE(MadeControl(&window, CT_EDIT, "gone", 0, 0, 100, 25, 0, 103), nullptr);
    CloseWindow(&window);
    char* gone = GetControlText(&window, 103);
    ASSERT_NE(gone, nullptr);
    EXPECT_STREQ(gone, "");
    FreeString(gone);
}

// What FreeString cannot take must never be handed out: with the heap full
// the text is null, and one block freed is enough for an empty one.
TEST_F(ControlTest, ControlTextFromAFullHeapIsNullOrAHeapBlock) {
    ASSERT_NE(MadeControl(&window, CT_EDIT, "10.0.0.1", 0, 0, 100, 25, 0, 103), nullptr);
    std::vector<char*> blocks;
    for (int32_t size = 4096; size > 0; size /= 2)
        while (char* block = AllocString(size))
            blocks.push_back(block);
    ASSERT_FALSE(blocks.empty());
    EXPECT_EQ(GetControlText(&window, 103), nullptr);
    EXPECT_EQ(GetControlText(&window, 999), nullptr);

    EXPECT_EQ(FreeString(blocks.front()), 1);
    blocks.erase(blocks.begin());
    char* empty = GetControlText(&window, 999);
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty, "");
    EXPECT_EQ(FreeString(empty), 1);
    for (char* block : blocks)
        FreeString(block);
    char* text = GetControlText(&window, 103);
    EXPECT_STREQ(text, "10.0.0.1");
    EXPECT_EQ(FreeString(text), 1);
}

TEST_F(ControlTest, CheckStateOnlyForButtonClassControls) {
    ASSERT_NE(MadeControl(&window, CT_CHECKBOX, "Failure message", 10, 80, 150, 25, WS_TABSTOP, 109), nullptr);
    ASSERT_NE(MadeControl(&window, CT_EDIT, "", 110, 10, 200, 25, WS_TABSTOP, 103), nullptr);
    ASSERT_NE(MadeControl(&window, CT_PUSHBUTTON, "ok", 10, 120, 60, 25, 0, 105), nullptr);
    EXPECT_EQ(GetCheckState(&window, 109), 0);
    SendMessageA(Control(109), BM_CLICK, 0, 0);   // an automatic check box toggles itself
    EXPECT_EQ(GetCheckState(&window, 109), 1);
    SendMessageA(Control(109), BM_CLICK, 0, 0);
    EXPECT_EQ(GetCheckState(&window, 109), 0);
    EXPECT_EQ(GetCheckState(&window, 103), -1);
    EXPECT_EQ(GetCheckState(&window, 999), -1);
    EXPECT_EQ(GetCheckState(&window, 105), 0);
    WindowRecord closed{};
    EXPECT_EQ(GetCheckState(&closed, 109), -1);
}

TEST_F(ControlTest, TwoColourChangesLeaveExactlyOneBrush) {
    ASSERT_NE(MadeControl(&window, CT_LABEL, "Ip Address", 10, 10, 100, 25, 0, 101), nullptr);
    HWND label = Control(101);
    HANDLE original = GetPropA(label, "BBRUSH");
    EXPECT_EQ(SetControlColors(&window, 101, RGB(255, 0, 0), RGB(0, 0, 255)), 0);
    HANDLE second = GetPropA(label, "BBRUSH");
    EXPECT_EQ(SetControlColors(&window, 101, RGB(0, 0, 0), RGB(255, 255, 255)), 0);
    HANDLE third = GetPropA(label, "BBRUSH");

    EXPECT_EQ(GetObjectType(original), 0u);
    EXPECT_EQ(GetObjectType(second), 0u);
    ASSERT_EQ(GetObjectType(third), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(BrushColor(third), RGB(255, 255, 255));
    EXPECT_EQ(PropColor(label, "FGRND"), RGB(0, 0, 0));
    EXPECT_EQ(PropColor(label, "BGRND"), RGB(255, 255, 255));
    EXPECT_EQ(SetControlColors(&window, 999, 0, 0), 0);
}

TEST_F(ControlTest, TheControlAnswersInTheColoursSetOnIt) {
    ASSERT_NE(MadeControl(&window, CT_CHECKBOX, "check", 0, 0, 100, 25, 0, 109), nullptr);
    SetControlColors(&window, 109, RGB(255, 0, 0), RGB(255, 255, 255));
    HDC dc = CreateCompatibleDC(nullptr);
    const auto brush = reinterpret_cast<HANDLE>(SendMessageA(
        window.hwnd, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Control(109))));
    EXPECT_EQ(brush, GetPropA(Control(109), "BBRUSH"));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    DeleteDC(dc);
}

TEST_F(ControlTest, TwoHotColourChangesLeaveExactlyOneHotBrush) {
    ASSERT_NE(MadeControl(&window, CT_HOTBUTTON, "hot", 0, 0, 60, 25, 0, 110), nullptr);
    HWND button = Control(110);
    EXPECT_EQ(SetHotColor(&window, 110, RGB(0, 128, 0)), 0);
    HANDLE first = GetPropA(button, "HBRUSH");
    ASSERT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(SetHotColor(&window, 110, RGB(0, 0, 128)), 0);
    HANDLE second = GetPropA(button, "HBRUSH");
    EXPECT_EQ(GetObjectType(first), 0u);
    ASSERT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(BrushColor(second), RGB(0, 0, 128));
    EXPECT_EQ(PropColor(button, "HTCLR"), RGB(0, 0, 128));
    EXPECT_EQ(SetHotColor(&window, 999, 0), 0);
}

TEST_F(ControlTest, FocusGoesToTheControlOrToTheWindowItself) {
    ASSERT_NE(MadeControl(&window, CT_EDIT, "", 110, 10, 200, 25, WS_TABSTOP, 103), nullptr);
    ASSERT_NE(MadeControl(&window, CT_EDIT, "", 110, 45, 40, 25, WS_TABSTOP, 104), nullptr);
    ShowWindow(window.hwnd, SW_SHOW);
    SetForegroundWindow(window.hwnd);
    PumpMessages();

    EXPECT_EQ(FocusControl(&window, 104), 0);
    EXPECT_EQ(GetFocus(), Control(104));
    EXPECT_EQ(FocusControl(&window, 103), 0);
    EXPECT_EQ(GetFocus(), Control(103));
    EXPECT_EQ(FocusControl(&window, 999), 0);
    EXPECT_EQ(GetFocus(), Control(103));
    EXPECT_EQ(FocusControl(&window, 0), 0);
    EXPECT_EQ(GetFocus(), window.hwnd);
    WindowRecord closed{};
    EXPECT_EQ(FocusControl(&closed, 0), 0);
}

TEST_F(ControlTest, MoveControlPlacesAControlInTheClientAreaOrTheWindowItself) {
    ASSERT_NE(MadeControl(&window, CT_EDIT, "", 0, 0, 100, 25, 0, 103), nullptr);
    HWND edit = GetDlgItem(window.hwnd, 103);
    EXPECT_EQ(MoveControl(&window, 103, 12, 34, 150, 40), 1);
    RECT area{};
    GetWindowRect(edit, &area);
    MapWindowPoints(nullptr, window.hwnd, reinterpret_cast<POINT*>(&area), 2);
    EXPECT_EQ(area.left, 12);
    EXPECT_EQ(area.top, 34);
    EXPECT_EQ(area.right - area.left, 150);
    EXPECT_EQ(area.bottom - area.top, 40);

    EXPECT_EQ(MoveControl(&window, 0, 20, 30, 333, 222), 1);
    GetWindowRect(window.hwnd, &area);
    EXPECT_EQ(area.right - area.left, 333);
    EXPECT_EQ(area.bottom - area.top, 222);

    EXPECT_EQ(MoveControl(&window, 999, 0, 0, 10, 10), 0);
    WindowRecord closed{};
    EXPECT_EQ(MoveControl(&closed, 103, 0, 0, 10, 10), 0);
}

}  // namespace

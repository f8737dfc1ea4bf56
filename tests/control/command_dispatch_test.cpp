// Choosing the table from the control's class, and everything the
// dispatcher refuses before a table is consulted.

#include "tests/control/command_fixture.h"

namespace {

constexpr int32_t kControlId = 801;

class CommandDispatchTest : public ControlCommandTest {};

TEST_F(CommandDispatchTest, ButtonsLabelsAndListBoxesGetNoCommands) {
    HWND button = Make("BUTTON", BS_PUSHBUTTON, kControlId, 0, "Start");
    HWND label = Make("STATIC", SS_LEFT, kControlId + 1, 0, "Interval");
    HWND listBox = Make("LISTBOX", LBS_HASSTRINGS, kControlId + 2);
    ASSERT_TRUE(button && label && listBox);
    SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("entry"));

    EXPECT_EQ(Command(kControlId, CC_ED_REPLACE_SEL, StrArg("more")), 0);
    EXPECT_EQ(Command(kControlId, CC_ED_GET_TEXT_LENGTH), 0);
    EXPECT_EQ(Command(kControlId + 1, CC_ED_SET_SEL, IntArg(0), IntArg(-1)), 0);
    EXPECT_EQ(Command(kControlId + 1, CC_ED_REPLACE_SEL, StrArg("more")), 0);
    EXPECT_EQ(Command(kControlId + 2, CC_LV_DELETE_ALL_ITEMS), 0);
    EXPECT_EQ(Command(kControlId + 2, CC_LV_GET_ITEM_COUNT), 0);

    EXPECT_EQ(TextOf(button), "Start");
    EXPECT_EQ(TextOf(label), "Interval");
    EXPECT_EQ(SendMessageA(listBox, LB_GETCOUNT, 0, 0), 1);
}

TEST_F(CommandDispatchTest, LongerRichEditClassNamesDoNotMatch) {
    ASSERT_NE(LoadLibraryA("riched20.dll"), nullptr);
    HWND rich = Make("RichEdit20A", ES_MULTILINE, kControlId, 0, "text");
    ASSERT_NE(rich, nullptr);
    EXPECT_EQ(Command(kControlId, CC_ED_GET_TEXT_LENGTH), 0);
    EXPECT_EQ(Command(kControlId, CC_ED_REPLACE_SEL, StrArg("more")), 0);
    EXPECT_EQ(TextOf(rich), "text");
}

TEST_F(CommandDispatchTest, OneNumberMeansWhatTheClassSays) {
    HWND edit = Make("EDIT", ES_MULTILINE, kControlId, 0, "abcdef");
    HWND list = Make(WC_LISTVIEWA, LVS_REPORT, kControlId + 1);
    ASSERT_TRUE(edit && list);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char*>("row");
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    // 16: the edit's selection, the list view's item count.
    int32_t start = -1;
    int32_t end = -1;
    SendMessageA(edit, EM_SETSEL, 1, 4);
    EXPECT_EQ(Command(kControlId, 16, RefArg(&start), RefArg(&end)), MAKELONG(1, 4));
    EXPECT_EQ(Command(kControlId + 1, 16, RefArg(&start), RefArg(&end)), 1);
}

TEST_F(CommandDispatchTest, AMissingControlOrWindowGivesZero) {
    HWND edit = Make("EDIT", 0, kControlId, 0, "abc");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(Command(kControlId, CC_ED_GET_TEXT_LENGTH), 3);
    EXPECT_EQ(Command(kControlId + 50, CC_ED_GET_TEXT_LENGTH), 0);

    WindowRecord closed{};
    EXPECT_EQ(SendControlCommand(&closed, kControlId, CC_ED_GET_TEXT_LENGTH), 0);
    EXPECT_EQ(SendControlCommand(nullptr, kControlId, CC_ED_GET_TEXT_LENGTH), 0);
    EXPECT_EQ(SendControlCommand(&closed, kControlId, CC_ED_REPLACE_SEL, StrArg("x")), 0);
    EXPECT_EQ(TextOf(edit), "abc");
}

TEST(CommandDispatchWithoutHeapTest, TheClassIsStillRecognised) {
    InitCommonControls();
    WindowRecord window{};
    ASSERT_EQ(OpenWindow(&window, 0, 0, 300, 200, RF_HIDDEN, nullptr, "no heap", nullptr), 1);
    HWND edit = CreateWindowExA(0, "EDIT", "abcd", WS_CHILD, 0, 0, 100, 20, window.hwnd,
                                reinterpret_cast<HMENU>(static_cast<uintptr_t>(kControlId)),
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(SendControlCommand(&window, kControlId, CC_ED_GET_TEXT_LENGTH), 4);
    CloseWindow(&window);
    PumpMessages();
}

}  // namespace

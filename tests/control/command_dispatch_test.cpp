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
    EXPECT_EQ(Command(kControlId + 1, 16), 1);
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

// Each call either runs its row or is refused with the reason; a refused
// call leaves the controls as they were, whatever its arguments.
TEST_F(CommandDispatchTest, RefusalsAreToldApartFromResultsOfZero) {
    HWND edit = Make("EDIT", ES_MULTILINE, kControlId, 0, "one\r\ntwo");
    HWND list = Make(WC_LISTVIEWA, LVS_REPORT, kControlId + 1);
    HWND bar = Make(STATUSCLASSNAMEA, 0, kControlId + 2);
    HWND button = Make("BUTTON", BS_PUSHBUTTON, kControlId + 3, 0, "Start");
    ASSERT_TRUE(edit && list && bar && button);
    SendMessageA(edit, EM_SETSEL, 1, 2);
    SendMessageA(bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("ready"));
    char line[256] = "";
    int32_t start = -1;
    int32_t end = -1;
    // Arguments not written are left out (a zero TypedArg is a string).
    const auto args = [](TypedArg a = NoArg, TypedArg b = NoArg, TypedArg c = NoArg, TypedArg d = NoArg) {
        return std::array<TypedArg, 4>{a, b, c, d};
    };
    struct Case {
        int32_t id;
        int32_t command;
        std::array<TypedArg, 4> args;
        int32_t result;
        int32_t refusal;
    };
    const Case cases[] = {
        // Row 0 of a list view: a result of 0 that is no refusal.
        {kControlId + 1, CC_LV_INSERT_ITEM, args(IntArg(0), StrArg("first")), 0, CR_NONE},
        {kControlId + 1, CC_LV_GET_ITEM_COUNT, args(), 1, CR_NONE},
        // Surplus arguments, on every class.
        {kControlId + 1, CC_LV_DELETE_ALL_ITEMS, args(IntArg(1)), 0, CR_BAD_ARGUMENT},
        {kControlId + 1, CC_LV_SET_COLUMN_WIDTH, args(IntArg(0), IntArg(90), IntArg(5)), 0, CR_BAD_ARGUMENT},
        {kControlId, CC_ED_GET_TEXT_LENGTH, args(NoArg, NoArg, NoArg, StrArg("x")), 0, CR_BAD_ARGUMENT},
        {kControlId, CC_ED_REPLACE_SEL, args(StrArg("X"), StrArg("Y")), 0, CR_BAD_ARGUMENT},
        {kControlId + 2, CC_SB_SET_TEXT, args(IntArg(0), StrArg("busy"), IntArg(0)), 0, CR_BAD_ARGUMENT},
        // Wrong types, and an optional argument of the wrong type.
        {kControlId, CC_ED_SET_SEL, args(StrArg("0"), IntArg(1)), 0, CR_BAD_ARGUMENT},
        {kControlId, CC_ED_GET_LINE, args(IntArg(0), StrArg(line), StrArg("3")), 0, CR_BAD_ARGUMENT},
        {kControlId, CC_ED_GET_SEL, args(IntArg(0), IntArg(0)), 0, CR_BAD_ARGUMENT},
        // What is refused before the arguments are looked at.
        {kControlId, 30, args(), 0, CR_UNKNOWN_CODE},
        {kControlId + 3, CC_ED_GET_TEXT_LENGTH, args(), 0, CR_NO_TABLE},
        {kControlId + 50, CC_ED_GET_TEXT_LENGTH, args(), 0, CR_NO_CONTROL},
        // Accepted forms: an optional argument left out, references.
        {kControlId, CC_ED_GET_LINE, args(IntArg(1), StrArg(line)), 0, CR_NONE},
        {kControlId, CC_ED_GET_SEL, args(IntRefArg(&start), IntRefArg(&end)), MAKELONG(1, 2), CR_NONE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "control " << c.id << ", code " << c.command);
        EXPECT_EQ(Command(c.id, c.command, c.args[0], c.args[1], c.args[2], c.args[3]), c.result);
        EXPECT_EQ(CommandRefusal(), c.refusal);
    }
    EXPECT_EQ(TextOf(edit), "one\r\ntwo");
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0), 0);
    char barText[16] = "";
    SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(barText));
    EXPECT_STREQ(barText, "ready");
    EXPECT_STREQ(line, "two");
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 2);
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

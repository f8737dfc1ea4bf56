// The edit command table against a real plain edit control and a real rich
// edit control of the runtime's rich edit class.

#include "tests/control/command_fixture.h"

#include <richedit.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int32_t kEditId = 401;
constexpr int32_t kRichId = 402;

class EditCommandTest : public ControlCommandTest {
protected:
    void SetUp() override {
        ControlCommandTest::SetUp();
        edit = Make("EDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL, kEditId,
                    WS_EX_CLIENTEDGE);
        ASSERT_NE(edit, nullptr);
    }
    void SetText(HWND control, const char* text) {
        SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    void Select(HWND control, int32_t start, int32_t end) {
        SendMessageA(control, EM_SETSEL, static_cast<WPARAM>(start), end);
    }
    static std::pair<DWORD, DWORD> Selection(HWND control) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    HWND edit = nullptr;
};

class RichEditCommandTest : public EditCommandTest {
protected:
    void SetUp() override {
        EditCommandTest::SetUp();
        rich = MakeRichEdit(kRichId);
        ASSERT_NE(rich, nullptr);
    }
    CHARFORMATA Format(WPARAM which) const {
        CHARFORMATA format{};
        format.cbSize = sizeof(format);
        SendMessageA(rich, EM_GETCHARFORMAT, which, reinterpret_cast<LPARAM>(&format));
        return format;
    }
    HWND rich = nullptr;
};

void PutTextOnClipboard(HWND owner, const char* text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    const size_t size = std::strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), text, size);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

TEST_F(EditCommandTest, SelectionIsSetAndReadIntoTheCallersVariables) {
    SetText(edit, "hello world");
    Command(kEditId, CC_ED_SET_SEL, IntArg(2), IntArg(7));
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{2, 7}));
    int32_t start = -1;
    int32_t end = -1;
    EXPECT_EQ(Command(kEditId, CC_ED_GET_SEL, RefArg(&start), RefArg(&end)), MAKELONG(2, 7));
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 7);
}

TEST_F(EditCommandTest, GetSelWithoutReferencesSendsNothing) {
    SetText(edit, "hello world");
    Select(edit, 2, 7);
    int32_t start = -1;
    int32_t end = -1;
    EXPECT_EQ(Command(kEditId, CC_ED_GET_SEL, IntArg(start), IntArg(end)), 0);
    EXPECT_EQ(Command(kEditId, CC_ED_GET_SEL, RefArg(&start), IntArg(end)), 0);
    EXPECT_EQ(Command(kEditId, CC_ED_GET_SEL, TypedValue(0, TY_INTEGER | TY_BYREF), RefArg(&end)), 0);
    EXPECT_EQ(start, -1);
    EXPECT_EQ(end, -1);
}

TEST_F(EditCommandTest, LinesAreCountedIndexedAndMeasured) {
    SetText(edit, "ab\r\ncde\r\nf");
    EXPECT_EQ(Command(kEditId, CC_ED_GET_LINE_COUNT), 3);
    EXPECT_EQ(Command(kEditId, CC_ED_GET_TEXT_LENGTH), 10);
    EXPECT_EQ(Command(kEditId, CC_ED_LINE_INDEX, IntArg(1)), 4);
    EXPECT_EQ(Command(kEditId, CC_ED_LINE_INDEX, IntArg(2)), 9);
    EXPECT_EQ(Command(kEditId, CC_ED_LINE_FROM_CHAR, IntArg(5)), 1);
    EXPECT_EQ(Command(kEditId, CC_ED_LINE_LENGTH, IntArg(4)), 3);
}

TEST_F(EditCommandTest, CodeThirtyIsNotTheLineIndex) {
    SetText(edit, "ab\r\ncde\r\nf");
    Select(edit, 1, 2);
    EXPECT_EQ(Command(kEditId, 30, IntArg(2)), 0);
    EXPECT_EQ(Command(kEditId, 39), 0);
    EXPECT_EQ(Command(kEditId, 186, IntArg(2)), 0);
    EXPECT_EQ(TextOf(edit), "ab\r\ncde\r\nf");
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{1, 2}));
}

TEST_F(EditCommandTest, GetLineLeavesTheLineZeroTerminated) {
    SetText(edit, "alpha\r\n\r\ngamma");
    std::vector<char> buffer(70000, 'x');
    EXPECT_EQ(Command(kEditId, CC_ED_GET_LINE, IntArg(0), StrArg(buffer.data())), 0);
    EXPECT_STREQ(buffer.data(), "alpha");
    EXPECT_EQ(Command(kEditId, CC_ED_GET_LINE, IntArg(1), StrArg(buffer.data())), 0);
    EXPECT_STREQ(buffer.data(), "");
    Command(kEditId, CC_ED_GET_LINE, IntArg(2), StrArg(buffer.data()), IntArg(3));
    EXPECT_STREQ(buffer.data(), "gam");
    // More than the 16-bit capacity word holds: the whole line still comes.
    Command(kEditId, CC_ED_GET_LINE, IntArg(0), StrArg(buffer.data()), IntArg(65536));
    EXPECT_STREQ(buffer.data(), "alpha");
}

TEST_F(EditCommandTest, GetLineWithTheDefaultCapacityStopsAt254) {
    SetText(edit, std::string(300, 'q').c_str());
    std::vector<char> buffer(400, 'x');
    Command(kEditId, CC_ED_GET_LINE, IntArg(0), StrArg(buffer.data()));
    EXPECT_EQ(std::strlen(buffer.data()), 254u);
}

TEST_F(EditCommandTest, GetLineWithoutRoomWritesOnlyTheTerminator) {
    SetText(edit, "alpha");
    char buffer[4] = {'x', 'x', 'x', 'x'};
    Command(kEditId, CC_ED_GET_LINE, IntArg(0), StrArg(buffer), IntArg(0));
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], 'x');
}

TEST_F(EditCommandTest, LimitModifyAndScroll) {
    Command(kEditId, CC_ED_LIMIT_TEXT, IntArg(12));
    EXPECT_EQ(Command(kEditId, CC_ED_GET_LIMIT_TEXT), 12);
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 12);

    Command(kEditId, CC_ED_SET_MODIFY, IntArg(1));
    EXPECT_NE(SendMessageA(edit, EM_GETMODIFY, 0, 0), 0);
    EXPECT_NE(Command(kEditId, CC_ED_GET_MODIFY), 0);
    Command(kEditId, CC_ED_SET_MODIFY, IntArg(0));
    EXPECT_EQ(Command(kEditId, CC_ED_GET_MODIFY), 0);

    Command(kEditId, CC_ED_LIMIT_TEXT, IntArg(0));
    std::string lines;
    for (int i = 0; i < 40; ++i)
        lines += "line\r\n";
    SetText(edit, lines.c_str());
    EXPECT_EQ(Command(kEditId, CC_ED_GET_FIRST_VISIBLE_LINE), 0);
    Command(kEditId, CC_ED_LINE_SCROLL, IntArg(0), IntArg(5));
    EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 5);
    EXPECT_EQ(Command(kEditId, CC_ED_GET_FIRST_VISIBLE_LINE), 5);
}

TEST_F(EditCommandTest, MarginsTakeLeftFromTheLowWordAndRightFromTheHigh) {
    EXPECT_EQ(Command(kEditId, CC_ED_SET_MARGINS, IntArg(5), IntArg(9)), 0);
    EXPECT_EQ(SendMessageA(edit, EM_GETMARGINS, 0, 0), MAKELONG(5, 9));
}

TEST_F(EditCommandTest, ClipboardRows) {
    SetText(edit, "hello world");
    Select(edit, 0, 5);
    Command(kEditId, CC_ED_COPY);
    Select(edit, 11, 11);
    Command(kEditId, CC_ED_PASTE);
    EXPECT_EQ(TextOf(edit), "hello worldhello");
    Select(edit, 0, 6);
    Command(kEditId, CC_ED_CUT);
    EXPECT_EQ(TextOf(edit), "worldhello");
    Select(edit, 10, 10);
    Command(kEditId, CC_ED_PASTE);
    EXPECT_EQ(TextOf(edit), "worldhellohello ");
    Select(edit, 0, 5);
    Command(kEditId, CC_ED_CLEAR);
    EXPECT_EQ(TextOf(edit), "hellohello ");
}

TEST_F(EditCommandTest, UndoRows) {
    SetText(edit, "hello world");
    Command(kEditId, CC_ED_EMPTY_UNDO);
    EXPECT_EQ(Command(kEditId, CC_ED_CAN_UNDO), 0);
    Select(edit, 0, 5);
    Command(kEditId, CC_ED_REPLACE_SEL, StrArg("HELLO"));
    EXPECT_EQ(TextOf(edit), "HELLO world");
    EXPECT_NE(Command(kEditId, CC_ED_CAN_UNDO), 0);
    EXPECT_NE(Command(kEditId, CC_ED_UNDO), 0);
    EXPECT_EQ(TextOf(edit), "hello world");
    Command(kEditId, CC_ED_EMPTY_UNDO);
    EXPECT_EQ(Command(kEditId, CC_ED_CAN_UNDO), 0);
}

TEST_F(EditCommandTest, RichEditOnlyMessagesPassThePlainEditsAnswerBack) {
    SetText(edit, "plain text");
    Select(edit, 0, 5);
    char* buffer = CopyString(AllocString(32), "untouched");
    EXPECT_EQ(Command(kEditId, CC_ED_GET_SEL_TEXT, StrArg(buffer)), 0);
    EXPECT_STREQ(buffer, "untouched");
    FreeString(buffer);
    EXPECT_EQ(Command(kEditId, CC_ED_FIND_TEXT, StrArg("text"), IntArg(0), IntArg(1)), 0);
    EXPECT_EQ(TextOf(edit), "plain text");
}

TEST_F(RichEditCommandTest, FindTextMatchesCaseOnlyWhenAsked) {
    SetText(rich, "Alpha beta ALPHA");
    EXPECT_EQ(Command(kRichId, CC_ED_FIND_TEXT, StrArg("alpha"), IntArg(0), IntArg(0)), -1);
    EXPECT_EQ(Command(kRichId, CC_ED_FIND_TEXT, StrArg("ALPHA"), IntArg(0), IntArg(0)), 11);
    EXPECT_EQ(Command(kRichId, CC_ED_FIND_TEXT, StrArg("alpha"), IntArg(0), IntArg(1)), 0);
    EXPECT_EQ(Command(kRichId, CC_ED_FIND_TEXT, StrArg("alpha"), IntArg(1), IntArg(1)), 11);
    EXPECT_EQ(Command(kRichId, CC_ED_FIND_TEXT, StrArg("alpha"), IntArg(0), StrArg("1")), 0);
}

TEST_F(RichEditCommandTest, SelectedTextIsCopiedIntoTheBuffer) {
    SetText(rich, "Alpha beta ALPHA");
    Select(rich, 6, 10);
    char* buffer = AllocString(32);
    EXPECT_EQ(Command(kRichId, CC_ED_GET_SEL_TEXT, StrArg(buffer)), 4);
    EXPECT_STREQ(buffer, "beta");
    FreeString(buffer);
}

// Commands filling a string-heap string stop at its block; a string of
// unknown size is refused where the control copies without a bound.
TEST_F(RichEditCommandTest, CommandsFillingAStringStayInsideItsBlock) {
    constexpr int32_t kListId = 403;
    ASSERT_NE(Make(WC_LISTVIEWA, LVS_REPORT, kListId), nullptr);
    std::string text;
    while (text.size() < 300)
        text += "0123456789";
    SetText(rich, text.c_str());
    SetText(edit, text.c_str());
    Select(rich, 0, -1);
    Command(kListId, CC_LV_INSERT_COLUMN, IntArg(0), StrArg(text.c_str()));
    Command(kListId, CC_LV_INSERT_ITEM, IntArg(0), StrArg(text.c_str()));
    const struct {
        std::function<int32_t(TypedArg)> fill;
        int32_t result;
    } rows[] = {
        {[&](TypedArg s) { return Command(kRichId, CC_ED_GET_SEL_TEXT, s); }, 12},
        {[&](TypedArg s) { return Command(kEditId, CC_ED_GET_LINE, IntArg(0), s, IntArg(1000)); }, 0},
        {[&](TypedArg s) { return Command(kEditId, CC_ED_GET_LINE, IntArg(0), s); }, 0},
        {[&](TypedArg s) { return Command(kListId, CC_LV_GET_ITEM_TEXT, IntArg(0), IntArg(0), s); }, 12},
        {[&](TypedArg s) { return Command(kListId, CC_LV_GET_COLUMN, IntArg(0), s); }, 1},
    };
    for (const auto& row : rows) {
        const GuardedHeapString string(10);
        EXPECT_EQ(row.fill(StrArg(string.text)), row.result) << "row " << &row - rows;
        EXPECT_STREQ(string.text, "012345678901");
        EXPECT_TRUE(string.Intact());
    }
    std::vector<char> unknown(400, 'x');
    EXPECT_EQ(Command(kRichId, CC_ED_GET_SEL_TEXT, StrArg(unknown.data())), 0);
    EXPECT_EQ(std::count(unknown.begin(), unknown.end(), 'x'), 400);
}

TEST_F(RichEditCommandTest, EventMaskAnswersThePreviousMask) {
    EXPECT_EQ(Command(kRichId, CC_ED_SET_EVENT_MASK, IntArg(ENM_CHANGE)), 0);
    EXPECT_EQ(Command(kRichId, CC_ED_SET_EVENT_MASK, DwordArg(ENM_SELCHANGE)), ENM_CHANGE);
    EXPECT_EQ(Command(kRichId, CC_ED_GET_EVENT_MASK), ENM_SELCHANGE);
    EXPECT_EQ(SendMessageA(rich, EM_GETEVENTMASK, 0, 0), ENM_SELCHANGE);
}

TEST_F(RichEditCommandTest, DefaultFontTakesFacePointsBoldStyleAndCharacterSet) {
    EXPECT_EQ(Command(kRichId, CC_ED_SET_DEFAULT_FONT, StrArg("Courier New"), IntArg(12), IntArg(1),
                      IntArg(0x00EE0011)),
              0);
    const CHARFORMATA format = Format(SCF_DEFAULT);
    EXPECT_STREQ(format.szFaceName, "Courier New");
    EXPECT_EQ(format.yHeight, 240);
    EXPECT_EQ(format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT),
              static_cast<DWORD>(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE));
    EXPECT_EQ(format.bCharSet, 0xEE);
}

TEST_F(RichEditCommandTest, SelectionFontChangesOnlyTheSelection) {
    SetText(rich, "one two");
    Select(rich, 4, 7);
    EXPECT_EQ(Command(kRichId, CC_ED_SET_SEL_FONT, StrArg("Arial"), IntArg(20), IntArg(0), IntArg(0x20)), 0);
    CHARFORMATA format = Format(SCF_SELECTION);
    EXPECT_STREQ(format.szFaceName, "Arial");
    EXPECT_EQ(format.yHeight, 400);
    EXPECT_EQ(format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT),
              static_cast<DWORD>(CFE_STRIKEOUT));
    Select(rich, 0, 3);
    format = Format(SCF_SELECTION);
    EXPECT_EQ(format.dwEffects & CFE_STRIKEOUT, 0u);
    EXPECT_NE(format.yHeight, 400);
}

TEST_F(RichEditCommandTest, AFaceNameLongerThanTheFieldIsCut) {
    const std::string face(40, 'F');
    SetText(rich, "text");
    Select(rich, 0, 4);
    Command(kRichId, CC_ED_SET_SEL_FONT, StrArg(face.c_str()), IntArg(10), IntArg(0), IntArg(0));
    EXPECT_EQ(std::string(Format(SCF_SELECTION).szFaceName), face.substr(0, 31));
}

TEST_F(RichEditCommandTest, FontRowsRefuseWrongTypes) {
    const CHARFORMATA before = Format(SCF_DEFAULT);
    Command(kRichId, CC_ED_SET_DEFAULT_FONT, StrArg("Arial"), StrArg("30"), IntArg(1), IntArg(0));
    Command(kRichId, CC_ED_SET_DEFAULT_FONT, IntArg(0), IntArg(30), IntArg(1), IntArg(0));
    Command(kRichId, CC_ED_SET_DEFAULT_FONT, StrArg("Arial"), IntArg(30), IntArg(1), NoArg);
    const CHARFORMATA after = Format(SCF_DEFAULT);
    EXPECT_EQ(after.yHeight, before.yHeight);
    EXPECT_STREQ(after.szFaceName, before.szFaceName);
    EXPECT_EQ(after.dwEffects & CFE_BOLD, before.dwEffects & CFE_BOLD);
}

TEST_F(RichEditCommandTest, DefaultColourSwitchesAutomaticColourOff) {
    EXPECT_NE(Command(kRichId, CC_ED_SET_DEFAULT_COLOR, IntArg(0x00336699)), 0);
    const CHARFORMATA format = Format(SCF_DEFAULT);
    EXPECT_EQ(format.dwEffects & CFE_AUTOCOLOR, 0u);
    EXPECT_EQ(format.crTextColor, 0x00336699u);
}

TEST_F(RichEditCommandTest, AlignmentAndOffset) {
    SetText(rich, "centred");
    Select(rich, 0, 7);
    EXPECT_NE(Command(kRichId, CC_ED_SET_ALIGNMENT, IntArg(0x10000 | PFA_CENTER)), 0);
    PARAFORMAT paragraph{};
    paragraph.cbSize = sizeof(paragraph);
    SendMessageA(rich, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    EXPECT_EQ(paragraph.wAlignment, PFA_CENTER);

    Select(rich, 0, 3);
    EXPECT_NE(Command(kRichId, CC_ED_SET_SEL_OFFSET, IntArg(60)), 0);
    EXPECT_EQ(Format(SCF_SELECTION).yOffset, 60);
    Select(rich, 4, 7);
    EXPECT_EQ(Format(SCF_SELECTION).yOffset, 0);
}

TEST_F(RichEditCommandTest, WrapAtTheEdgeNotAtAllOrAtALineWidth) {
    SetWindowPos(rich, nullptr, 0, 0, 200, 200, SWP_NOMOVE | SWP_NOZORDER);
    std::string words;
    for (int i = 0; i < 40; ++i)
        words += "word ";
    SetText(rich, words.c_str());
    EXPECT_EQ(Command(kRichId, CC_ED_SET_WRAP, IntArg(1)), 0);
    EXPECT_EQ(SendMessageA(rich, EM_GETLINECOUNT, 0, 0), 1);
    Command(kRichId, CC_ED_SET_WRAP, IntArg(0));
    const LRESULT atEdge = SendMessageA(rich, EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(atEdge, 1);
    Command(kRichId, CC_ED_SET_WRAP, IntArg(5760));   // four inches, wider than the control
    const LRESULT atWidth = SendMessageA(rich, EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(atWidth, 1);
    EXPECT_LT(atWidth, atEdge);
}

TEST_F(RichEditCommandTest, PasteSpecialPastesTheFirstClipboardFormat) {
    PutTextOnClipboard(window.hwnd, "pasted");
    SetText(rich, "");
    Command(kRichId, CC_ED_PASTE_SPECIAL);
    EXPECT_EQ(TextOf(rich), "pasted");
}

TEST_F(RichEditCommandTest, PasteSpecialWithAnEmptyClipboardDoesNothing) {
    ASSERT_TRUE(OpenClipboard(window.hwnd));
    EmptyClipboard();
    CloseClipboard();
    SetText(rich, "kept");
    EXPECT_EQ(Command(kRichId, CC_ED_PASTE_SPECIAL), 0);
    EXPECT_EQ(TextOf(rich), "kept");
}

}  // namespace

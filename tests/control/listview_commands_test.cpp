// The list view command table against a real report-style list view.

#include <string>
#include <vector>

#include "tests/control/command_fixture.h"

namespace {

constexpr int32_t kListId = 301;

class ListViewCommandTest : public ControlCommandTest {
protected:
    void SetUp() override {
        ControlCommandTest::SetUp();
        list = Make(WC_LISTVIEWA, LVS_REPORT | LVS_SHOWSELALWAYS, kListId);
        ASSERT_NE(list, nullptr);
    }
    int32_t ItemCount() const { return static_cast<int32_t>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
    std::string ItemText(int32_t item, int32_t subItem) const {
        char text[128] = {};
        LVITEMA request{};
        request.iSubItem = subItem;
        request.pszText = text;
        request.cchTextMax = sizeof(text);
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&request));
        return text;
    }
    std::string ColumnCaption(int32_t column) const {
        char text[128] = {};
        LVCOLUMNA request{};
        request.mask = LVCF_TEXT;
        request.pszText = text;
        request.cchTextMax = sizeof(text);
        SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&request));
        return text;
    }
    int32_t ColumnWidth(int32_t column) const {
        return static_cast<int32_t>(SendMessageA(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    }
    int32_t StringWidth(const char* text) const {
        return static_cast<int32_t>(
            SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
    }
    void Fill() {
        ASSERT_EQ(Command(kListId, CC_LV_INSERT_COLUMN, IntArg(0), StrArg("Host")), 0);
        ASSERT_EQ(Command(kListId, CC_LV_INSERT_COLUMN, IntArg(1), StrArg("Round trip")), 1);
        ASSERT_EQ(Command(kListId, CC_LV_INSERT_ITEM, IntArg(0), StrArg("alpha")), 0);
        ASSERT_EQ(Command(kListId, CC_LV_INSERT_ITEM, IntArg(1), StrArg("beta")), 1);
        ASSERT_EQ(Command(kListId, CC_LV_INSERT_ITEM, IntArg(2), StrArg("gamma")), 2);
    }
    HWND list = nullptr;
};

TEST_F(ListViewCommandTest, InsertedItemsAndColumnsReadBackInOrder) {
    Fill();
    EXPECT_EQ(ItemCount(), 3);
    EXPECT_EQ(Command(kListId, CC_LV_GET_ITEM_COUNT), 3);
    EXPECT_EQ(ItemText(0, 0), "alpha");
    EXPECT_EQ(ItemText(1, 0), "beta");
    EXPECT_EQ(ItemText(2, 0), "gamma");
    EXPECT_EQ(ColumnCaption(0), "Host");
    EXPECT_EQ(ColumnCaption(1), "Round trip");
    EXPECT_EQ(Command(kListId, CC_LV_INSERT_ITEM, IntArg(0), StrArg("first")), 0);
    EXPECT_EQ(ItemText(0, 0), "first");
    EXPECT_EQ(ItemText(1, 0), "alpha");
}

TEST_F(ListViewCommandTest, EveryColumnIsTwoLettersWiderThanItsCaption) {
    Fill();
    const int32_t margin = StringWidth("XX");
    ASSERT_GT(margin, 0);
    EXPECT_EQ(ColumnWidth(0), StringWidth("Host") + margin);
    EXPECT_EQ(ColumnWidth(1), StringWidth("Round trip") + margin);
    EXPECT_EQ(Command(kListId, CC_LV_GET_COLUMN_WIDTH, IntArg(1)), StringWidth("Round trip") + margin);

    EXPECT_NE(Command(kListId, CC_LV_SET_COLUMN, IntArg(0), StrArg("Destination host")), 0);
    EXPECT_EQ(ColumnCaption(0), "Destination host");
    EXPECT_EQ(ColumnWidth(0), StringWidth("Destination host") + margin);
}

TEST_F(ListViewCommandTest, ColumnsInsertedByTheCommandNameSubitemOne) {
    Fill();
    for (int32_t column = 0; column < 2; ++column) {
        LVCOLUMNA request{};
        request.mask = LVCF_SUBITEM | LVCF_FMT;
        request.iSubItem = -5;
        request.fmt = -5;
        SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&request));
        EXPECT_EQ(request.iSubItem, 1) << "column " << column;
        EXPECT_EQ(request.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT) << "column " << column;
    }
}

TEST_F(ListViewCommandTest, SubitemTextIsSetAndReadIntoTheCallersBuffer) {
    Fill();
    EXPECT_NE(Command(kListId, CC_LV_SET_ITEM_TEXT, IntArg(1), IntArg(1), StrArg("12 ms")), 0);
    EXPECT_EQ(ItemText(1, 1), "12 ms");
    EXPECT_EQ(ItemText(1, 0), "beta");

    std::vector<char> buffer(32767, 'x');
    EXPECT_EQ(Command(kListId, CC_LV_GET_ITEM_TEXT, IntArg(1), IntArg(1), StrArg(buffer.data())), 5);
    EXPECT_STREQ(buffer.data(), "12 ms");
    EXPECT_EQ(Command(kListId, CC_LV_GET_ITEM_TEXT, IntArg(2), IntArg(0), StrArg(buffer.data())), 5);
    EXPECT_STREQ(buffer.data(), "gamma");

    EXPECT_NE(Command(kListId, CC_LV_GET_COLUMN, IntArg(1), StrArg(buffer.data())), 0);
    EXPECT_STREQ(buffer.data(), "Round trip");
}

TEST_F(ListViewCommandTest, ColumnWidthIsSetAndRead) {
    Fill();
    EXPECT_NE(Command(kListId, CC_LV_SET_COLUMN_WIDTH, IntArg(1), IntArg(137)), 0);
    EXPECT_EQ(ColumnWidth(1), 137);
    EXPECT_EQ(Command(kListId, CC_LV_GET_COLUMN_WIDTH, IntArg(1)), 137);
}

TEST_F(ListViewCommandTest, SelectionIsMadeCountedAndAsked) {
    Fill();
    EXPECT_EQ(Command(kListId, CC_LV_GET_SELECTED_COUNT), 0);
    EXPECT_EQ(Command(kListId, CC_LV_IS_ITEM_SELECTED, IntArg(2)), 0);
    EXPECT_NE(Command(kListId, CC_LV_SELECT_ITEM, IntArg(2)), 0);
    EXPECT_EQ(Command(kListId, CC_LV_IS_ITEM_SELECTED, IntArg(2)), LVIS_SELECTED);
    EXPECT_EQ(Command(kListId, CC_LV_IS_ITEM_SELECTED, IntArg(1)), 0);
    EXPECT_EQ(Command(kListId, CC_LV_GET_SELECTED_COUNT), 1);
    EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 2);
}

TEST_F(ListViewCommandTest, FindsItemsByTextAndReportsTheTop) {
    Fill();
    EXPECT_EQ(Command(kListId, CC_LV_FIND_ITEM, StrArg("beta")), 1);
    EXPECT_EQ(Command(kListId, CC_LV_FIND_ITEM, StrArg("gamma")), 2);
    EXPECT_EQ(Command(kListId, CC_LV_FIND_ITEM, StrArg("delta")), -1);
    EXPECT_EQ(Command(kListId, CC_LV_GET_TOP_INDEX), 0);
}

TEST_F(ListViewCommandTest, DeletesItemsColumnsAndEverything) {
    Fill();
    EXPECT_NE(Command(kListId, CC_LV_DELETE_ITEM, IntArg(0)), 0);
    EXPECT_EQ(ItemCount(), 2);
    EXPECT_EQ(ItemText(0, 0), "beta");
    EXPECT_NE(Command(kListId, CC_LV_DELETE_COLUMN, IntArg(1)), 0);
    EXPECT_EQ(ColumnCaption(0), "Host");
    EXPECT_EQ(ColumnCaption(1), "");
    EXPECT_NE(Command(kListId, CC_LV_DELETE_ALL_ITEMS), 0);
    EXPECT_EQ(ItemCount(), 0);
}

TEST_F(ListViewCommandTest, ByReferenceIntegersAreReadThroughTheirAddress) {
    Fill();
    int32_t item = 1;
    uint32_t width = 90;
    EXPECT_NE(Command(kListId, CC_LV_SET_COLUMN_WIDTH, RefArg(&item),
                      RefArg(reinterpret_cast<int32_t*>(&width), TY_DWORD)),
              0);
    EXPECT_EQ(ColumnWidth(1), 90);
    EXPECT_NE(Command(kListId, CC_LV_DELETE_ITEM, RefArg(&item)), 0);
    EXPECT_EQ(ItemText(1, 0), "gamma");
}

TEST_F(ListViewCommandTest, WrongArgumentTypesSendNothing) {
    Fill();
    EXPECT_EQ(Command(kListId, CC_LV_INSERT_ITEM, IntArg(0), IntArg(7)), 0);
    EXPECT_EQ(Command(kListId, CC_LV_INSERT_ITEM, StrArg("0"), StrArg("text")), 0);
    EXPECT_EQ(Command(kListId, CC_LV_INSERT_ITEM, TypedValue(0, TY_WORD), StrArg("text")), 0);
    EXPECT_EQ(ItemCount(), 3);
    EXPECT_EQ(Command(kListId, CC_LV_DELETE_ITEM, TypedValue(0, TY_SINGLE)), 0);
    EXPECT_EQ(Command(kListId, CC_LV_DELETE_ITEM, NoArg), 0);
    EXPECT_EQ(Command(kListId, CC_LV_DELETE_ITEM, TypedValue(0, TY_INTEGER | TY_BYREF)), 0);
    EXPECT_EQ(ItemCount(), 3);
    EXPECT_EQ(Command(kListId, CC_LV_SET_ITEM_TEXT, IntArg(0), StrArg("0"), StrArg("changed")), 0);
    EXPECT_EQ(ItemText(0, 0), "alpha");
    EXPECT_EQ(Command(kListId, CC_LV_SET_COLUMN_WIDTH, IntArg(0), StrArg("200")), 0);
    EXPECT_EQ(ColumnWidth(0), StringWidth("Host") + StringWidth("XX"));
    EXPECT_EQ(Command(kListId, CC_LV_INSERT_COLUMN, IntArg(2), TypedValue(0, TY_STRING)), 0);
    EXPECT_EQ(ColumnCaption(2), "");
    EXPECT_EQ(Command(kListId, CC_LV_DELETE_ALL_ITEMS, StrArg("surplus"), StrArg("surplus")), 0);
    EXPECT_EQ(ItemCount(), 3);
    EXPECT_EQ(Command(kListId, CC_LV_DELETE_ALL_ITEMS), 1);
    EXPECT_EQ(ItemCount(), 0);
}

TEST_F(ListViewCommandTest, CodesTheTableLacksSendNothing) {
    Fill();
    EXPECT_EQ(Command(kListId, 17), 0);
    EXPECT_EQ(Command(kListId, -1, IntArg(0)), 0);
    EXPECT_EQ(Command(kListId, 187, IntArg(0)), 0);
    EXPECT_EQ(ItemCount(), 3);
}

}  // namespace

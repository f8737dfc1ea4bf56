#include <string>
#include <vector>

#include "runtime/core/block_alloc.h"
#include "runtime/window/dialog_registry.h"
#include "tests/control/control_fixture.h"

namespace {

// A record in template mode, its template set up as the dialog code leaves
// it: no window yet, the base units measured.
class DialogItemTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog = static_cast<DialogTemplate*>(AllocZeroed(AT_STRUCT, sizeof(DialogTemplate)));
        ASSERT_NE(dialog, nullptr);
        dialog->baseUnitX = 7;
        dialog->baseUnitY = 16;
        record.templateMode = 1;
        record.dialogTemplate = dialog;
        ASSERT_EQ(RegisterDialogRecord(&record), 1);
    }
    void TearDown() override { FreeDialogRecords(); }
    std::vector<const DialogItem*> Items() const {
        std::vector<const DialogItem*> items;
        for (const DialogItem* item = dialog->items; item; item = item->next)
            items.push_back(item);
        return items;
    }
    WindowRecord record{};
    DialogTemplate* dialog = nullptr;
};

TEST_F(DialogItemTest, PixelsBecomeDialogUnitsEdgeByEdge) {
    const char caption[] = "host";
    EXPECT_EQ(CreateControl(&record, CT_EDIT, caption, 10, 10, 100, 25, WS_TABSTOP, 103), 0);
    const auto items = Items();
    ASSERT_EQ(items.size(), 1u);
    const DialogItem& item = *items[0];
    // round(440 / 7) = 63 less round(40 / 7) = 6; round(280 / 16) = 18 (17.5
    // to even) less round(80 / 16) = 5.
    EXPECT_EQ(item.x, 6);
    EXPECT_EQ(item.cx, 57);
    EXPECT_EQ(item.y, 5);
    EXPECT_EQ(item.cy, 13);
    EXPECT_STREQ(item.className, "EDIT");
    EXPECT_EQ(item.style, 0x50810000u);
    EXPECT_EQ(item.exStyle, static_cast<uint32_t>(WS_EX_CLIENTEDGE));
    EXPECT_EQ(item.type, CT_EDIT);
    EXPECT_EQ(item.id, 103);
    EXPECT_EQ(item.isDefault, 0);
    ASSERT_NE(item.text, nullptr);
    EXPECT_NE(item.text, caption);   // a private copy
    EXPECT_STREQ(item.text, "host");
    EXPECT_GE(GlobalSize(GlobalHandle(item.text)), sizeof(caption));
    EXPECT_EQ(record.hwnd, nullptr);
}

TEST_F(DialogItemTest, HalvesRoundToEvenAndTouchingControlsStillTouch) {
    dialog->baseUnitX = 8;
    dialog->baseUnitY = 16;
    // x = 1 gives 0.5 (to 0), x + cx = 3 gives 1.5 (to 2); y = 3 gives 1.5
    // (to 2), y + cy = 5 gives 2.5 (to 2).
    EXPECT_EQ(CreateControl(&record, CT_LABEL, "a", 1, 3, 2, 2, 0, 1), 0);
    EXPECT_EQ(CreateControl(&record, CT_LABEL, "b", 3, 5, 7, 8, 0, 2), 0);
    const auto items = Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]->x, 0);
    EXPECT_EQ(items[0]->cx, 2);
    EXPECT_EQ(items[0]->y, 2);
    EXPECT_EQ(items[0]->cy, 0);
    // The second starts where the first ends, in pixels and in units.
    EXPECT_EQ(items[1]->x, items[0]->x + items[0]->cx);
    EXPECT_EQ(items[1]->y, items[0]->y + items[0]->cy);
}

TEST_F(DialogItemTest, ItemsKeepCreationOrderAndTheFirstIdentifierWins) {
    EXPECT_EQ(CreateControl(&record, CT_LABEL, "one", 0, 0, 70, 16, 0, 10), 0);
    EXPECT_EQ(CreateControl(&record, CT_CHECKBOX, "two", 0, 20, 70, 16, 0, 11), 0);
    EXPECT_EQ(CreateControl(&record, CT_EDIT, "again", 0, 40, 70, 16, 0, 10), 0);
    EXPECT_EQ(CreateCustomControl(&record, "Edit", "again", 0, 40, 70, 16, 0, 0, 11), nullptr);
    EXPECT_EQ(CreateControl(&record, CT_RADIO, "three", 0, 60, 70, 16, 0, 12), 0);
    const auto items = Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0]->id, 10);
    EXPECT_STREQ(items[0]->text, "one");
    EXPECT_EQ(items[1]->id, 11);
    EXPECT_STREQ(items[1]->className, "BUTTON");
    EXPECT_EQ(items[1]->style, 0x50000003u);
    EXPECT_EQ(items[2]->id, 12);
    EXPECT_EQ(items[2]->next, nullptr);
}

TEST_F(DialogItemTest, DefaultButtonsAreNotedAndHiddenControlsRecordedInvisible) {
    EXPECT_EQ(CreateControl(&record, CT_PUSHBUTTON, "OK", 0, 0, 60, 25, BS_DEFPUSHBUTTON, 1), 0);
    EXPECT_EQ(CreateControl(&record, CT_BUTTON, "Go", 0, 0, 60, 25, BS_DEFPUSHBUTTON, 2), 0);
    EXPECT_EQ(CreateControl(&record, CT_HOTBUTTON, "Hot", 0, 0, 60, 25, BS_DEFPUSHBUTTON, 3), 0);
    EXPECT_EQ(CreateControl(&record, CT_CHECKBOX, "box", 0, 0, 60, 25, 1, 4), 0);
    EXPECT_EQ(CreateControl(&record, CT_PUSHBUTTON, "Cancel", 0, 0, 60, 25, CS_HIDDEN, 5), 0);
    const auto items = Items();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0]->isDefault, 1);
    EXPECT_EQ(items[1]->isDefault, 1);
    EXPECT_EQ(items[1]->style, 0x5000000Bu);
    EXPECT_EQ(items[2]->isDefault, 1);
    EXPECT_EQ(items[3]->isDefault, 0);
    EXPECT_EQ(items[4]->isDefault, 0);
    EXPECT_EQ(items[4]->style, static_cast<uint32_t>(WS_CHILD));
}

TEST_F(DialogItemTest, CustomControlsAreRecordedAsCustomWithTheirOwnExtendedStyle) {
    EXPECT_EQ(CreateCustomControl(&record, "msctls_progress32", "", 14, 16, 140, 32, CS_HIDDEN,
                                  WS_EX_STATICEDGE, 20),
              nullptr);
    const auto items = Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_STREQ(items[0]->className, "msctls_progress32");
    EXPECT_EQ(items[0]->type, CT_CUSTOM);
    EXPECT_EQ(items[0]->isDefault, 0);
    EXPECT_EQ(items[0]->exStyle, static_cast<uint32_t>(WS_EX_STATICEDGE));
    EXPECT_EQ(items[0]->style, WS_CHILD | WS_VISIBLE | CS_HIDDEN);
    EXPECT_EQ(items[0]->x, 8);
    EXPECT_EQ(items[0]->cx, 80);
    EXPECT_EQ(items[0]->y, 8);
    EXPECT_EQ(items[0]->cy, 16);
}

TEST_F(DialogItemTest, ClassNamesMustFitTheItem) {
    const std::string fits(31, 'C');
    const std::string tooLong(32, 'C');
    EXPECT_EQ(AppendDialogItem(&record, 0, fits.c_str(), "", WS_CHILD, 0, 0, 1, 1, 1, CT_CUSTOM, 0), 0);
    EXPECT_EQ(AppendDialogItem(&record, 0, tooLong.c_str(), "", WS_CHILD, 0, 0, 1, 1, 2, CT_CUSTOM, 0), 0);
    const auto items = Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(std::string(items[0]->className), fits);
}

TEST_F(DialogItemTest, ACodeWithoutClassIsRecordedWithAnEmptyClassName) {
    EXPECT_EQ(CreateControl(&record, 17, "odd", 0, 0, 10, 10, 0, 30), 0);
    const auto items = Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_STREQ(items[0]->className, "");
    EXPECT_EQ(items[0]->type, 17);
}

TEST_F(DialogItemTest, WithoutTemplateOrBaseUnitsNothingIsRecorded) {
    dialog->baseUnitX = 0;
    EXPECT_EQ(CreateControl(&record, CT_LABEL, "a", 0, 0, 10, 10, 0, 1), 0);
    EXPECT_EQ(dialog->items, nullptr);
    dialog->baseUnitX = 7;
    WindowRecord bare{};
    bare.templateMode = 1;
    EXPECT_EQ(CreateControl(&bare, CT_LABEL, "a", 0, 0, 10, 10, 0, 1), 0);
    EXPECT_EQ(AppendDialogItem(&bare, 0, "STATIC", "a", 0, 0, 0, 1, 1, 1, CT_LABEL, 0), 0);
}

}  // namespace

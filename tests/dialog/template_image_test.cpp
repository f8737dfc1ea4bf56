#include "runtime/dialog/template_image.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "runtime/control/controls.h"
#include "runtime/core/strings.h"
#include "runtime/dialog/create_dialog.h"
#include "runtime/dialog/open_dialog.h"
#include "runtime/window/dialog_registry.h"
#include "tests/dialog/oracle_dialogs.h"
#include "tests/dialog/template_reader.h"
#include "tests/support/import_slot.h"

namespace {

constexpr uint8_t kUntouched = 0xCC;

// What BuildDialogTemplate writes, in a block of DialogTemplateSize bytes
// (and a margin) filled with a marker: the bytes past the written end must
// still hold it.
std::vector<uint8_t> Written(const DialogTemplate* dialog) {
    const int32_t size = DialogTemplateSize(dialog);
    std::vector<uint8_t> block(static_cast<size_t>(size) + 64, kUntouched);
    const int32_t written = BuildDialogTemplate(block.data(), dialog);
    EXPECT_GT(written, 0);
    EXPECT_LE(written, size);
    for (size_t i = static_cast<size_t>(written); i < block.size(); ++i)
        if (block[i] != kUntouched) {
            ADD_FAILURE() << "byte " << i << " written past the end " << written << " (size " << size << ")";
            break;
        }
    block.resize(static_cast<size_t>(written));
    return block;
}

std::vector<uint8_t> CompiledResource(int id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_DIALOG));
    if (!found)
        return {};
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
    if (!bytes)
        return {};
    return std::vector<uint8_t>(bytes, bytes + SizeofResource(module, found));
}

// The resource compiler writes class names in upper case, which the dialog
// manager reads without regard to case; every other byte must be the same.
void FoldClassNames(std::vector<uint8_t>& bytes, const std::vector<ByteRange>& ranges) {
    for (const ByteRange& r : ranges)
        for (size_t i = r.begin; i + 1 < r.end; i += 2) {
            WCHAR unit = static_cast<WCHAR>(bytes[i] | bytes[i + 1] << 8);
            CharUpperBuffW(&unit, 1);
            bytes[i] = static_cast<uint8_t>(unit & 0xFF);
            bytes[i + 1] = static_cast<uint8_t>(unit >> 8);
        }
}

// Describes the record as a dialog, with base units 4 and 8 so that the
// pixel rectangles the controls are given are the dialog units of the
// resource script; the dialog's own rectangle is set the same way.
DialogTemplate* DescribeInUnits(WindowRecord& record, uint32_t style, const char* caption, int16_t x, int16_t y,
                                int16_t cx, int16_t cy) {
    EXPECT_EQ(CreateDialogTemplate(&record, 0, 0, 0, 0, style, nullptr, caption, nullptr), 1);
    auto* dialog = static_cast<DialogTemplate*>(record.dialogTemplate);
    dialog->baseUnitX = 4;
    dialog->baseUnitY = 8;
    dialog->x = x;
    dialog->y = y;
    dialog->cx = cx;
    dialog->cy = cy;
    return dialog;
}

class TemplateImageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CreateStringHeap(), 1); }
    void TearDown() override { FreeDialogRecords(); }
    WindowRecord record{};
};

struct OracleCase {
    const char* name;
    int resourceId;
    size_t items;
    const DialogTemplate* (*describe)(WindowRecord&);
};

#define ORACLE_CREATE(type, id, text, x, y, cx, cy, asked, cls, style, ex) \
    CreateControl(&record, type, text, x, y, cx, cy, asked, id);
#define ORACLE_CREATE_CUSTOM(cls, id, text, x, y, cx, cy, asked, style, ex) \
    CreateCustomControl(&record, cls, text, x, y, cx, cy, asked, ex, id);
#define ORACLE_COUNT(...) +1

const OracleCase kOracleCases[] = {
    {"EveryType", ORACLE_EVERY_TYPE, 0 ORACLE_EVERY_TYPE_ITEMS(ORACLE_COUNT),
     [](WindowRecord& record) {
         const DialogTemplate* dialog =
             DescribeInUnits(record, ORACLE_ASKED_STYLE, "Every control type", 12, 8, 200, 160);
         ORACLE_EVERY_TYPE_ITEMS(ORACLE_CREATE)
         return dialog;
     }},
    {"NoItems", ORACLE_NO_ITEMS, 0,
     [](WindowRecord& record) {
         return static_cast<const DialogTemplate*>(
             DescribeInUnits(record, ORACLE_ASKED_HIDDEN_STYLE, "Nothing", 0, 0, 100, 40));
     }},
    {"CustomClasses", ORACLE_CUSTOM, 0 ORACLE_CUSTOM_ITEMS(ORACLE_COUNT),
     [](WindowRecord& record) {
         const DialogTemplate* dialog = DescribeInUnits(record, ORACLE_ASKED_STYLE, "", 30, 20, 130, 56);
         ORACLE_CUSTOM_ITEMS(ORACLE_CREATE_CUSTOM)
         return dialog;
     }},
};

TEST_F(TemplateImageTest, TheTemplateIsTheResourceCompilersDialogByteForByte) {
    for (const OracleCase& c : kOracleCases) {
        SCOPED_TRACE(c.name);
        const DialogTemplate* dialog = c.describe(record);
        std::vector<uint8_t> ours = Written(dialog);
        std::vector<uint8_t> compiled = CompiledResource(c.resourceId);
        ASSERT_FALSE(compiled.empty());
        const ReadTemplate read = ReadDialogTemplate(compiled);
        ASSERT_TRUE(read.complete);
        ASSERT_EQ(read.items.size(), c.items);
        ASSERT_EQ(read.end, compiled.size());
        ASSERT_EQ(ours.size(), compiled.size());

        FoldClassNames(ours, read.classNames);
        FoldClassNames(compiled, read.classNames);
        size_t differences = 0;
        for (size_t i = 0; i < ours.size() && differences < 8; ++i)
            if (ours[i] != compiled[i]) {
                ++differences;
                ADD_FAILURE() << "byte " << i << ": ours " << int(ours[i]) << ", compiled " << int(compiled[i]);
            }
    }
}

// Every alignment of the caption, the class names and the texts: the writer
// stays inside DialogTemplateSize and reads back what it was given.
TEST_F(TemplateImageTest, EveryAlignmentStaysInsideTheSizeAndReadsBack) {
    const std::string letters = "abcdefghijklmnopqrstuvwxyz";
    for (size_t captionLength = 0; captionLength < 4; ++captionLength) {
        WindowRecord one{};
        ASSERT_EQ(CreateDialogTemplate(&one, 0, 0, 100, 100, 0, nullptr, letters.substr(0, captionLength).c_str(),
                                       nullptr),
                  1);
        int32_t id = 1;
        for (size_t classLength = 1; classLength < 5; ++classLength)
            for (size_t textLength = 0; textLength < 5; ++textLength)
                AppendDialogItem(&one, 0, letters.substr(0, classLength).c_str(),
                                 letters.substr(0, textLength).c_str(), WS_CHILD, 1, 2, 3, 4, id++, CT_CUSTOM, 0);
        const auto* dialog = static_cast<const DialogTemplate*>(one.dialogTemplate);
        const ReadTemplate read = ReadDialogTemplate(Written(dialog));
        ASSERT_TRUE(read.complete);
        EXPECT_EQ(read.caption, std::wstring(letters.begin(), letters.begin() + captionLength));
        ASSERT_EQ(read.items.size(), 20u);
        const DialogItem* item = dialog->items;
        for (const ReadItem& r : read.items) {
            EXPECT_EQ(r.start % 4, 0u);
            EXPECT_EQ(r.id, item->id);
            EXPECT_EQ(r.className, std::wstring(item->className, item->className + strlen(item->className)));
            EXPECT_EQ(r.text, std::wstring(item->text, item->text + strlen(item->text)));
            EXPECT_EQ(r.creationData, 0);
            item = item->next;
        }
    }
}

TEST_F(TemplateImageTest, LongTextsAreCutToWhatTheTemplateHolds) {
    DescribeInUnits(record, 0, "long", 0, 0, 10, 10);
    const std::string longText(70000, 'q');
    AppendDialogItem(&record, 0, "EDIT", longText.c_str(), WS_CHILD, 0, 0, 1, 1, 7, CT_EDIT, 0);
    AppendDialogItem(&record, 0, "STATIC", "after", WS_CHILD, 0, 0, 1, 1, 8, CT_LABEL, 0);
    const ReadTemplate read = ReadDialogTemplate(Written(static_cast<const DialogTemplate*>(record.dialogTemplate)));
    ASSERT_TRUE(read.complete);
    ASSERT_EQ(read.items.size(), 2u);
    EXPECT_EQ(read.items[0].text, std::wstring(kItemTextUnitsMax - 1, L'q'));
    EXPECT_EQ(read.items[1].text, L"after");
    EXPECT_EQ(read.items[1].id, 8);
}

// The template holds an item's identifier in 16 bits: a wider one would
// be another control's (65537 is 1's), so it is refused.
TEST_F(TemplateImageTest, OnlySixteenBitIdentifiersAreRecorded) {
    DescribeInUnits(record, 0, "ids", 0, 0, 10, 10);
    for (const int32_t id : {1, 65537, -1, 65536, 0, 65535, 1, -65535})
        AppendDialogItem(&record, 0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, id, CT_LABEL, 0);
    const ReadTemplate read = ReadDialogTemplate(Written(static_cast<const DialogTemplate*>(record.dialogTemplate)));
    ASSERT_TRUE(read.complete);
    std::vector<int32_t> ids;
    for (const ReadItem& item : read.items)
        ids.push_back(item.id);
    EXPECT_EQ(ids, (std::vector<int32_t>{1, 0, 65535}));
}

extern "C" {
extern int(WINAPI* importedMultiByteToWideChar)(UINT, DWORD, LPCCH, int, LPWSTR, int) __asm__(
    "__imp__MultiByteToWideChar@24");
}
decltype(importedMultiByteToWideChar) platformConversion;
const char* countedText;
int countedUnits;

// The platform's count of one long text, asked once: counting thousands of
// copies of 64 KiB takes minutes under emulation.
int WINAPI CountOnce(UINT page, DWORD flags, LPCCH text, int bytes, LPWSTR out, int room) {
    if (text != countedText || bytes != -1 || room != 0)
        return platformConversion(page, flags, text, bytes, out, room);
    if (!countedUnits)
        countedUnits = platformConversion(page, flags, text, bytes, out, room);
    return countedUnits;
}

// More items than the header counts, or more bytes than a size holds (each
// long text takes some 128 KiB): the size is 0 and the dialog does not open.
TEST_F(TemplateImageTest, ATemplateTooLargeToWriteHasNoSizeAndDoesNotOpen) {
    ASSERT_NE(RegisterDialogClass(), 0);
    const std::string longText(kItemTextUnitsMax - 1, 'q');
    countedText = longText.c_str();
    platformConversion = SwapImportSlot(importedMultiByteToWideChar, &CountOnce);
    const std::pair<size_t, const char*> cases[] = {
        {kDialogItemsMax, ""}, {kDialogItemsMax + 1, ""}, {16400, countedText}};
    for (const auto& [count, text] : cases) {
        SCOPED_TRACE(count);
        std::vector<DialogItem> items(count);
        for (size_t i = 0; i < count; ++i)
            items[i] = {i + 1 < count ? &items[i + 1] : nullptr, WS_CHILD, 0, const_cast<char*>(text), "STATIC",
                        CT_LABEL, 0, 0, 1, 1, 0, 0};
        DialogTemplate dialog{};
        dialog.items = items.data();
        if (count == kDialogItemsMax) {
            EXPECT_EQ(ReadDialogTemplate(Written(&dialog)).items.size(), count);
            continue;
        }
        EXPECT_EQ(DialogTemplateSize(&dialog), 0);
        WindowRecord opened{};
        opened.templateMode = 1;
        opened.dialogTemplate = &dialog;
        opened.handler = [] {   // ends a dialog that opens all the same
            EndDialog(messageRecord.window->hwnd, 5);
            return 0;
        };
        EXPECT_EQ(RunModalDialog(&opened, nullptr), -1);
        EXPECT_EQ(OpenModelessDialog(&opened, nullptr), nullptr);
    }
    SwapImportSlot(importedMultiByteToWideChar, platformConversion);
}

TEST_F(TemplateImageTest, NothingIsWrittenWithoutBlockOrTemplate) {
    const DialogTemplate* dialog = DescribeInUnits(record, 0, "x", 0, 0, 10, 10);
    std::vector<uint8_t> block(static_cast<size_t>(DialogTemplateSize(dialog)), kUntouched);
    EXPECT_EQ(BuildDialogTemplate(nullptr, dialog), 0);
    EXPECT_EQ(BuildDialogTemplate(block.data(), nullptr), 0);
    EXPECT_EQ(DialogTemplateSize(nullptr), 0);
    EXPECT_EQ(block, std::vector<uint8_t>(block.size(), kUntouched));
}

}  // namespace

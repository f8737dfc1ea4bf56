#include "tests/dialog/dialog_fixture.h"
#include "tests/support/delete_spy.h"

namespace {

// The dialog manager hands its one font to every control and deletes it
// itself when the dialog goes; the controls own only a font they were handed
// afterwards.
TEST_F(DialogTest, ClosingADialogDeletesOnlyTheFontAControlWasHanded) {
    DeleteObjectSpy spy;
    ASSERT_TRUE(spy.Installed());
    Describe(300, 200);
    CreateControl(&dialog, CT_EDIT, "a", 10, 10, 120, 24, WS_TABSTOP, 41);
    CreateControl(&dialog, CT_BUTTON, "b", 10, 40, 120, 24, 0, 42);
    CreateControl(&dialog, CT_CHECKBOX, "c", 10, 70, 120, 24, 0, 43);
    CreateControl(&dialog, CT_LABEL, "d", 10, 100, 120, 24, 0, 44);
    CreateControl(&dialog, CT_HOTBUTTON, "e", 140, 10, 120, 24, 0, 45);
    CreateControl(&dialog, CT_LISTBOX, "", 140, 40, 120, 60, 0, 46);
    HFONT handed = CreateFontA(14, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ dialogFont = nullptr;
    int32_t controlsWithTheDialogFont = 0;
    react = [&](const MessageRecord& m) {
        HWND hwnd = m.window->hwnd;
        if (m.eventCode != static_cast<int32_t>(WM_CUE))
            return 0;
        dialogFont = reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
        for (int32_t id = 41; id <= 46; ++id)
            controlsWithTheDialogFont +=
                SendMessageA(GetDlgItem(hwnd, id), WM_GETFONT, 0, 0) == reinterpret_cast<LRESULT>(dialogFont);
        SendMessageA(GetDlgItem(hwnd, 41), WM_SETFONT, reinterpret_cast<WPARAM>(handed), 0);
        spy.Watch(dialogFont);
        spy.Watch(handed);
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
    };
    EXPECT_EQ(RunModal(), 2);
    ASSERT_NE(dialogFont, nullptr);
    EXPECT_EQ(controlsWithTheDialogFont, 6);
    EXPECT_EQ(spy.TimesDeleted(dialogFont), 0);
    EXPECT_EQ(spy.TimesDeleted(handed), 1);
    EXPECT_EQ(GetObjectType(handed), 0u);
    EXPECT_TRUE(spy.DeadDeletes().empty()) << spy.DeadDeletes().size() << " deletes of dead handles";
}

}  // namespace

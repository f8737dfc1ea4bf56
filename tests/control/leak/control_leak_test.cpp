#include <gtest/gtest.h>
#include <windows.h>

#include <array>

#include "tests/control/control_fixture.h"
#include "runtime/core/strings.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "tests/support/test_support.h"

namespace {

struct Kind {
    int32_t type;
    uint32_t style;
};
constexpr std::array<Kind, 15> kKinds{{
    {CT_BUTTON, 0},     {CT_CHECKBOX, 0},  {CT_RADIO, 0},      {CT_EDIT, 0},      {CT_LISTBOX, 0},
    {CT_COMBOBOX, 0},   {CT_LABEL, 0},     {CT_SCROLLBAR, 0},  {CT_GROUPBOX, 0},  {CT_RICHEDIT, 0},
    {CT_LISTVIEW, 0},   {CT_STATUSBAR, 0}, {CT_PUSHBUTTON, 0}, {CT_TREEVIEW, 0},  {CT_HOTBUTTON, 0},
}};

// One window with a control of every type, each given its own colours, the
// edit a font and the hot button a hot colour; then closed.
void OpenAndClose() {
    WindowRecord window{};
    ASSERT_EQ(OpenWindow(&window, 0, 0, 500, 400, RF_HIDDEN, nullptr, "leak", nullptr), 1);
    int32_t id = 300;
    for (const Kind& kind : kKinds) {
        ASSERT_NE(MadeControl(&window, kind.type, "text", 0, (id - 300) * 20, 120, 20, kind.style, id), nullptr);
        SetControlColors(&window, id, RGB(1, 2, 3), RGB(250, 250, 250));
        ++id;
    }
    ASSERT_NE(CreateCustomControl(&window, "msctls_progress32", "", 200, 0, 100, 20, 0, 0, id), nullptr);
    SetHotColor(&window, 300 + 14, RGB(255, 0, 0));
    HFONT font = CreateFontA(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    SendMessageA(GetDlgItem(window.hwnd, 303), WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    CloseWindow(&window);
    PumpMessages();
}

TEST(LeakTest, AThousandWindowsWithEveryControlLeaveTheObjectCountsWhereTheyWere) {
    ASSERT_EQ(CreateStringHeap(), 1);
    // The first window loads the rich edit library and the common controls,
    // which keep what they create for the life of the process.
    OpenAndClose();
    const int32_t freeBefore = FreeGdiSlots();
    const int32_t windowsBefore = ThreadWindowCount();
    for (int i = 0; i < 1000 && !HasFatalFailure(); ++i)
        OpenAndClose();
    const int32_t freeAfter = FreeGdiSlots();
    EXPECT_GT(freeBefore, 1000);
    EXPECT_EQ(freeAfter, freeBefore) << "GDI objects held before " << 65536 - freeBefore << ", after "
                                     << 65536 - freeAfter;
    EXPECT_EQ(ThreadWindowCount(), windowsBefore);
}

}  // namespace

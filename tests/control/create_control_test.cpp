#include <windows.h>

#include <commctrl.h>

#include <ostream>

#include "runtime/control/subclass.h"
#include "tests/control/control_fixture.h"

namespace {

struct ClassCase {
    const char* name;
    int32_t type;
    uint32_t style;        // the caller's style word
    const char* className;
    uint32_t finalStyle;   // the style the control is created with
    uint32_t exStyle;
    uint32_t ownStyle;     // style bits the control itself may clear after creation
    uint32_t ownExStyle;   // extended style bits likewise
};

void PrintTo(const ClassCase& c, std::ostream* out) { *out << c.name; }

// What CreateWindowExA was asked for, as the platform hands it to the CBT
// hook before the control's own procedure can change it.
struct CreationRequest {
    static inline HHOOK hook;
    static inline bool seen;
    static inline uint32_t style;
    static inline uint32_t exStyle;

    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
            if (reinterpret_cast<uintptr_t>(cs->hMenu) == 201 && (cs->style & WS_CHILD)) {
                seen = true;
                style = static_cast<uint32_t>(cs->style);
                exStyle = cs->dwExStyle;
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

class ControlClassTest : public ControlTest, public ::testing::WithParamInterface<ClassCase> {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        CreationRequest::seen = false;
        CreationRequest::hook = SetWindowsHookExA(WH_CBT, CreationRequest::Watch, nullptr, GetCurrentThreadId());
        ASSERT_NE(CreationRequest::hook, nullptr);
    }
    void TearDown() override {
        UnhookWindowsHookEx(CreationRequest::hook);
        ControlTest::TearDown();
    }
};

constexpr uint32_t kEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;

TEST_P(ControlClassTest, ClassStylesAndExtendedStyleAsMade) {
    const ClassCase& c = GetParam();
    ASSERT_NE(MadeControl(&window, c.type, "x", 10, 10, 120, 60, c.style, 201), nullptr);
    ASSERT_NE(Control(201), nullptr);
    EXPECT_EQ(lstrcmpiA(ClassOf(201).c_str(), c.className), 0) << ClassOf(201);
    ASSERT_TRUE(CreationRequest::seen);
    EXPECT_EQ(CreationRequest::style, c.finalStyle) << std::hex << CreationRequest::style;
    EXPECT_EQ(CreationRequest::exStyle, c.exStyle) << std::hex << CreationRequest::exStyle;
    // Read back from the control: what it keeps of the request.
    EXPECT_EQ(Style(201) & c.finalStyle & ~c.ownStyle, c.finalStyle & ~c.ownStyle) << std::hex << Style(201);
    EXPECT_EQ(ExStyle(201) & kEdges, c.exStyle & ~c.ownExStyle) << std::hex << ExStyle(201);
    EXPECT_NE(GetPropA(Control(201), "LPFN"), nullptr);   // subclassed at once
}

// Observed under Wine: a combo box takes WS_BORDER and the client edge out
// of its own styles.
INSTANTIATE_TEST_SUITE_P(
    Types, ControlClassTest,
    ::testing::Values(
        ClassCase{"OwnerDrawnButton", CT_BUTTON, WS_TABSTOP, "Button", 0x5001000B, 0, 0, 0},
        ClassCase{"BitmapButtonIsNotOwnerDrawn", CT_BUTTON, WS_TABSTOP | BS_BITMAP, "Button", 0x50010080, 0, 0, 0},
        ClassCase{"CheckBox", CT_CHECKBOX, 0, "Button", 0x50000003, 0, 0, 0},
        ClassCase{"Radio", CT_RADIO, 0, "Button", 0x50000009, 0, 0, 0},
        ClassCase{"Edit", CT_EDIT, WS_TABSTOP, "Edit", 0x50810000, WS_EX_CLIENTEDGE, 0, 0},
        ClassCase{"ListBox", CT_LISTBOX, 0, "ListBox", 0x50800140, WS_EX_CLIENTEDGE, 0, 0},
        ClassCase{"ComboBox", CT_COMBOBOX, 0, "ComboBox", 0x50800600, WS_EX_CLIENTEDGE, WS_BORDER, WS_EX_CLIENTEDGE},
        ClassCase{"Label", CT_LABEL, 0, "Static", 0x50000000, 0, 0, 0},
        ClassCase{"ScrollBar", CT_SCROLLBAR, 0, "ScrollBar", 0x50000000, 0, 0, 0},
        ClassCase{"GroupBox", CT_GROUPBOX, 0, "Button", 0x50000007, 0, 0, 0},
        ClassCase{"RichEditWithBorder", CT_RICHEDIT, 0x00A00804, "RichEdit", 0x50A00804, WS_EX_CLIENTEDGE,
                  WS_VSCROLL, 0},
        ClassCase{"RichEditWithoutBorder", CT_RICHEDIT, 0x00200804, "RichEdit", 0x50200804, 0, WS_VSCROLL, 0},
        ClassCase{"ListView", CT_LISTVIEW, 0, "SysListView32", 0x50000000, 0, 0, 0},
        ClassCase{"StatusBar", CT_STATUSBAR, 0, "msctls_statusbar32", 0x50000000, 0, 0, 0},
        ClassCase{"PushButton", CT_PUSHBUTTON, BS_DEFPUSHBUTTON, "Button", 0x50000001, 0, 0, 0},
        ClassCase{"TreeViewWithBorder", CT_TREEVIEW, WS_BORDER, "SysTreeView32", 0x50800000, WS_EX_CLIENTEDGE, 0, 0},
        ClassCase{"TreeViewWithoutBorder", CT_TREEVIEW, 0, "SysTreeView32", 0x50000000, 0, 0, 0},
        ClassCase{"HotButton", CT_HOTBUTTON, 0, "Button", 0x5000000B, 0, 0, 0},
        ClassCase{"BitmapHotButton", CT_HOTBUTTON, BS_BITMAP, "Button", 0x50000080, 0, 0, 0}),
    [](const ::testing::TestParamInfo<ClassCase>& param) { return std::string(param.param.name); });

// Observed under Wine: a rich edit hides its vertical scroll bar, and takes
// WS_VSCROLL out of its style, while its text fits; with more lines than it
// can show, the style reads back as created.
TEST_F(ControlTest, ARichEditLogReadsBackItsStyleOnceItScrolls) {
    ASSERT_NE(MadeControl(&window, CT_RICHEDIT, "", 10, 160, 372, 100, 0x00A00804, 108), nullptr);
    ASSERT_NE(MadeControl(&window, CT_RICHEDIT, "", 10, 10, 372, 100, 0x00200804, 109), nullptr);
    std::string lines;
    for (int i = 0; i < 40; ++i)
        lines += "No response at 12:00:00\r\n";
    SetWindowTextA(Control(108), lines.c_str());
    SetWindowTextA(Control(109), lines.c_str());
    EXPECT_EQ(Style(108), 0x50A00804u) << std::hex << Style(108);
    EXPECT_NE(ExStyle(108) & WS_EX_CLIENTEDGE, 0u);
    EXPECT_EQ(Style(109), 0x50200804u) << std::hex << Style(109);
    EXPECT_EQ(ExStyle(109) & kEdges, 0u);
}

TEST_F(ControlTest, ASecondControlWithOneIdentifierIsRefused) {
    ASSERT_NE(MadeControl(&window, CT_EDIT, "first", 110, 10, 200, 25, 0, 103), nullptr);
    EXPECT_EQ(CreateControl(&window, CT_LABEL, "second", 10, 50, 80, 20, 0, 103), 0);
    EXPECT_EQ(ChildCount(), 1);
    EXPECT_EQ(TextOf(103), "first");
    EXPECT_EQ(RectOf(103), (RECT{110, 10, 310, 35}));
    EXPECT_EQ(lstrcmpiA(ClassOf(103).c_str(), "Edit"), 0);
    EXPECT_EQ(CreateCustomControl(&window, "Static", "third", 0, 0, 10, 10, 0, 0, 103), nullptr);
    EXPECT_EQ(ChildCount(), 1);
}

TEST_F(ControlTest, HiddenStyleGivesAnInvisibleControlWithoutTheBit) {
    ASSERT_NE(MadeControl(&window, CT_EDIT, "", 0, 0, 50, 20, CS_HIDDEN | WS_TABSTOP, 120), nullptr);
    EXPECT_EQ(Style(120) & (CS_HIDDEN | WS_VISIBLE), 0u) << std::hex << Style(120);
    EXPECT_NE(Style(120) & WS_TABSTOP, 0u);
    // The custom form leaves the bit to the class and stays visible.
    ASSERT_NE(CreateCustomControl(&window, "Static", "", 0, 30, 50, 20, CS_HIDDEN, 0, 121), nullptr);
    EXPECT_EQ(Style(121) & (CS_HIDDEN | WS_VISIBLE), CS_HIDDEN | WS_VISIBLE) << std::hex << Style(121);
}

TEST_F(ControlTest, NoClassOrNoWindowCreatesNothing) {
    for (int32_t type : {0, 15, 19, 21, 99, -1})
        EXPECT_EQ(CreateControl(&window, type, "none", 0, 0, 40, 20, 0, 300 + type), 0) << type;
    WindowRecord closed{};
    EXPECT_EQ(CreateControl(&closed, CT_EDIT, "", 0, 0, 40, 20, 0, 103), 0);
    EXPECT_EQ(CreateCustomControl(&closed, "Edit", "", 0, 0, 40, 20, 0, 0, 103), nullptr);
    EXPECT_EQ(CreateCustomControl(&window, "NoSuchClassAnywhere", "", 0, 0, 10, 10, 0, 0, 131), nullptr);
    EXPECT_EQ(ChildCount(), 0);
    // A failed creation leaves the identifier free.
    EXPECT_NE(MadeControl(&window, CT_LABEL, "late", 0, 0, 40, 20, 0, 315), nullptr);
}

TEST_F(ControlTest, CustomControlGetsTheCallersClassAndExtendedStyle) {
    HWND control = CreateCustomControl(&window, PROGRESS_CLASSA, "", 5, 6, 100, 20, PBS_SMOOTH,
                                       WS_EX_STATICEDGE, 130);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control, Control(130));
    EXPECT_EQ(lstrcmpiA(ClassOf(130).c_str(), PROGRESS_CLASSA), 0);
    EXPECT_EQ(Style(130) & (WS_CHILD | WS_VISIBLE | PBS_SMOOTH), static_cast<uint32_t>(WS_CHILD | WS_VISIBLE | PBS_SMOOTH));
    EXPECT_NE(ExStyle(130) & WS_EX_STATICEDGE, 0u);
    EXPECT_EQ(RectOf(130), (RECT{5, 6, 105, 26}));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(GetPropA(control, "BGRND")), GetSysColor(COLOR_WINDOW));
}

TEST_F(ControlTest, TheRichEditLibraryIsLoadedOnceAndKept) {
    ASSERT_EQ(richEditLibrary, nullptr);
    ASSERT_EQ(GetModuleHandleA("riched32.dll"), nullptr);
    ASSERT_NE(MadeControl(&window, CT_RICHEDIT, "", 0, 0, 100, 50, 0, 150), nullptr);
    HMODULE loaded = GetModuleHandleA("riched32.dll");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(richEditLibrary, loaded);
    ASSERT_NE(MadeControl(&window, CT_RICHEDIT, "", 0, 60, 100, 50, 0, 151), nullptr);
    EXPECT_EQ(richEditLibrary, loaded);
    ASSERT_NE(Control(151), nullptr);

    // With both controls gone the library is still there; one FreeLibrary
    // unloads it, so it was loaded exactly once.
    CloseWindow(&window);
    PumpMessages();
    EXPECT_EQ(GetModuleHandleA("riched32.dll"), loaded);
    FreeLibrary(richEditLibrary);
    EXPECT_EQ(GetModuleHandleA("riched32.dll"), nullptr);
}

TEST_F(ControlTest, AStatusBarOnAnMdiFrameShrinksTheMdiClient) {
    WindowRecord frame{};
    ASSERT_EQ(OpenWindow(&frame, 0, 0, 500, 400, RF_FRAME | RF_HIDDEN, nullptr, "frame", nullptr), 1);
    ASSERT_NE(frame.mdiClient, nullptr);
    RECT client{};
    GetClientRect(frame.hwnd, &client);

    ASSERT_NE(MadeControl(&frame, CT_STATUSBAR, "ready", 0, 0, 0, 0, 0, 160), nullptr);
    HWND status = GetDlgItem(frame.hwnd, 160);
    ASSERT_NE(status, nullptr);
    RECT bar{};
    GetWindowRect(status, &bar);
    ASSERT_GT(bar.bottom - bar.top, 0);
    RECT mdi{};
    GetWindowRect(frame.mdiClient, &mdi);
    MapWindowPoints(nullptr, frame.hwnd, reinterpret_cast<POINT*>(&mdi), 2);
    EXPECT_EQ(mdi, (RECT{0, 0, client.right, client.bottom - (bar.bottom - bar.top)}));
    CloseWindow(&frame);
}

}  // namespace

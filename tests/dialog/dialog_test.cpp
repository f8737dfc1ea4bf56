#include <array>
#include <cstring>
#include <string>
#include <tuple>

#include "runtime/control/subclass.h"
#include "runtime/dialog/dialog_proc.h"
#include "runtime/window/handler_tables.h"
#include "tests/dialog/dialog_fixture.h"
#include "tests/dialog/oracle_dialogs.h"
#include "tests/support/global_alloc_hook.h"
#include "tests/support/import_slot.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr UINT WM_CLOSE_YOURSELF = WM_CUE + 1;

extern "C" {
extern BOOL(WINAPI* importedGetTextMetricsA)(HDC, LPTEXTMETRICA) __asm__("__imp__GetTextMetricsA@8");
}
BOOL WINAPI NoTextMetrics(HDC, LPTEXTMETRICA) { return FALSE; }

int32_t cueRoutineRuns;
int32_t CueRoutine() {
    ++cueRoutineRuns;
    return 0;
}

TEST_F(DialogTest, TheRecordBecomesATemplateWithTheDialogFrameAndOneRegistryNode) {
    WindowRecord owner{};
    ASSERT_EQ(OpenWindow(&owner, 0, 0, 100, 100, RF_HIDDEN, nullptr, "owner", nullptr), 1);
    Describe(200, 100, WS_CAPTION | WS_SYSMENU, "Settings", &owner);
    EXPECT_EQ(Template()->style, static_cast<uint32_t>(WS_VISIBLE | WS_POPUP | WS_CAPTION | WS_SYSMENU |
                                                       DS_MODALFRAME | DS_SETFONT));
    EXPECT_STREQ(Template()->caption, "Settings");
    EXPECT_EQ(Template()->owner, owner.hwnd);
    EXPECT_EQ(Template()->exStyle, 0u);
    EXPECT_EQ(Template()->items, nullptr);
    EXPECT_EQ(dialog.templateMode, 1);
    EXPECT_EQ(dialog.dialogKeys, 1);
    EXPECT_EQ(dialog.hwnd, nullptr);
    EXPECT_EQ(dialog.cursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_NE(dialogClassAtom, 0);

    // Described again: hidden this time, and still one node in the registry,
    // so shutdown frees the template once.
    Describe(200, 100, WS_CAPTION | WS_THICKFRAME | RF_HIDDEN, "Again");
    EXPECT_EQ(Template()->style, static_cast<uint32_t>(WS_POPUP | WS_CAPTION | WS_THICKFRAME | DS_MODALFRAME |
                                                       DS_SETFONT));
    EXPECT_EQ(Template()->owner, nullptr);
    int32_t nodes = 0;
    for (DialogRecordNode* node = FirstDialogRecord(); node; node = node->next)
        nodes += node->record == &dialog;
    EXPECT_EQ(nodes, 1);
    CloseWindow(&owner);
}

TEST_F(DialogTest, PixelsBecomeDialogUnitsThatTheDialogManagerTurnsBackIntoThosePixels) {
    // Both edges are rounded, halves to even, before the size is taken.
    const std::array<int32_t, 10> cases[] = {{7, 16, 10, 10, 200, 100, 6, 5, 114, 50},
                                             {8, 16, 1, 1, 2, 2, 0, 0, 2, 2}};   // edges at 0.5 and 1.5
    for (auto [bx, by, x, y, cx, cy, ux, uy, ucx, ucy] : cases) {
        DialogTemplate units{};
        units.baseUnitX = bx;
        units.baseUnitY = by;
        EXPECT_EQ(PixelsToDialogUnits(&units, &x, &y, &cx, &cy), 1);
        EXPECT_EQ((std::array<int32_t, 4>{x, y, cx, cy}), (std::array<int32_t, 4>{ux, uy, ucx, ucy}));
    }

    ASSERT_EQ(CreateDialogTemplate(&dialog, 10, 10, 200, 100, WS_CAPTION, nullptr, "units", nullptr), 1);
    const DialogTemplate& t = *Template();
    ASSERT_GT(t.baseUnitX, 0);
    ASSERT_GT(t.baseUnitY, 0);

    dialog.handler = [] {
        RECT client{};
        GetClientRect(messageRecord.window->hwnd, &client);
        if (messageRecord.eventCode == WM_INITDIALOG)
            EndDialog(messageRecord.window->hwnd, MAKELONG(client.right, client.bottom));
        return 0;
    };
    const auto size = static_cast<uint32_t>(RunModalDialog(&dialog, nullptr));
    // Within the rounding of one dialog unit.
    EXPECT_NEAR(LOWORD(size), 200, t.baseUnitX / 4 + 1) << "base units " << t.baseUnitX << ", " << t.baseUnitY;
    EXPECT_NEAR(HIWORD(size), 100, t.baseUnitY / 8 + 1) << "base units " << t.baseUnitX << ", " << t.baseUnitY;
}

struct Opening {
    const char* name;
    bool modal;
    bool hidden;
};

class OpeningTest : public DialogTest, public ::testing::WithParamInterface<Opening> {};

// Without items, too: the dialog manager gets a template with no controls.
TEST_P(OpeningTest, ADialogOpensVisibleUnlessDescribedHidden) {
    const Opening o = GetParam();
    Describe(160, 80, WS_CAPTION | (o.hidden ? uint32_t{RF_HIDDEN} : 0u));
    bool visibleAtCue = false;
    HWND firstChild = reinterpret_cast<HWND>(1);
    react = [&](const MessageRecord& m) {
        if (m.eventCode == static_cast<int32_t>(WM_CUE)) {
            visibleAtCue = IsWindowVisible(m.window->hwnd);
            firstChild = GetWindow(m.window->hwnd, GW_CHILD);
            if (o.modal)
                EndDialog(m.window->hwnd, 7);
        }
        return 0;
    };
    if (o.modal) {
        EXPECT_EQ(RunModal(), 7);
    } else {
        HWND handle = OpenModeless();
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(handle, dialog.hwnd);
        EXPECT_EQ(Template()->modeless, 1);
    }
    ASSERT_FALSE(events.empty());
    // Nothing before WM_INITDIALOG reaches the handler, and the dialog
    // manager shows the dialog only after it.
    EXPECT_EQ(events.front().eventCode, static_cast<int32_t>(WM_INITDIALOG));
    EXPECT_FALSE(events.front().visible);
    EXPECT_EQ(visibleAtCue, !o.hidden);
    EXPECT_EQ(firstChild, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Ways, OpeningTest,
                         ::testing::Values(Opening{"ModalVisible", true, false}, Opening{"ModalHidden", true, true},
                                           Opening{"ModelessVisible", false, false},
                                           Opening{"ModelessHidden", false, true}),
                         [](const ::testing::TestParamInfo<Opening>& p) { return std::string(p.param.name); });

TEST_F(DialogTest, AModalDialogReturnsTheValueItsHandlerEndsItWithAndFreesItsOwner) {
    WindowRecord owner{};
    WindowRecord other{};
    ASSERT_EQ(OpenWindow(&owner, 0, 0, 100, 100, RF_HIDDEN, nullptr, "owner", nullptr), 1);
    ASSERT_EQ(OpenWindow(&other, 0, 0, 100, 100, RF_HIDDEN, nullptr, "other", nullptr), 1);
    Describe(160, 80, WS_CAPTION, "modal", &owner);
    HWND ownerAtCue = nullptr;
    bool ownerEnabledAtCue = true;
    react = [&](const MessageRecord& m) {
        if (m.eventCode == static_cast<int32_t>(WM_CUE)) {
            ownerAtCue = GetWindow(m.window->hwnd, GW_OWNER);
            ownerEnabledAtCue = IsWindowEnabled(ownerAtCue);
            EndDialog(m.window->hwnd, 1234);
        }
        return 0;
    };
    EXPECT_EQ(RunModal(), 1234);
    EXPECT_EQ(ownerAtCue, owner.hwnd);
    EXPECT_FALSE(ownerEnabledAtCue);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
    EXPECT_EQ(dialog.hwnd, nullptr);
    EXPECT_EQ(events.back().eventCode, static_cast<int32_t>(WM_DESTROY));

    // An owner given at opening overrides the described one.
    EXPECT_EQ(RunModal(&other), 1234);
    EXPECT_EQ(ownerAtCue, other.hwnd);
    EXPECT_TRUE(IsWindowEnabled(other.hwnd));
    CloseWindow(&other);
    CloseWindow(&owner);
}

TEST_F(DialogTest, CloseEndsAModalDialogWithTwoAndTheHandlerStillSeesIt) {
    Describe(160, 80);
    bool aliveAtClose = false;
    react = [&](const MessageRecord& m) {
        if (m.eventCode == static_cast<int32_t>(WM_CUE))
            SendMessageA(m.window->hwnd, WM_CLOSE, 0, 0);
        if (m.eventCode == EV_CLOSE_WINDOW)
            aliveAtClose = IsWindow(m.window->hwnd);
        return 0;
    };
    EXPECT_EQ(RunModal(), 2);
    ASSERT_TRUE(Saw(EV_CLOSE_WINDOW));
    EXPECT_TRUE(aliveAtClose);
    for (const SeenEvent& e : events) {
        if (e.eventCode == EV_CLOSE_WINDOW) {
            EXPECT_FALSE(e.visible) << "the dialog was ended before the handler saw the close";
        }
    }
}

TEST_F(DialogTest, AModelessDialogStaysOpenUntilItsHandlerClosesIt) {
    Describe(160, 80);
    react = [](const MessageRecord& m) {
        if (m.eventCode == static_cast<int32_t>(WM_CLOSE_YOURSELF)) {
            DestroyWindow(m.window->hwnd);
            return 1;
        }
        return 0;
    };
    HWND handle = OpenModeless();
    ASSERT_NE(handle, nullptr);
    // The handler leaves the close alone; the dialog manager's own answer
    // to it does not close the dialog either.
    SendMessageA(handle, WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_TRUE(Saw(EV_CLOSE_WINDOW));
    EXPECT_TRUE(IsWindow(handle));
    EXPECT_TRUE(IsWindowVisible(handle));
    EXPECT_EQ(dialog.hwnd, handle);
    EXPECT_EQ(GetPropA(handle, "DLGPTR"), &dialog);

    SendMessageA(handle, WM_CLOSE_YOURSELF, 0, 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(dialog.hwnd, nullptr);
    EXPECT_EQ(events.back().eventCode, static_cast<int32_t>(WM_DESTROY));
}

// Closed during its WM_INITDIALOG, a modeless dialog shown after a modal
// one is left to its handler, not ended (which would hide it for good).
TEST_F(DialogTest, AModelessDialogClosedDuringItsInitIsNotEndedAfterAModalShowing) {
    Describe(160, 80, WS_CAPTION | RF_HIDDEN);
    bool modal = true;
    react = [&](const MessageRecord& m) {
        if (modal && m.eventCode == static_cast<int32_t>(WM_CUE))
            EndDialog(m.window->hwnd, 7);
        if (!modal && m.eventCode == static_cast<int32_t>(WM_INITDIALOG)) {
            ShowWindow(m.window->hwnd, SW_SHOW);
            SendMessageA(m.window->hwnd, WM_CLOSE, 0, 0);
        }
        return 0;
    };
    EXPECT_EQ(RunModal(), 7);
    modal = false;
    HWND handle = OpenModeless();
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(IsWindowVisible(handle));
    EXPECT_TRUE(Saw(EV_CLOSE_WINDOW));
}

// Without base units every control would be refused: the description is
// refused instead, and the record stays as it was, described or not.
TEST_F(DialogTest, ADescriptionWhoseFontCannotBeMeasuredIsRefusedAndLeavesTheRecord) {
    Describe(100, 50);
    const DialogTemplate before = *Template();
    WindowRecord fresh{};
    GlobalAllocHook hook;
    const auto platform = SwapImportSlot(importedGetTextMetricsA, &NoTextMetrics);
    EXPECT_EQ(CreateDialogTemplate(&fresh, 0, 0, 100, 50, 0, nullptr, "fresh", nullptr), 0);
    EXPECT_EQ(CreateDialogTemplate(&dialog, 0, 0, 300, 150, 0, nullptr, "again", nullptr), 0);
    SwapImportSlot(importedGetTextMetricsA, platform);
    EXPECT_EQ(hook.LiveBlocks(), 0);
    EXPECT_EQ(fresh.templateMode, 0);
    EXPECT_EQ(fresh.dialogTemplate, nullptr);
    EXPECT_EQ(std::memcmp(Template(), &before, sizeof(before)), 0);
}

// Registered at WM_INITDIALOG, routines run and go with the dialog, modal
// or modeless, at every opening.
TEST_F(DialogTest, RoutinesRegisteredOnAnOpenDialogGoWithIt) {
    Describe(160, 80);
    GlobalAllocHook hook;
    EXPECT_EQ(SetEventHandler(&dialog, WM_CUE, CueRoutine), 0);   // not open yet
    bool modal = true;
    react = [&](const MessageRecord& m) {
        if (m.eventCode == static_cast<int32_t>(WM_INITDIALOG)) {
            EXPECT_EQ(SetEventHandler(m.window, WM_CUE, CueRoutine), 1);
        }
        if (m.eventCode == static_cast<int32_t>(WM_CUE) && modal)
            EndDialog(m.window->hwnd, 5);   // the routine runs after the handler
        return 0;
    };
    for (const bool modalOpening : {true, false, true}) {
        cueRoutineRuns = 0;
        modal = modalOpening;
        if (modal) {
            EXPECT_EQ(RunModal(), 5);
        } else {
            HWND handle = OpenModeless();
            EXPECT_EQ(WindowsWithHandlerTables(), 1);
            DestroyWindow(handle);
        }
        EXPECT_EQ(cueRoutineRuns, 1);
        EXPECT_EQ(WindowsWithHandlerTables(), 0);
        EXPECT_EQ(hook.LiveBlocks(), 0);
    }
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonOfTheDescription) {
    Describe(260, 120);
    CreateControl(&dialog, CT_EDIT, "", 10, 10, 120, 24, WS_TABSTOP, 21);
    CreateControl(&dialog, CT_BUTTON, "Go", 10, 44, 80, 28, BS_DEFPUSHBUTTON | WS_TABSTOP, 22);
    CreateControl(&dialog, CT_PUSHBUTTON, "Other", 100, 44, 80, 28, WS_TABSTOP, 23);
    LRESULT defaultId = 0;
    react = [&](const MessageRecord& m) {
        HWND hwnd = m.window->hwnd;
        if (m.eventCode == static_cast<int32_t>(WM_CUE)) {
            defaultId = SendMessageA(hwnd, DM_GETDEFID, 0, 0);
            PostMessageA(GetDlgItem(hwnd, 21), WM_KEYDOWN, VK_RETURN, 0x001C0001);
        }
        if (m.eventCode == EV_CONTROL && m.notifyCode == BN_CLICKED)
            EndDialog(hwnd, 1000 + m.controlId);
        return 0;
    };
    EXPECT_EQ(RunModal(), 1022);
    EXPECT_EQ(defaultId, MAKELONG(22, DC_HASDEFID));
}

struct ChildShot {
    int32_t id;
    std::string className;
    std::string text;
    RECT rect;
    LONG style;
    bool operator==(const ChildShot& o) const {
        return std::tie(id, className, text, rect.left, rect.top, rect.right, rect.bottom, style) ==
               std::tie(o.id, o.className, o.text, o.rect.left, o.rect.top, o.rect.right, o.rect.bottom, o.style);
    }
};

std::vector<ChildShot> Snapshot(HWND dialog) {
    std::vector<ChildShot> shots;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        ChildShot s{GetDlgCtrlID(c), {}, {}, {}, GetWindowLongA(c, GWL_STYLE)};
        char buffer[64] = {};
        GetClassNameA(c, buffer, sizeof(buffer));
        s.className = buffer;
        GetWindowTextA(c, buffer, sizeof(buffer));
        s.text = buffer;
        GetWindowRect(c, &s.rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&s.rect), 2);
        shots.push_back(s);
    }
    return shots;
}

TEST_F(DialogTest, OneDescriptionOpensTheSameDialogEveryTime) {
    Describe(260, 120);
    CreateControl(&dialog, CT_EDIT, "name", 10, 10, 120, 24, WS_TABSTOP, 31);
    CreateControl(&dialog, CT_CHECKBOX, "remember", 10, 44, 120, 20, WS_TABSTOP, 32);
    CreateControl(&dialog, CT_LABEL, "note", 140, 10, 100, 20, 0, 33);
    std::vector<std::vector<ChildShot>> shots;
    bool closeOnCue = false;
    react = [&](const MessageRecord& m) {
        if (m.eventCode != static_cast<int32_t>(WM_CUE))
            return 0;
        if (closeOnCue) {
            SendMessageA(m.window->hwnd, WM_CLOSE, 0, 0);
            return 0;
        }
        shots.push_back(Snapshot(m.window->hwnd));
        EndDialog(m.window->hwnd, static_cast<INT_PTR>(shots.size()));
        return 0;
    };
    EXPECT_EQ(RunModal(), 1);
    EXPECT_EQ(RunModal(), 2);
    ASSERT_EQ(shots.size(), 2u);
    EXPECT_EQ(shots[0].size(), 3u);
    EXPECT_TRUE(shots[0] == shots[1]);

    // Opened modeless once, the description still opens modal afterwards:
    // the close ends it.
    HWND handle = OpenModeless();
    ASSERT_NE(handle, nullptr);
    DestroyWindow(handle);
    closeOnCue = true;
    EXPECT_EQ(RunModal(), 2);
}

TEST_F(DialogTest, ACaptionLongerThanTheFieldIsCut) {
    std::string caption(300, ' ');
    for (size_t i = 0; i < caption.size(); ++i)
        caption[i] = static_cast<char>('a' + i % 26);
    Describe(200, 80, WS_CAPTION | RF_HIDDEN, caption.c_str());
    EXPECT_EQ(std::string(Template()->caption), caption.substr(0, 255));
    HWND handle = OpenModeless();
    ASSERT_NE(handle, nullptr);
    char text[512] = {};
    GetWindowTextA(handle, text, sizeof(text));
    EXPECT_EQ(std::string(text), caption.substr(0, 255));
}

WNDPROC ProcedureFor(int32_t type) {
    switch (type) {
    case CT_BUTTON:
        return ButtonControlProc;
    case CT_HOTBUTTON:
        return HotButtonProc;
    case CT_LABEL:
        return LabelControlProc;
    default:
        return GeneralControlProc;
    }
}

struct Described {
    int32_t type;
    int32_t id;
};

#define EVERY_TYPE_CREATE(type, id, text, x, y, cx, cy, asked, cls, style, ex) \
    CreateControl(&dialog, type, text, 2 * (x), 2 * (y), 2 * (cx), 2 * (cy), asked, id);
#define EVERY_TYPE_ROW(type, id, ...) Described{type, id},

COLORREF PixelOf(HWND control, int x, int y) {
    HDC dc = GetDC(control);
    const COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(control, dc);
    return color;
}

TEST_F(DialogTest, EveryControlTypeIsTakenOverPaintsInItsColoursAndTabsInOrder) {
    Describe(400, 330, WS_CAPTION | WS_SYSMENU, "Every control type");
    ORACLE_EVERY_TYPE_ITEMS(EVERY_TYPE_CREATE)
    HWND handle = OpenModeless();
    ASSERT_NE(handle, nullptr);

    const Described described[] = {ORACLE_EVERY_TYPE_ITEMS(EVERY_TYPE_ROW)};
    const auto dialogFont = SendMessageA(handle, WM_GETFONT, 0, 0);
    EXPECT_NE(dialogFont, 0);
    for (const Described& d : described) {
        HWND control = Control(d.id);
        ASSERT_NE(control, nullptr) << d.id;
        EXPECT_EQ(GetWindowLongA(control, GWL_WNDPROC), reinterpret_cast<LONG>(ProcedureFor(d.type))) << d.id;
        EXPECT_NE(GetPropA(control, "LPFN"), nullptr) << d.id;
        // The scroll bar and the rich edit keep no font (observed under Wine).
        if (d.type != CT_SCROLLBAR && d.type != CT_RICHEDIT) {
            EXPECT_EQ(SendMessageA(control, WM_GETFONT, 0, 0), dialogFont) << d.id;
        }
    }

    // The dialog hands colour and drawing requests to the controls, which
    // answer from their own colours.
    for (int32_t id : {101, 102, 104, 105, 107}) {
        SetControlColors(&dialog, id, kRed, kBlue);
        HWND control = Control(id);
        UpdateWindow(control);
        RECT client{};
        GetClientRect(control, &client);
        const int x = id == 101 ? 6 : client.right - 3;
        EXPECT_EQ(PixelOf(control, x, client.bottom / 2), kBlue) << id;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SendMessageA(handle, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Control(104))),
              reinterpret_cast<LRESULT>(GetPropA(Control(104), "BBRUSH")));
    EXPECT_EQ(GetTextColor(dc), kRed);
    EXPECT_EQ(SendMessageA(handle, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(handle)),
              reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)));
    DeleteDC(dc);

    // Tab, through the runtime's loop, goes round the tab stops in creation
    // order. Tests beside this one share the display and may take the
    // activation at any moment (seen: the focus gone from the thread right
    // after a Tab), so each step starts from the focus it expects, and a step
    // that leaves this thread without any focus is tried again; a Tab that
    // lands on a wrong control still fails.
    const std::array<std::pair<int32_t, int32_t>, 3> steps{{{104, 101}, {101, 102}, {102, 104}}};
    for (const auto& [from, to] : steps) {
        HWND focus = nullptr;
        for (int attempt = 0; attempt < 5 && !focus; ++attempt) {
            SetForegroundWindow(handle);
            SetFocus(Control(from));
            if (GetFocus() != Control(from))
                continue;
            PostMessageA(Control(from), WM_KEYDOWN, VK_TAB, 0x000F0001);
            WaitEvents(1);
            focus = GetFocus();
        }
        EXPECT_EQ(GetDlgCtrlID(focus), to) << "from " << from;
    }

    // A new size reaches the handler as EV_SIZE and then as WM_SIZE.
    events.clear();
    SetWindowPos(handle, nullptr, 0, 0, 420, 360, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_GE(events.size(), 2u);
    size_t i = 0;
    while (i < events.size() && events[i].eventCode != EV_SIZE)
        ++i;
    ASSERT_LT(i + 1, events.size());
    EXPECT_EQ(events[i + 1].eventCode, static_cast<int32_t>(WM_SIZE));
    EXPECT_EQ(events[i].wParam, events[i + 1].wParam);

    // Over its client area the dialog shows the record's cursor.
    HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    dialog.cursor = cross;
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    SendMessageA(handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(handle), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), cross);
}

TEST_F(DialogTest, EndModalDialogHandsItsValueToRunModalDialog) {
    Describe(160, 80, WS_CAPTION, "ended");
    int32_t endedAtCue = -1;
    react = [&](const MessageRecord& m) {
        if (m.eventCode == static_cast<int32_t>(WM_CUE))
            endedAtCue = EndModalDialog(m.window, 4242);
        return 0;
    };
    EXPECT_EQ(RunModal(), 4242);
    EXPECT_EQ(endedAtCue, 1);
    EXPECT_EQ(dialog.hwnd, nullptr);
    EXPECT_EQ(EndModalDialog(&dialog, 3), 0);
    EXPECT_EQ(EndModalDialog(nullptr, 3), 0);
}

}  // namespace

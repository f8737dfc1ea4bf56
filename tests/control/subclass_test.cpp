#include "runtime/control/subclass.h"

#include <array>
#include <ostream>

#include "tests/control/control_fixture.h"
#include "tests/support/delete_spy.h"

namespace {

COLORREF PropColor(HWND control, const char* name) {
    return static_cast<COLORREF>(reinterpret_cast<uintptr_t>(GetPropA(control, name)));
}

COLORREF BrushColor(HANDLE brush) {
    LOGBRUSH lb{};
    if (GetObjectA(brush, sizeof(lb), &lb) != sizeof(lb))
        return 0xFFFFFFFF;
    return lb.lbColor;
}

struct DefaultCase {
    const char* name;
    int32_t type;
    int backgroundIndex;
};

void PrintTo(const DefaultCase& c, std::ostream* out) { *out << c.name; }

class DefaultColorTest : public ControlTest, public ::testing::WithParamInterface<DefaultCase> {};

TEST_P(DefaultColorTest, TextColorIsButtonTextAndTheBrushHasTheBackground) {
    const DefaultCase& c = GetParam();
    ASSERT_NE(MadeControl(&window, c.type, "", 0, 0, 80, 40, 0, 210), nullptr);
    HWND control = Control(210);
    const COLORREF back = GetSysColor(c.backgroundIndex);
    EXPECT_EQ(PropColor(control, "FGRND"), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(PropColor(control, "BGRND"), back);
    HANDLE brush = GetPropA(control, "BBRUSH");
    ASSERT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(BrushColor(brush), back);

    // The parent reflects the platform's colour request; the control answers
    // from its properties.
    HDC dc = CreateCompatibleDC(nullptr);
    const auto answer = reinterpret_cast<HANDLE>(SendMessageA(window.hwnd, WM_CTLCOLORSTATIC,
                                                              reinterpret_cast<WPARAM>(dc),
                                                              reinterpret_cast<LPARAM>(control)));
    EXPECT_EQ(answer, brush);
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(GetBkColor(dc), back);
    DeleteDC(dc);
}

INSTANTIATE_TEST_SUITE_P(Types, DefaultColorTest,
                         ::testing::Values(DefaultCase{"Edit", CT_EDIT, COLOR_WINDOW},
                                           DefaultCase{"CheckBox", CT_CHECKBOX, COLOR_BTNFACE},
                                           DefaultCase{"Label", CT_LABEL, COLOR_BTNFACE},
                                           DefaultCase{"RichEdit", CT_RICHEDIT, COLOR_WINDOW}),
                         [](const ::testing::TestParamInfo<DefaultCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(ControlTest, ScrollBarsHaveNoBrushAndHotButtonsAHotColourAndBorder) {
    ASSERT_NE(MadeControl(&window, CT_SCROLLBAR, "", 0, 0, 100, 16, 0, 211), nullptr);
    EXPECT_EQ(PropColor(Control(211), "BGRND"), GetSysColor(COLOR_SCROLLBAR));
    EXPECT_EQ(GetPropA(Control(211), "BBRUSH"), nullptr);
    ASSERT_NE(MadeControl(&window, CT_HOTBUTTON, "hot", 0, 20, 60, 25, 0, 212), nullptr);
    EXPECT_EQ(PropColor(Control(212), "HTCLR"), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(GetPropA(Control(212), "BORDERWIDTH")), 1u);
    EXPECT_EQ(GetPropA(Control(212), "HBRUSH"), nullptr);   // hot colouring is off until asked for
}

TEST_F(ControlTest, ThePreviousProcedureIsKeptAndMessagesReachIt) {
    HWND edit = CreateWindowExA(0, "Edit", "before", WS_CHILD, 0, 0, 80, 20, window.hwnd, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    const LONG original = GetWindowLongA(edit, GWL_WNDPROC);
    EXPECT_EQ(SubclassControl(edit, CT_EDIT), 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(GetPropA(edit, "LPFN")), static_cast<uintptr_t>(original));
    EXPECT_EQ(GetWindowLongA(edit, GWL_WNDPROC), reinterpret_cast<LONG>(GeneralControlProc));

    SendMessageA(edit, EM_SETSEL, 1, 3);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);
    EXPECT_EQ(SubclassControl(nullptr, CT_EDIT), 0);
}

// Sits on top of the runtime's procedure and looks at the control right
// after the runtime has handled WM_DESTROY.
struct DestroyWatch {
    static inline WNDPROC below;
    static inline LONG procedureAfter;
    static inline int32_t runtimePropertiesAfter;

    static BOOL CALLBACK CountRuntimeProperty(HWND, LPSTR name, HANDLE, ULONG_PTR count) {
        static constexpr std::array<const char*, 12> kNames{
            "LPFN",  "FGRND",  "BGRND",       "BBRUSH", "HTCLR",  "HBRUSH",
            "DOHOT", "HOTBMP", "BORDERWIDTH", "NORBMP", "SELBMP", "OWNFONT"};
        if (HIWORD(reinterpret_cast<uintptr_t>(name)) == 0)
            return TRUE;   // an atom, not one of ours
        for (const char* n : kNames)
            if (lstrcmpA(name, n) == 0)
                ++*reinterpret_cast<int32_t*>(count);
        return TRUE;
    }
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        const LRESULT result = CallWindowProcA(below, hwnd, message, wParam, lParam);
        if (message == WM_DESTROY) {
            procedureAfter = GetWindowLongA(hwnd, GWL_WNDPROC);
            runtimePropertiesAfter = 0;
            EnumPropsExA(hwnd, CountRuntimeProperty, reinterpret_cast<LPARAM>(&runtimePropertiesAfter));
        }
        return result;
    }
};

TEST_F(ControlTest, DestroyReleasesPropertiesAndBrushesAndPutsTheProcedureBack) {
    HWND button = CreateWindowExA(0, "Button", "b", WS_CHILD | BS_OWNERDRAW, 0, 0, 60, 25, window.hwnd,
                                  reinterpret_cast<HMENU>(220), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(button, nullptr);
    const LONG original = GetWindowLongA(button, GWL_WNDPROC);
    EXPECT_EQ(SubclassControl(button, CT_HOTBUTTON), 0);
    HANDLE firstBrush = GetPropA(button, "BBRUSH");
    SetControlColors(&window, 220, RGB(1, 2, 3), RGB(4, 5, 6));
    SetHotColor(&window, 220, RGB(7, 8, 9));
    HANDLE backBrush = GetPropA(button, "BBRUSH");
    HANDLE hotBrush = GetPropA(button, "HBRUSH");
    ASSERT_EQ(GetObjectType(backBrush), static_cast<DWORD>(OBJ_BRUSH));
    ASSERT_EQ(GetObjectType(hotBrush), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(GetObjectType(firstBrush), 0u);
    // Faces and font given to the button become its own.
    std::array<HBITMAP, 3> bitmaps{};
    for (HBITMAP& b : bitmaps)
        b = CreateBitmap(4, 4, 1, 32, nullptr);
    SetPropA(button, "HOTBMP", bitmaps[0]);
    SetPropA(button, "NORBMP", bitmaps[1]);
    SetPropA(button, "SELBMP", bitmaps[2]);
    SetPropA(button, "DOHOT", reinterpret_cast<HANDLE>(1));
    HFONT font = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);

    DestroyWatch::below = reinterpret_cast<WNDPROC>(
        SetWindowLongA(button, GWL_WNDPROC, reinterpret_cast<LONG>(DestroyWatch::Proc)));
    DestroyWatch::procedureAfter = 0;
    DestroyWatch::runtimePropertiesAfter = -1;
    ASSERT_TRUE(DestroyWindow(button));
    EXPECT_EQ(DestroyWatch::procedureAfter, original);
    EXPECT_EQ(DestroyWatch::runtimePropertiesAfter, 0);
    EXPECT_EQ(GetObjectType(backBrush), 0u);
    EXPECT_EQ(GetObjectType(hotBrush), 0u);
    for (HBITMAP b : bitmaps)
        EXPECT_EQ(GetObjectType(b), 0u);
    EXPECT_EQ(GetObjectType(font), 0u);
}

TEST_F(ControlTest, EveryProcedureDeletesTheFontAndImageItWasGiven) {
    struct Given {
        int32_t type;
        uint32_t style;
        UINT setImage;
    };
    const std::array<Given, 5> kinds{{{CT_EDIT, 0, 0},
                                      {CT_BUTTON, BS_BITMAP, BM_SETIMAGE},
                                      {CT_BUTTON, 0, 0},
                                      {CT_LABEL, SS_BITMAP, STM_SETIMAGE},
                                      {CT_LABEL, 0, 0}}};
    int32_t id = 270;
    for (const Given& kind : kinds) {
        ASSERT_NE(MadeControl(&window, kind.type, "", 0, 0, 40, 20, kind.style, id), nullptr);
        HWND control = Control(id);
        SetPropA(control, "NOTIFY_TAB", reinterpret_cast<HANDLE>(1));
        HFONT font = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
        // A picture label takes no font (observed under Wine): it stays ours.
        if (SendMessageA(control, WM_GETFONT, 0, 0) != reinterpret_cast<LRESULT>(font)) {
            DeleteObject(font);
            font = nullptr;
        }
        HBITMAP image = kind.setImage ? CreateBitmap(4, 4, 1, 32, nullptr) : nullptr;
        if (image)
            SendMessageA(control, kind.setImage, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
        ASSERT_TRUE(DestroyWindow(control));
        if (font) {
            EXPECT_EQ(GetObjectType(font), 0u) << "type " << kind.type;
        }
        if (image) {
            EXPECT_EQ(GetObjectType(image), 0u) << "type " << kind.type;
        }
        ++id;
    }
}

// A control deletes a font only when it was handed it after the runtime
// took it over: not a status bar's own default font (the status bar deletes
// that itself), not one handed before subclassing, and of two handed one
// after the other only the one it still holds.
TEST_F(ControlTest, AControlDeletesOnlyTheFontItWasHandedAfterTheTakeover) {
    DeleteObjectSpy spy;
    ASSERT_TRUE(spy.Installed());
    auto newFont = [] { return CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"); };

    ASSERT_NE(MadeControl(&window, CT_STATUSBAR, "ready", 0, 0, 0, 0, 0, 280), nullptr);
    const auto ownFont = reinterpret_cast<HGDIOBJ>(SendMessageA(Control(280), WM_GETFONT, 0, 0));
    ASSERT_NE(ownFont, nullptr);

    HWND early = CreateWindowExA(0, "Edit", "", WS_CHILD, 0, 30, 80, 20, window.hwnd,
                                 reinterpret_cast<HMENU>(281), GetModuleHandleA(nullptr), nullptr);
    HFONT before = newFont();
    SendMessageA(early, WM_SETFONT, reinterpret_cast<WPARAM>(before), 0);
    ASSERT_EQ(SubclassControl(early, CT_EDIT), 0);

    ASSERT_NE(MadeControl(&window, CT_EDIT, "", 0, 60, 80, 20, 0, 282), nullptr);
    HFONT replaced = newFont();
    HFONT held = newFont();
    SendMessageA(Control(282), WM_SETFONT, reinterpret_cast<WPARAM>(replaced), 0);
    SendMessageA(Control(282), WM_SETFONT, reinterpret_cast<WPARAM>(held), 0);

    for (HGDIOBJ font : {ownFont, static_cast<HGDIOBJ>(before), static_cast<HGDIOBJ>(replaced),
                         static_cast<HGDIOBJ>(held)})
        spy.Watch(font);
    for (int32_t id : {280, 281, 282})
        ASSERT_TRUE(DestroyWindow(Control(id)));

    EXPECT_EQ(spy.TimesDeleted(ownFont), 0);
    EXPECT_EQ(spy.TimesDeleted(before), 0);
    EXPECT_EQ(spy.TimesDeleted(replaced), 0);
    EXPECT_EQ(spy.TimesDeleted(held), 1);
    EXPECT_EQ(GetObjectType(held), 0u);
    EXPECT_TRUE(spy.DeadDeletes().empty());
    DeleteObject(before);
    DeleteObject(replaced);
}

}  // namespace

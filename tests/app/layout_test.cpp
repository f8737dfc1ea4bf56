#include "app/layout.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "app/monitor.h"
#include "runtime/core/strings.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "tests/support/image_pixels.h"
#include "tests/support/test_support.h"
#include "app_icon_pixels.h"

namespace {

// What the window looked like when it was first about to be shown.
struct FirstShow {
    bool seen = false;
    int children = 0;
    std::string interval;
    HWND focus = nullptr;
    RECT placement{};
    int32_t dialogKeys = -1;
    int32_t started = -1;
};
FirstShow firstShow;

int CountChildren(HWND hwnd) {
    int n = 0;
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        ++n;
    return n;
}

LRESULT CALLBACK WatchShow(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_SHOWWINDOW && message->wParam && !firstShow.seen &&
        mainWindow.hwnd && message->hwnd == mainWindow.hwnd) {
        firstShow.seen = true;
        firstShow.children = CountChildren(mainWindow.hwnd);
        char text[16] = {};
        GetWindowTextA(GetDlgItem(mainWindow.hwnd, ID_INTERVAL), text, sizeof(text));
        firstShow.interval = text;
        firstShow.focus = GetFocus();
        GetWindowRect(mainWindow.hwnd, &firstShow.placement);
        firstShow.dialogKeys = mainWindow.dialogKeys;
        firstShow.started = started;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CreateStringHeap(), 1);
        firstShow = {};
        started = 1;
        hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchShow, nullptr, GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
        // As the program's entry does it.
        ASSERT_EQ(OpenWindow(&mainWindow, 0, 0, kMainWindowWidth, kMainWindowHeight, kMainWindowFlags, nullptr,
                             kMainWindowCaption, MonitorHandler),
                  1);
        ASSERT_FALSE(IsWindowVisible(mainWindow.hwnd));
        BuildLayout();
        UnhookWindowsHookEx(hook);
        SetForegroundWindow(mainWindow.hwnd);
        PumpMessages();
    }
    void TearDown() override {
        CloseWindow(&mainWindow);
        PumpMessages();
    }
    HWND Control(int32_t id) const { return GetDlgItem(mainWindow.hwnd, id); }
    std::string TextOf(int32_t id) const {
        char text[256] = {};
        GetWindowTextA(Control(id), text, sizeof(text));
        return text;
    }
    HHOOK hook = nullptr;
};

struct Expected {
    int32_t id;
    const char* className;
    const char* text;
    RECT rect;          // in the client area
    uint32_t style;     // every bit the control must have
    uint32_t absent;    // bits it must not have
};

constexpr std::array<Expected, 9> kTable{{
    {101, "Static", "Ip Address", {10, 10, 110, 35}, 0x50000000, WS_TABSTOP | WS_BORDER},
    {103, "Edit", "", {110, 10, 310, 35}, 0x50810000, 0},
    {102, "Static", "Interval", {10, 45, 110, 70}, 0x50000000, WS_TABSTOP | WS_BORDER},
    {104, "Edit", "30", {110, 45, 150, 70}, 0x50810000, 0},
    {109, "Button", "Failure message", {10, 80, 160, 105}, 0x50010003, 0},
    {105, "Button", "Start", {100, 120, 160, 145}, 0x5001000B, 0},
    {106, "Button", "Stop", {170, 120, 230, 145}, 0x5001000B, 0},
    {107, "Button", "Exit", {240, 120, 300, 145}, 0x5001000B, 0},
    // The log's WS_VSCROLL shows once its text no longer fits.
    {108, "RichEdit", "", {10, 160, 382, 360}, 0x50800804, WS_TABSTOP},
}};

TEST_F(LayoutTest, NineControlsInTableOrderWhereTheTablePutsThem) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(mainWindow.hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    ASSERT_EQ(children.size(), kTable.size());
    for (size_t i = 0; i < kTable.size(); ++i) {
        const Expected& e = kTable[i];
        SCOPED_TRACE(e.id);
        HWND control = children[i];
        EXPECT_EQ(GetDlgCtrlID(control), e.id);
        char className[32] = {};
        GetClassNameA(control, className, sizeof(className));
        EXPECT_EQ(lstrcmpiA(className, e.className), 0) << className;
        EXPECT_EQ(TextOf(e.id), e.text);
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, mainWindow.hwnd, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, e.rect.left);
        EXPECT_EQ(r.top, e.rect.top);
        EXPECT_EQ(r.right, e.rect.right);
        EXPECT_EQ(r.bottom, e.rect.bottom);
        const auto style = static_cast<uint32_t>(GetWindowLongA(control, GWL_STYLE));
        EXPECT_EQ(style & e.style, e.style) << std::hex << style;
        EXPECT_EQ(style & e.absent, 0u) << std::hex << style;
        EXPECT_TRUE(IsWindowVisible(control));
    }
    const auto logEx = static_cast<uint32_t>(GetWindowLongA(Control(ID_LOG), GWL_EXSTYLE));
    EXPECT_NE(logEx & WS_EX_CLIENTEDGE, 0u);
}

TEST_F(LayoutTest, LabelsAndTheCheckBoxAreBlackOnWhite) {
    for (int32_t id : {101, 102, 109}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(GetPropA(Control(id), "FGRND")), 0u);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(GetPropA(Control(id), "BGRND")), 0xFFFFFFu);
        LOGBRUSH lb{};
        ASSERT_EQ(GetObjectA(GetPropA(Control(id), "BBRUSH"), sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
        EXPECT_EQ(lb.lbColor, RGB(255, 255, 255));
    }
    // The others keep their defaults.
    EXPECT_EQ(reinterpret_cast<uintptr_t>(GetPropA(Control(103), "BGRND")), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(GetPropA(Control(105), "BGRND")), GetSysColor(COLOR_BTNFACE));
}

TEST_F(LayoutTest, FirstShownCompleteCentredAndFocused) {
    ASSERT_TRUE(firstShow.seen);
    EXPECT_EQ(firstShow.children, 9);
    EXPECT_EQ(firstShow.interval, "30");
    EXPECT_EQ(firstShow.focus, Control(ID_TARGET));
    EXPECT_EQ(firstShow.dialogKeys, 1);
    EXPECT_EQ(firstShow.started, 0);
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const LONG x = (area.left + area.right) / 2 - 200;
    const LONG y = (area.top + area.bottom) / 2 - 200;
    EXPECT_EQ(firstShow.placement.left, x);
    EXPECT_EQ(firstShow.placement.top, y);

    EXPECT_TRUE(IsWindowVisible(mainWindow.hwnd));
    EXPECT_EQ(GetFocus(), Control(ID_TARGET));
    EXPECT_EQ(TextOf(ID_TARGET), "");
    EXPECT_EQ(TextOf(ID_LOG), "");
    EXPECT_EQ(SendMessageA(Control(ID_FAILURE_MESSAGE), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    char caption[32] = {};
    GetWindowTextA(mainWindow.hwnd, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Reachlet");
    RECT r{};
    GetWindowRect(mainWindow.hwnd, &r);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 400);
}

int32_t FocusedId() { return GetDlgCtrlID(GetFocus()); }

void PressTab() {
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001);
    WaitEvents(1);
}

TEST_F(LayoutTest, TabGoesRoundTheTabStopsInCreationOrder) {
    ASSERT_EQ(FocusedId(), ID_TARGET);
    std::vector<int32_t> visited;
    for (int i = 0; i < 7; ++i) {
        PressTab();
        visited.push_back(FocusedId());
    }
    EXPECT_EQ(visited, (std::vector<int32_t>{104, 109, 105, 106, 107, 103, 104}));
}

TEST_F(LayoutTest, ShiftTabGoesBackwards) {
    ASSERT_EQ(FocusedId(), ID_TARGET);
    BYTE keys[256] = {};
    ASSERT_TRUE(GetKeyboardState(keys));
    keys[VK_SHIFT] = 0x80;
    ASSERT_TRUE(SetKeyboardState(keys));
    std::vector<int32_t> visited;
    for (int i = 0; i < 3; ++i) {
        PressTab();
        visited.push_back(FocusedId());
    }
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(visited, (std::vector<int32_t>{107, 106, 105}));
}

TEST_F(LayoutTest, NotSizableNotMaximizableButMinimizable) {
    const auto style = static_cast<uint32_t>(GetWindowLongA(mainWindow.hwnd, GWL_STYLE));
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0u) << std::hex << style;
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_POPUP),
              static_cast<uint32_t>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_POPUP));
    // The frame offers no sizing edge where a sizable window has one.
    RECT r{};
    GetWindowRect(mainWindow.hwnd, &r);
    const LRESULT hit = SendMessageA(mainWindow.hwnd, WM_NCHITTEST, 0, MAKELPARAM(r.right - 1, r.bottom - 1));
    EXPECT_NE(hit, HTBOTTOMRIGHT);
    ShowWindow(mainWindow.hwnd, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(mainWindow.hwnd));
    ShowWindow(mainWindow.hwnd, SW_RESTORE);
    EXPECT_FALSE(IsIconic(mainWindow.hwnd));
}

TEST_F(LayoutTest, TheLogCannotBeTypedInto) {
    HWND log = Control(ID_LOG);
    const auto style = static_cast<uint32_t>(GetWindowLongA(log, GWL_STYLE));
    EXPECT_NE(style & ES_READONLY, 0u);
    SetFocus(log);
    ASSERT_EQ(GetFocus(), log);
    PostMessageA(log, WM_KEYDOWN, 'X', 0x002D0001);
    PostMessageA(log, WM_CHAR, 'x', 0x002D0001);
    WaitEvents(1);
    EXPECT_EQ(TextOf(ID_LOG), "");
    // Text the program puts there can still be selected and scrolled.
    std::string lines;
    for (int i = 0; i < 40; ++i)
        lines += "Contact successful at 12:00:00\r\n";
    SetWindowTextA(log, lines.c_str());
    EXPECT_NE(GetWindowLongA(log, GWL_STYLE) & WS_VSCROLL, 0);
    SendMessageA(log, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_GT(SendMessageA(log, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    SendMessageA(log, EM_SETSEL, 0, 7);
    DWORD start = 99;
    DWORD end = 99;
    SendMessageA(log, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 7u);
}

// The test program carries the program's icon resource; ImageMagick read
// each of its images from reachlet.ico.
TEST_F(LayoutTest, TheClassIconIsTheIconResourcesImagePixelForPixel) {
    ASSERT_NE(appIcon, nullptr);
    HICON classIcon = reinterpret_cast<HICON>(static_cast<uintptr_t>(GetClassLongA(mainWindow.hwnd, GCL_HICON)));
    EXPECT_EQ(classIcon, appIcon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(classIcon, &info));
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof(mask), &mask);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    // Loaded without a size, the icon has that of the group's first image.
    const ImagePixels& expected = kPixels_app_icon_0;
    ASSERT_EQ(mask.bmWidth, expected.width);
    ASSERT_EQ(mask.bmHeight, expected.height);

    ExpectIconPixels(classIcon, expected);
}

}  // namespace

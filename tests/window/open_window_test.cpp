#include "runtime/window/open_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/window/message_loop.h"
#include "tests/support/test_support.h"

namespace {

std::vector<int32_t> handledEvents;
int32_t RecordEvents() {
    handledEvents.push_back(messageRecord.eventCode);
    return 0;
}

class OpenWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        CloseWindow(&child);
        CloseWindow(&window);
        PumpMessages();
    }
    WindowRecord window{};
    WindowRecord child{};
};

TEST_F(OpenWindowTest, MonitorFlagsGiveHiddenCaptionedPopupWithScreenSurface) {
    ASSERT_EQ(OpenWindow(&window, 0, 0, 400, 400, WS_MINIMIZEBOX | RF_HIDDEN, nullptr, "Reachlet",
                         RecordEvents),
              1);
    ASSERT_NE(window.hwnd, nullptr);
    char className[64] = {};
    GetClassNameA(window.hwnd, className, sizeof(className));
    EXPECT_STREQ(className, "CorvaneWndClass");
    const LONG style = GetWindowLongA(window.hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
              static_cast<LONG>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
    EXPECT_EQ(style & (WS_VISIBLE | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD), 0);
    EXPECT_FALSE(IsWindowVisible(window.hwnd));
    EXPECT_EQ(window.surfaceMode, 1u);
    ASSERT_NE(window.surfaceBitmap, nullptr);
    BITMAP bm{};
    ASSERT_NE(GetObjectA(window.surfaceBitmap, sizeof(bm), &bm), 0);
    EXPECT_EQ(bm.bmWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(bm.bmHeight, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(window.fillColor, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(window.bkColor, window.fillColor);
    EXPECT_NE(window.pen, nullptr);
    EXPECT_NE(window.font, nullptr);
    EXPECT_EQ(window.drawWordA, 0);
    EXPECT_EQ(window.drawWordB, 1);
    EXPECT_EQ(window.handler, RecordEvents);
    EXPECT_EQ(reinterpret_cast<WindowRecord*>(GetWindowLongA(window.hwnd, 0)), &window);
    char caption[32] = {};
    GetWindowTextA(window.hwnd, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Reachlet");
}

}  // namespace

namespace {

struct FlagCase {
    uint32_t flags;
    uint32_t styleSet;     // bits that must be set
    uint32_t styleClear;   // bits that must be clear
    uint32_t exSet;
};

class FlagDecodingTest : public OpenWindowTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(FlagDecodingTest, RuntimeBitsBecomeStyles) {
    const FlagCase c = GetParam();
    ASSERT_EQ(OpenWindow(&window, 10, 20, 200, 150, c.flags, nullptr, "flags", nullptr), 1);
    const auto style = static_cast<uint32_t>(GetWindowLongA(window.hwnd, GWL_STYLE));
    const auto ex = static_cast<uint32_t>(GetWindowLongA(window.hwnd, GWL_EXSTYLE));
    EXPECT_EQ(style & c.styleSet, c.styleSet) << std::hex << style;
    EXPECT_EQ(style & c.styleClear, 0u) << std::hex << style;
    EXPECT_EQ(ex & c.exSet, c.exSet) << std::hex << ex;
    // Bits 0x10 to 0x800 are the runtime's own and never reach the window.
    EXPECT_EQ(style & 0xFF0, 0u) << std::hex << style;
}

INSTANTIATE_TEST_SUITE_P(
    Flags, FlagDecodingTest,
    ::testing::Values(
        FlagCase{0, WS_VISIBLE | WS_POPUP | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU, WS_CHILD, 0},
        FlagCase{RF_HIDDEN, WS_POPUP | WS_CAPTION, WS_VISIBLE, 0},
        FlagCase{RF_NO_CAPTION, WS_VISIBLE | WS_POPUP, WS_CAPTION | WS_SYSMENU, 0},
        FlagCase{RF_TOOLWINDOW | RF_HIDDEN, WS_CAPTION, WS_VISIBLE, WS_EX_TOOLWINDOW},
        FlagCase{RF_TOPMOST, WS_VISIBLE, 0, WS_EX_TOPMOST},
        FlagCase{WS_THICKFRAME | WS_MAXIMIZEBOX, WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CAPTION, 0, 0}));

TEST_F(OpenWindowTest, SurfaceSizesFollowTheFlags) {
    BITMAP bm{};
    ASSERT_EQ(OpenWindow(&window, 0, 0, 300, 200, RF_SURFACE_WINDOW | RF_HIDDEN, nullptr, "w", nullptr), 1);
    ASSERT_NE(GetObjectA(window.surfaceBitmap, sizeof(bm), &bm), 0);
    EXPECT_EQ(bm.bmWidth, 301);
    EXPECT_EQ(bm.bmHeight, 201);
    EXPECT_EQ(window.surfaceMode, 1u);
    CloseWindow(&window);

    ASSERT_EQ(OpenWindow(&window, 0, 0, 300, 200, RF_SURFACE_CLIENT | RF_HIDDEN, nullptr, "c", nullptr), 1);
    RECT client{};
    GetClientRect(window.hwnd, &client);
    ASSERT_NE(GetObjectA(window.surfaceBitmap, sizeof(bm), &bm), 0);
    EXPECT_EQ(bm.bmWidth, client.right);
    EXPECT_EQ(bm.bmHeight, client.bottom);
    EXPECT_LT(client.bottom, 200);   // the caption is outside the client area
    EXPECT_EQ(window.surfaceMode, 0x11u);
}

TEST_F(OpenWindowTest, NoSurfaceKeepsTheFreshDCsWhiteBackground) {
    ASSERT_EQ(OpenWindow(&window, 0, 0, 120, 80, RF_NO_SURFACE | RF_HIDDEN, nullptr, "n", nullptr), 1);
    EXPECT_EQ(window.surfaceMode, 0u);
    EXPECT_EQ(window.surfaceBitmap, nullptr);
    EXPECT_EQ(window.bkColor, RGB(255, 255, 255));
    CloseWindow(&window);

    ASSERT_EQ(OpenWindow(&window, 0, 0, 120, 80, RF_NO_SURFACE | RF_SURFACE_CLIENT | RF_HIDDEN, nullptr,
                         "nc", nullptr),
              1);
    EXPECT_EQ(window.surfaceMode, 0x10u);
    EXPECT_NE(window.surfaceBitmap, nullptr);
}

TEST_F(OpenWindowTest, SurfaceStartsFilledWithTheWindowColour) {
    ASSERT_EQ(OpenWindow(&window, 0, 0, 64, 48, RF_SURFACE_WINDOW | RF_HIDDEN, nullptr, "s", nullptr), 1);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, window.surfaceBitmap);
    EXPECT_EQ(GetPixel(memory, 0, 0), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(GetPixel(memory, 63, 47), GetSysColor(COLOR_WINDOW));
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST_F(OpenWindowTest, ParentRecordWithoutWindowMeansNoParent) {
    WindowRecord closed{};
    ASSERT_EQ(OpenWindow(&window, 0, 0, 100, 100, RF_HIDDEN, &closed, "p", nullptr), 1);
    const LONG style = GetWindowLongA(window.hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_EQ(GetParent(window.hwnd), nullptr);
}

TEST_F(OpenWindowTest, ChildWindowOfAnOrdinaryParent) {
    ASSERT_EQ(OpenWindow(&window, 0, 0, 300, 300, RF_HIDDEN, nullptr, "parent", nullptr), 1);
    ASSERT_EQ(OpenWindow(&child, 5, 6, 50, 40, RF_NO_CAPTION, &window, "child", nullptr), 1);
    const LONG style = GetWindowLongA(child.hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS), static_cast<LONG>(WS_CHILD | WS_CLIPSIBLINGS));
    EXPECT_EQ(GetParent(child.hwnd), window.hwnd);
    EXPECT_EQ(GetWindowLongA(child.hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD, 0);
}

TEST_F(OpenWindowTest, MdiClientAtomTransitions) {
    EXPECT_EQ(MdiClientAtom, 0);
    ASSERT_EQ(OpenWindow(&child, 0, 0, 100, 100, RF_HIDDEN, nullptr, "plain", nullptr), 1);
    EXPECT_EQ(MdiClientAtom, 0xFFFF);
    ASSERT_EQ(OpenWindow(&window, 0, 0, 640, 480, RF_FRAME | RF_HIDDEN, nullptr, "frame", nullptr), 1);
    ASSERT_NE(window.mdiClient, nullptr);
    EXPECT_EQ(MdiClientAtom, GetClassWord(window.mdiClient, GCW_ATOM));
    EXPECT_NE(MdiClientAtom, 0);
    EXPECT_NE(MdiClientAtom, 0xFFFF);
}

TEST_F(OpenWindowTest, FrameHasWindowMenuAndFullSizeMdiClient) {
    ASSERT_EQ(OpenWindow(&window, 0, 0, 640, 480, RF_FRAME | RF_HIDDEN, nullptr, "frame", nullptr), 1);
    char className[64] = {};
    GetClassNameA(window.hwnd, className, sizeof(className));
    EXPECT_STREQ(className, "CorvaneFrameClass");

    HMENU bar = GetMenu(window.hwnd);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    char text[32] = {};
    GetMenuStringA(bar, 0, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "&Window");
    HMENU popup = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(popup), 3);
    const struct { UINT id; const char* text; } items[] = {
        {32773, "&Cascade"}, {32774, "&Tile"}, {32775, "&Arrange Icons"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(GetMenuItemID(popup, i), items[i].id);
        GetMenuStringA(popup, i, text, sizeof(text), MF_BYPOSITION);
        EXPECT_STREQ(text, items[i].text);
    }

    GetClassNameA(window.mdiClient, className, sizeof(className));
    EXPECT_STREQ(className, "MDIClient");
    EXPECT_EQ(GetDlgCtrlID(window.mdiClient), 0xCAC);
    EXPECT_TRUE(GetWindowLongA(window.mdiClient, GWL_STYLE) & WS_VISIBLE);
    RECT frameClient{}, mdi{};
    GetClientRect(window.hwnd, &frameClient);
    GetWindowRect(window.mdiClient, &mdi);
    EXPECT_EQ(mdi.right - mdi.left, frameClient.right);
    EXPECT_EQ(mdi.bottom - mdi.top, frameClient.bottom);
}

TEST_F(OpenWindowTest, ChildOfAFrameIsAnMdiChildInTheClient) {
    ASSERT_EQ(OpenWindow(&window, 0, 0, 640, 480, RF_FRAME, nullptr, "frame", nullptr), 1);
    ASSERT_EQ(OpenWindow(&child, 0, 0, 200, 150, 0, &window, "document", nullptr), 1);
    EXPECT_EQ(GetParent(child.hwnd), window.mdiClient);
    EXPECT_TRUE(GetWindowLongA(child.hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(window.mdiClient, WM_MDIGETACTIVE, 0, 0)), child.hwnd);
}

TEST_F(OpenWindowTest, SetDialogKeysNeedsAWindow) {
    WindowRecord closed{};
    SetDialogKeys(&closed, 5);
    EXPECT_EQ(closed.dialogKeys, 0);
    ASSERT_EQ(OpenWindow(&window, 0, 0, 100, 100, RF_HIDDEN, nullptr, "k", nullptr), 1);
    SetDialogKeys(&window, 5);
    EXPECT_EQ(window.dialogKeys, 1);
    SetDialogKeys(&window, 0);
    EXPECT_EQ(window.dialogKeys, 0);
}

// Messages during CreateWindowExA reach the handler through the record being
// created; the record's handle is already filled in by then.
HWND handleSeenAtCreate;
int32_t createEvents;
WindowRecord* createRecord;
int32_t WatchCreate() {
    if (messageRecord.eventCode == WM_CREATE) {
        ++createEvents;
        handleSeenAtCreate = messageRecord.window->hwnd;
        createRecord = messageRecord.window;
    }
    return 0;
}

TEST_F(OpenWindowTest, CreationMessagesReachTheHandler) {
    ASSERT_EQ(OpenWindow(&window, 0, 0, 100, 100, RF_HIDDEN, nullptr, "c", WatchCreate), 1);
    EXPECT_EQ(createEvents, 1);
    EXPECT_EQ(createRecord, &window);
    EXPECT_EQ(handleSeenAtCreate, window.hwnd);
    EXPECT_EQ(WindowUnderCreation, nullptr);
}

TEST_F(OpenWindowTest, FailedCreationLeavesTheRecordClosed) {
    WindowRecord parent{};
    ASSERT_EQ(OpenWindow(&parent, 0, 0, 100, 100, RF_HIDDEN, nullptr, "p", nullptr), 1);
    parent.hwnd = reinterpret_cast<HWND>(0x1234);   // no such window
    EXPECT_EQ(OpenWindow(&window, 0, 0, 10, 10, 0, &parent, "x", RecordEvents), 0);
    EXPECT_EQ(window.hwnd, nullptr);
    EXPECT_EQ(window.handler, nullptr);
    EXPECT_EQ(window.surfaceBitmap, nullptr);
    EXPECT_EQ(WindowUnderCreation, nullptr);
}

}  // namespace

#include "runtime/window/window_commands.h"

#include <gtest/gtest.h>

#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "tests/support/test_support.h"

namespace {

RECT WorkArea() {
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

RECT Placement(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

// A plain top-level window, owned by owner when given.
HWND PlainWindow(HWND owner, int x, int y, int width, int height, DWORD style) {
    return CreateWindowExA(0, "Static", "plain", WS_POPUP | style, x, y, width, height, owner, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

class WindowCommandsTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (owned)
            DestroyWindow(owned);
        if (owner)
            DestroyWindow(owner);
        CloseWindow(&child);
        CloseWindow(&window);
        CloseWindow(&other);
        PumpMessages();
    }
    // The record for a window the test made itself.
    WindowRecord Record(HWND hwnd) const {
        WindowRecord record{};
        record.hwnd = hwnd;
        return record;
    }
    WindowRecord window{};
    WindowRecord child{};
    WindowRecord other{};
    HWND owner = nullptr;
    HWND owned = nullptr;
};

TEST_F(WindowCommandsTest, AnOwnerlessWindowIsCentredInTheWorkAreaWithoutBeingShown) {
    ASSERT_EQ(OpenWindow(&window, 0, 0, 400, 400, WS_MINIMIZEBOX | RF_HIDDEN, nullptr, "Reachlet", nullptr), 1);
    const RECT area = WorkArea();
    HWND activeBefore = GetActiveWindow();
    EXPECT_EQ(CenterWindow(&window), 0);
    const RECT r = Placement(window.hwnd);
    EXPECT_EQ(r.left, (area.left + area.right) / 2 - 200);
    EXPECT_EQ(r.top, (area.top + area.bottom) / 2 - 200);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 400);
    EXPECT_FALSE(IsWindowVisible(window.hwnd));
    EXPECT_EQ(GetActiveWindow(), activeBefore);
}

TEST_F(WindowCommandsTest, AVisibleOwnerIsTheReference) {
    owner = PlainWindow(nullptr, 100, 120, 301, 201, WS_VISIBLE);
    owned = PlainWindow(owner, 0, 0, 101, 51, 0);
    ASSERT_TRUE(owner && owned);
    WindowRecord record = Record(owned);
    EXPECT_EQ(CenterWindow(&record), 0);
    // (100 + 401) / 2 - 101 / 2 and (120 + 321) / 2 - 51 / 2, both truncating.
    const RECT r = Placement(owned);
    EXPECT_EQ(r.left, 250 - 50);
    EXPECT_EQ(r.top, 220 - 25);
    EXPECT_EQ(r.right - r.left, 101);
}

TEST_F(WindowCommandsTest, AHiddenOrMinimizedOwnerIsPassedOverForTheWorkArea) {
    const RECT area = WorkArea();
    owner = PlainWindow(nullptr, 0, 0, 200, 150, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    owned = PlainWindow(owner, 0, 0, 100, 50, 0);
    ASSERT_TRUE(owner && owned);
    WindowRecord record = Record(owned);
    EXPECT_EQ(CenterWindow(&record), 0);
    RECT r = Placement(owned);
    EXPECT_EQ(r.left, (area.left + area.right) / 2 - 50);
    EXPECT_EQ(r.top, (area.top + area.bottom) / 2 - 25);

    ShowWindow(owner, SW_SHOWNOACTIVATE);
    ShowWindow(owner, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(owner));
    SetWindowPos(owned, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(CenterWindow(&record), 0);
    r = Placement(owned);
    EXPECT_EQ(r.left, (area.left + area.right) / 2 - 50);
    EXPECT_EQ(r.top, (area.top + area.bottom) / 2 - 25);
}

TEST_F(WindowCommandsTest, AChildIsCentredInItsParentsClientAreaAndKeptInside) {
    ASSERT_EQ(OpenWindow(&window, 30, 40, 500, 400, RF_HIDDEN, nullptr, "parent", nullptr), 1);
    ASSERT_EQ(OpenWindow(&child, 0, 0, 101, 61, RF_NO_CAPTION, &window, "", nullptr), 1);
    RECT client{};
    GetClientRect(window.hwnd, &client);
    EXPECT_EQ(CenterWindow(&child), 0);
    RECT r = Placement(child.hwnd);
    MapWindowPoints(nullptr, window.hwnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, client.right / 2 - 50);
    EXPECT_EQ(r.top, client.bottom / 2 - 30);
    EXPECT_EQ(r.right - r.left, 101);
    EXPECT_EQ(r.bottom - r.top, 61);

    // Larger than the parent: the top-left corner stays on the client area's.
    SetWindowPos(child.hwnd, nullptr, 50, 50, 900, 700, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(CenterWindow(&child), 0);
    r = Placement(child.hwnd);
    MapWindowPoints(nullptr, window.hwnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
}

TEST_F(WindowCommandsTest, AnOwnerAtTheEdgeGivesAPlaceInsideTheWorkArea) {
    const RECT area = WorkArea();
    owner = PlainWindow(nullptr, area.right - 100, area.bottom - 80, 200, 160, WS_VISIBLE);
    owned = PlainWindow(owner, 0, 0, 300, 240, 0);
    ASSERT_TRUE(owner && owned);
    WindowRecord record = Record(owned);
    EXPECT_EQ(CenterWindow(&record), 0);
    RECT r = Placement(owned);
    EXPECT_EQ(r.right, area.right);
    EXPECT_EQ(r.bottom, area.bottom);

    SetWindowPos(owner, nullptr, area.left - 150, area.top - 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(CenterWindow(&record), 0);
    r = Placement(owned);
    EXPECT_EQ(r.left, area.left);
    EXPECT_EQ(r.top, area.top);
}

TEST_F(WindowCommandsTest, ShowingTheWindowOrOneOfItsControls) {
    ASSERT_EQ(OpenWindow(&window, 0, 0, 300, 200, RF_HIDDEN, nullptr, "show", nullptr), 1);
    HWND edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, window.hwnd,
                                reinterpret_cast<HMENU>(104), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(ShowWindowOrControl(&window, SW_SHOW, 0), 0);
    EXPECT_TRUE(IsWindowVisible(window.hwnd));
    EXPECT_EQ(ShowWindowOrControl(&window, SW_HIDE, 104), 0);
    EXPECT_FALSE(IsWindowVisible(edit));
    EXPECT_TRUE(IsWindowVisible(window.hwnd));
    EXPECT_EQ(ShowWindowOrControl(&window, SW_HIDE, 105), 0);
    EXPECT_TRUE(IsWindowVisible(window.hwnd));
    EXPECT_EQ(ShowWindowOrControl(&window, SW_SHOW, 104), 0);
    EXPECT_TRUE(IsWindowVisible(edit));
}

TEST_F(WindowCommandsTest, TheClassIconChangesForEveryWindowOfTheClass) {
    ASSERT_EQ(OpenWindow(&window, 0, 0, 300, 200, RF_HIDDEN, nullptr, "one", nullptr), 1);
    ASSERT_EQ(OpenWindow(&other, 0, 0, 300, 200, RF_HIDDEN, nullptr, "two", nullptr), 1);
    HICON icon = LoadIconA(nullptr, IDI_WARNING);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(reinterpret_cast<HICON>(GetClassLongA(other.hwnd, GCL_HICON)), icon);
    EXPECT_EQ(SetClassIcon(&window, icon), 0);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongA(other.hwnd, GCL_HICON)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongA(window.hwnd, GCL_HICON)), icon);
}

TEST_F(WindowCommandsTest, CaptionChangesAndARecordWithoutWindowIsLeftAlone) {
    ASSERT_EQ(OpenWindow(&window, 0, 0, 300, 200, RF_HIDDEN, nullptr, "Reachlet", nullptr), 1);
    EXPECT_EQ(SetCaption(&window, "Reachlet - Stopped"), 0);
    char caption[64] = {};
    GetWindowTextA(window.hwnd, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Reachlet - Stopped");

    WindowRecord closed{};
    EXPECT_EQ(CenterWindow(&closed), 0);
    EXPECT_EQ(ShowWindowOrControl(&closed, SW_SHOW, 0), 0);
    EXPECT_EQ(SetCaption(&closed, "x"), 0);
    EXPECT_EQ(SetClassIcon(&closed, nullptr), 0);
    EXPECT_EQ(CenterWindow(nullptr), 0);
}

}  // namespace

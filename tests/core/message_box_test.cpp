#include "runtime/window/message_box.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

// A visit to a message box during its modal loop: a thread timer looks for
// the visible box with the caption, runs the visit on it and then presses
// the button with a real click message.
struct BoxVisit {
    const char* caption;
    void (*onBox)(HWND box);
    int button;
    bool done;
};
std::vector<BoxVisit*> visits;
int32_t ticksWithoutBox;

struct FindCaption {
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindBoxWindow(HWND hwnd, LPARAM lParam) {
    auto* find = reinterpret_cast<FindCaption*>(lParam);
    char className[32] = {};
    char text[256] = {};
    GetClassNameA(hwnd, className, sizeof(className));
    GetWindowTextA(hwnd, text, sizeof(text));
    if (std::strcmp(className, "#32770") == 0 && IsWindowVisible(hwnd) &&
        (!find->caption || std::strcmp(text, find->caption) == 0)) {
        find->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindBox(const char* caption) {
    FindCaption find{caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindBoxWindow, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

void CALLBACK VisitBoxes(HWND, UINT, UINT_PTR, DWORD) {
    for (BoxVisit* visit : visits) {
        if (visit->done)
            continue;
        const HWND box = FindBox(visit->caption);
        if (!box)
            continue;
        visit->done = true;
        ticksWithoutBox = 0;
        if (visit->onBox)
            visit->onBox(box);
        PostMessageA(GetDlgItem(box, visit->button), BM_CLICK, 0, 0);
        return;
    }
    // Bounded: a box nobody visits is closed after about five seconds.
    if (++ticksWithoutBox > 500) {
        ADD_FAILURE() << "no message box to visit";
        if (const HWND stray = FindBox(nullptr))
            PostMessageA(stray, WM_COMMAND, IDOK, 0);
    }
}

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

HWND MakePopup(int x, int y, int width, int height, DWORD style = WS_POPUP, HWND owner = nullptr) {
    return CreateWindowExA(0, "STATIC", "popup", style, x, y, width, height, owner, nullptr, nullptr, nullptr);
}

RECT RectOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

// The place the centring rule gives a window of the size over the reference.
POINT Expected(const RECT& ref, int width, int height) {
    const RECT work = WorkArea();
    auto coordinate = [](int low, int high, int size, int workHigh) {
        const int place = (high - low - size) / 2 + low;
        if (place < 0)
            return 0;
        return place + size > workHigh ? workHigh - size : place;
    };
    return POINT{coordinate(ref.left, ref.right, width, work.right),
                 coordinate(ref.top, ref.bottom, height, work.bottom)};
}

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        timer = SetTimer(nullptr, 0, 10, VisitBoxes);
        ASSERT_NE(timer, 0u);
    }
    void TearDown() override {
        KillTimer(nullptr, timer);
        visits.clear();
        for (HWND w : made)
            DestroyWindow(w);
        PumpMessages();
    }
    // Shows a box owned by a visible pop-up at the rectangle (or by no
    // window); boxRect receives the box's rectangle as it stood when shown.
    int32_t ShowOver(const RECT* ownerRect, const char* text = "Centred") {
        WindowRecord owner{};
        if (ownerRect) {
            owner.hwnd = MakePopup(ownerRect->left, ownerRect->top, ownerRect->right - ownerRect->left,
                                   ownerRect->bottom - ownerRect->top, WS_POPUP | WS_VISIBLE);
            made.push_back(owner.hwnd);
        }
        BoxVisit visit{"Place", [](HWND box) { boxRect = RectOf(box); }, IDOK, false};
        visits.push_back(&visit);
        const int32_t result = ShowMessage(ownerRect ? &owner : nullptr, text, "Place", 0);
        EXPECT_TRUE(visit.done);
        return result;
    }
    UINT_PTR timer = 0;
    std::vector<HWND> made;
    static RECT boxRect;
};
RECT MessageBoxTest::boxRect;

HICON shownIcon;
bool cancelShown;
std::string shownText;

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM) {
    char className[32] = {};
    GetClassNameA(child, className, sizeof(className));
    if (_stricmp(className, "Static") != 0)
        return TRUE;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        shownIcon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    } else {
        char text[256] = {};
        GetWindowTextA(child, text, sizeof(text));
        if (text[0])
            shownText = text;
    }
    return TRUE;
}

void ReadBox(HWND box) {
    EnumChildWindows(box, ReadBoxChild, 0);
    const HWND cancel = GetDlgItem(box, IDCANCEL);
    cancelShown = cancel && IsWindowVisible(cancel);
}

TEST_F(MessageBoxTest, DefaultFlagsGiveExclamationAndOk) {
    BoxVisit visit{"Default", ReadBox, IDOK, false};
    visits.push_back(&visit);
    EXPECT_EQ(ShowMessage(nullptr, "Minimum interval is 10 Seconds", "Default", 0), IDOK);
    ASSERT_TRUE(visit.done);
    EXPECT_EQ(shownIcon, LoadIconA(nullptr, IDI_EXCLAMATION));
    EXPECT_FALSE(cancelShown);
    EXPECT_EQ(shownText, "Minimum interval is 10 Seconds");
    EXPECT_EQ(messageBoxHook, nullptr);
}

TEST_F(MessageBoxTest, GivenFlagsChooseIconAndButtons) {
    BoxVisit visit{"Failure", ReadBox, IDNO, false};
    visits.push_back(&visit);
    EXPECT_EQ(ShowMessage(nullptr, "No response", "Failure", MB_YESNO | MB_ICONHAND), IDNO);
    ASSERT_TRUE(visit.done);
    EXPECT_EQ(shownIcon, LoadIconA(nullptr, IDI_HAND));
}

TEST_F(MessageBoxTest, WithoutOwnerTheBoxIsCentredOnTheScreen) {
    EXPECT_EQ(ShowOver(nullptr), IDOK);
    const RECT screen = RectOf(GetDesktopWindow());
    const POINT want = Expected(screen, boxRect.right - boxRect.left, boxRect.bottom - boxRect.top);
    EXPECT_EQ(boxRect.left, want.x);
    EXPECT_EQ(boxRect.top, want.y);
}

TEST_F(MessageBoxTest, BoxIsCentredOverItsOwner) {
    const RECT owner{100, 80, 100 + 500, 80 + 300};
    EXPECT_EQ(ShowOver(&owner), IDOK);
    const int width = boxRect.right - boxRect.left;
    const int height = boxRect.bottom - boxRect.top;
    EXPECT_EQ(boxRect.left, (500 - width) / 2 + 100);
    EXPECT_EQ(boxRect.top, (300 - height) / 2 + 80);
}

TEST_F(MessageBoxTest, NegativePlaceIsHeldAtZero) {
    const RECT owner{-700, -600, -700 + 300, -600 + 200};
    ShowOver(&owner);
    EXPECT_EQ(boxRect.left, 0);
    EXPECT_EQ(boxRect.top, 0);
}

TEST_F(MessageBoxTest, FarEdgeIsHeldAtTheWorkArea) {
    const RECT work = WorkArea();
    const RECT owner{work.right - 100, work.bottom - 50, work.right + 300, work.bottom + 150};
    ShowOver(&owner);
    EXPECT_EQ(boxRect.right, work.right);
    EXPECT_EQ(boxRect.bottom, work.bottom);
}

TEST_F(MessageBoxTest, BoxWiderThanTheWorkAreaMayStartLeftOfIt) {
    const RECT work = WorkArea();
    // An owner far wider than the box puts the centred place right of 0;
    // the far-edge rule then moves the box left of the screen.
    const int ownerWidth = 10 * (work.right - work.left);
    const RECT owner{0, 100, ownerWidth, 300};
    ShowOver(&owner, std::string(150, 'W').c_str());
    const int width = boxRect.right - boxRect.left;
    ASSERT_GT(width, work.right - work.left);
    EXPECT_EQ(boxRect.left, work.right - width);
    EXPECT_LT(boxRect.left, 0);
}

// Windows made and shown while the box is open: which are centred, and
// where. (Shown, because under Wine the place is given at first activation.)
HWND captionedPopup;
HWND overlappedCaptioned;
HWND plainChild;
HWND ownerOfPopup;
void MakeWindowsDuringBox(HWND) {
    captionedPopup = MakePopup(5, 5, 200, 100, WS_POPUP | WS_CAPTION | WS_VISIBLE, ownerOfPopup);
    overlappedCaptioned = MakePopup(5, 5, 120, 60, WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE);
    plainChild = CreateWindowExA(0, "STATIC", "child", WS_CHILD | WS_VISIBLE, 5, 5, 30, 20, ownerOfPopup, nullptr,
                                 nullptr, nullptr);
}

TEST_F(MessageBoxTest, WindowsCreatedDuringTheBoxAreCentredToo) {
    ownerOfPopup = MakePopup(300, 200, 400, 300, WS_POPUP | WS_VISIBLE);
    BoxVisit visit{"During", MakeWindowsDuringBox, IDOK, false};
    visits.push_back(&visit);
    ShowMessage(nullptr, "text", "During", 0);
    ASSERT_TRUE(visit.done);
    made.insert(made.end(), {captionedPopup, overlappedCaptioned, ownerOfPopup});

    const RECT popup = RectOf(captionedPopup);
    EXPECT_EQ(popup.left, (400 - 200) / 2 + 300);
    EXPECT_EQ(popup.top, (300 - 100) / 2 + 200);
    const RECT overlapped = RectOf(overlappedCaptioned);
    const POINT want = Expected(RectOf(GetDesktopWindow()), 120, 60);
    EXPECT_EQ(overlapped.left, want.x);
    EXPECT_EQ(overlapped.top, want.y);
    const RECT child = RectOf(plainChild);
    EXPECT_EQ(child.left, 300 + 5);
    EXPECT_EQ(child.top, 200 + 5);
    // Once the box is gone a captioned pop-up is left where it is made.
    const HWND later = MakePopup(5, 5, 200, 100, WS_POPUP | WS_CAPTION | WS_VISIBLE);
    made.push_back(later);
    EXPECT_EQ(RectOf(later).left, 5);
}

HWND movedPopup;
RECT movedAfterReactivation;
void MoveAndReactivate(HWND box) {
    movedPopup = MakePopup(5, 5, 150, 80, WS_POPUP | WS_CAPTION | WS_VISIBLE);
    SetWindowPos(movedPopup, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetActiveWindow(box);
    SetActiveWindow(movedPopup);
    movedAfterReactivation = RectOf(movedPopup);
    SetActiveWindow(box);
}

TEST_F(MessageBoxTest, MovedWindowIsNotPlacedAgain) {
    BoxVisit visit{"Moved", MoveAndReactivate, IDOK, false};
    visits.push_back(&visit);
    ShowMessage(nullptr, "text", "Moved", 0);
    ASSERT_TRUE(visit.done);
    made.push_back(movedPopup);
    EXPECT_EQ(movedAfterReactivation.left, 20);
    EXPECT_EQ(movedAfterReactivation.top, 30);
}

HHOOK outerHook;
HHOOK innerHook;
HHOOK outerHookAfterInner;
int32_t innerResult;
RECT popupAfterInner;
HWND popupMadeAfterInner;

void VisitInner(HWND) { innerHook = messageBoxHook; }

BoxVisit innerVisit{"Inner", VisitInner, IDOK, false};

void VisitOuter(HWND) {
    outerHook = messageBoxHook;
    visits.push_back(&innerVisit);
    innerResult = ShowMessage(nullptr, "inner", "Inner", 0);
    outerHookAfterInner = messageBoxHook;
    popupMadeAfterInner = MakePopup(5, 5, 100, 50, WS_POPUP | WS_VISIBLE);
    popupAfterInner = RectOf(popupMadeAfterInner);
}

TEST_F(MessageBoxTest, NestedBoxesRestoreTheSlotAndLeaveNoHook) {
    BoxVisit outer{"Outer", VisitOuter, IDOK, false};
    visits.push_back(&outer);
    EXPECT_EQ(ShowMessage(nullptr, "outer", "Outer", 0), IDOK);
    ASSERT_TRUE(outer.done);
    ASSERT_TRUE(innerVisit.done);
    made.push_back(popupMadeAfterInner);
    EXPECT_EQ(innerResult, IDOK);
    EXPECT_NE(outerHook, nullptr);
    EXPECT_NE(innerHook, nullptr);
    EXPECT_NE(innerHook, outerHook);
    EXPECT_EQ(outerHookAfterInner, outerHook);
    // The outer box's hook still centred a window after the inner box ended.
    const POINT want = Expected(RectOf(GetDesktopWindow()), 100, 50);
    EXPECT_EQ(popupAfterInner.left, want.x);
    EXPECT_EQ(popupAfterInner.top, want.y);

    EXPECT_EQ(messageBoxHook, nullptr);
    const HWND later = MakePopup(5, 5, 100, 50, WS_POPUP | WS_CAPTION | WS_VISIBLE);
    made.push_back(later);
    EXPECT_EQ(RectOf(later).left, 5);
    EXPECT_EQ(RectOf(later).top, 5);
}

}  // namespace

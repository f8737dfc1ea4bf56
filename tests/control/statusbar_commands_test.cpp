// The status bar command table against a real status bar.

#include <array>
#include <string>

#include "tests/control/command_fixture.h"

namespace {

constexpr int32_t kStatusId = 601;

class StatusBarCommandTest : public ControlCommandTest {
protected:
    void SetUp() override {
        ControlCommandTest::SetUp();
        bar = Make(STATUSCLASSNAMEA, 0, kStatusId);
        ASSERT_NE(bar, nullptr);
    }
    int32_t Parts(std::array<int32_t, 8>* edges = nullptr) const {
        std::array<int32_t, 8> scratch{};
        auto* target = edges ? edges : &scratch;
        return static_cast<int32_t>(
            SendMessageA(bar, SB_GETPARTS, target->size(), reinterpret_cast<LPARAM>(target->data())));
    }
    std::string PartText(int32_t part) const {
        char text[128] = {};
        SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
        return text;
    }
    HWND bar = nullptr;
};

TEST_F(StatusBarCommandTest, PartsComeFromTheCallersEdges) {
    std::array<int32_t, 3> edges{100, 250, -1};
    EXPECT_EQ(Command(kStatusId, CC_SB_SET_PARTS, IntArg(3), RefArg(edges.data())), 0);
    std::array<int32_t, 8> read{};
    ASSERT_EQ(Parts(&read), 3);
    EXPECT_EQ(read[0], 100);
    EXPECT_EQ(read[1], 250);
    EXPECT_EQ(read[2], -1);
}

TEST_F(StatusBarCommandTest, PartsWithoutAReferenceSendNothing) {
    std::array<int32_t, 3> edges{100, 250, -1};
    const auto address = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(edges.data()));
    EXPECT_EQ(Command(kStatusId, CC_SB_SET_PARTS, IntArg(3), IntArg(static_cast<int32_t>(address))), 0);
    EXPECT_EQ(Command(kStatusId, CC_SB_SET_PARTS, IntArg(3), TypedValue(address, TY_STRING | TY_BYREF)), 0);
    EXPECT_EQ(Command(kStatusId, CC_SB_SET_PARTS, StrArg("3"), RefArg(edges.data())), 0);
    EXPECT_EQ(Parts(), 1);
}

TEST_F(StatusBarCommandTest, TextGoesIntoItsPartWithItsDrawingType) {
    std::array<int32_t, 2> edges{120, -1};
    Command(kStatusId, CC_SB_SET_PARTS, IntArg(2), RefArg(edges.data()));
    EXPECT_EQ(Command(kStatusId, CC_SB_SET_TEXT, IntArg(0), StrArg("Ready")), 0);
    EXPECT_EQ(Command(kStatusId, CC_SB_SET_TEXT, IntArg(1 | SBT_POPOUT), StrArg("Host up")), 0);
    EXPECT_EQ(PartText(0), "Ready");
    EXPECT_EQ(PartText(1), "Host up");
    EXPECT_EQ(HIWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 1, 0)), SBT_POPOUT);
    EXPECT_EQ(HIWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 0, 0)), 0);

    EXPECT_EQ(Command(kStatusId, CC_SB_SET_TEXT, IntArg(0), IntArg(5)), 0);
    EXPECT_EQ(Command(kStatusId, CC_SB_SET_TEXT, StrArg("0"), StrArg("changed")), 0);
    EXPECT_EQ(PartText(0), "Ready");
}

TEST_F(StatusBarCommandTest, ResizeFitsTheBarToItsParentAgain) {
    SetWindowPos(bar, nullptr, 30, 40, 90, 60, SWP_NOZORDER);
    EXPECT_EQ(Command(kStatusId, CC_SB_RESIZE), 0);
    RECT client{};
    GetClientRect(window.hwnd, &client);
    const RECT area = RectInWindow(bar);
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.right, client.right);
    EXPECT_EQ(area.bottom, client.bottom);
    EXPECT_LT(area.bottom - area.top, 60);
}

TEST_F(StatusBarCommandTest, CodesTheTableLacksSendNothing) {
    std::array<int32_t, 3> edges{100, 250, -1};
    EXPECT_EQ(Command(kStatusId, 3, IntArg(3), RefArg(edges.data())), 0);
    EXPECT_EQ(Command(kStatusId, CC_ED_SET_SEL_COLOR, IntArg(3), RefArg(edges.data())), 0);
    EXPECT_EQ(Parts(), 1);
}

}  // namespace

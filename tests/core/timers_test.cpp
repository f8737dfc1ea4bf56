#include "runtime/window/timers.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "tests/support/test_support.h"

namespace {

struct Tick {
    HWND hwnd;
    UINT message;
    UINT_PTR id;
};
std::vector<Tick> ticks;
void CALLBACK RecordTick(HWND hwnd, UINT message, UINT_PTR id, DWORD) { ticks.push_back({hwnd, message, id}); }

std::vector<uint32_t> handlerTimerIds;
int32_t RecordTimerEvents() {
    if (messageRecord.eventCode == WM_TIMER)
        handlerTimerIds.push_back(messageRecord.wParam);
    return 0;
}

int32_t CountTicks(UINT_PTR id) {
    int32_t n = 0;
    for (const Tick& t : ticks)
        n += t.id == id ? 1 : 0;
    return n;
}

// Runs the message loop until done() holds, for at most five seconds.
template <typename Done>
bool PumpUntil(Done done) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > 5000)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        PumpMessages();
    }
    return true;
}

class TimersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ticks.clear();
        handlerTimerIds.clear();
        ASSERT_EQ(OpenWindow(&window, 0, 0, 200, 100, RF_HIDDEN, nullptr, "timers", RecordTimerEvents), 1);
    }
    void TearDown() override {
        CloseWindow(&window);
        PumpMessages();
    }
    WindowRecord window{};
};

constexpr UINT_PTR kProbe = 1;
constexpr UINT_PTR kSentinel = 2;

TEST_F(TimersTest, ProcedureIsCalledFromTheMessageLoopNotTheHandler) {
    EXPECT_EQ(StartWindowTimer(&window, 10, kProbe, RecordTick), 0);
    ASSERT_TRUE(PumpUntil([] { return CountTicks(kProbe) >= 3; }));
    for (const Tick& t : ticks) {
        EXPECT_EQ(t.hwnd, window.hwnd);
        EXPECT_EQ(t.message, static_cast<UINT>(WM_TIMER));
        EXPECT_EQ(t.id, kProbe);
    }
    EXPECT_TRUE(handlerTimerIds.empty());
}

TEST_F(TimersTest, WithoutProcedureTheHandlerSeesTheTick) {
    StartWindowTimer(&window, 10, 7, nullptr);
    ASSERT_TRUE(PumpUntil([] { return handlerTimerIds.size() >= 2; }));
    EXPECT_EQ(handlerTimerIds[0], 7u);
    StopWindowTimer(&window, 7);
}

TEST_F(TimersTest, StoppedTimerFiresNoMore) {
    StartWindowTimer(&window, 10, kProbe, RecordTick);
    ASSERT_TRUE(PumpUntil([] { return CountTicks(kProbe) >= 1; }));
    EXPECT_EQ(StopWindowTimer(&window, kProbe), 0);
    const int32_t stoppedAt = CountTicks(kProbe);
    // A slower timer marks time: the stopped one would have fired meanwhile.
    StartWindowTimer(&window, 40, kSentinel, RecordTick);
    ASSERT_TRUE(PumpUntil([] { return CountTicks(kSentinel) >= 3; }));
    EXPECT_EQ(CountTicks(kProbe), stoppedAt);
    StopWindowTimer(&window, kSentinel);
}

TEST_F(TimersTest, ClosedWindowStartsNothing) {
    WindowRecord closed{};
    ASSERT_EQ(OpenWindow(&closed, 0, 0, 100, 100, RF_HIDDEN, nullptr, "closed", nullptr), 1);
    CloseWindow(&closed);
    ASSERT_EQ(closed.hwnd, nullptr);
    EXPECT_EQ(StartWindowTimer(&closed, 10, kProbe, RecordTick), 0);
    EXPECT_EQ(StopWindowTimer(&closed, kProbe), 0);
    EXPECT_EQ(StartWindowTimer(nullptr, 10, kProbe, RecordTick), 0);
    StartWindowTimer(&window, 40, kSentinel, RecordTick);
    ASSERT_TRUE(PumpUntil([] { return CountTicks(kSentinel) >= 3; }));
    EXPECT_EQ(CountTicks(kProbe), 0);
    StopWindowTimer(&window, kSentinel);
}

}  // namespace

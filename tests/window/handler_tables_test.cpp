#include "runtime/window/handler_tables.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <map>
#include <utility>
#include <vector>

#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "tests/support/global_alloc_hook.h"
#include "tests/support/test_support.h"

namespace {

// What a table routine saw of the event it ran for.
struct RoutineRun {
    int routine;
    int32_t eventCode, controlId, notifyCode, menuId;
};
std::vector<RoutineRun> runs;
std::array<int32_t, 16> routineResult;

template <int N>
int32_t Routine() {
    const MessageRecord& m = messageRecord;
    runs.push_back({N, m.eventCode, m.controlId, m.notifyCode, m.menuId});
    return routineResult[N];
}
template <int... N>
constexpr std::array<HandlerProc, sizeof...(N)> MakeRoutines(std::integer_sequence<int, N...>) {
    return {Routine<N>...};
}
constexpr auto kRoutines = MakeRoutines(std::make_integer_sequence<int, 16>{});

std::vector<int> Ran() {
    std::vector<int> out;
    for (const RoutineRun& r : runs)
        out.push_back(r.routine);
    return out;
}

// One registration: for a control `id` is the control and `code` the
// notification; for a menu command or an event `id` is the key.
enum class Kind { Control, Menu, Event };
struct Entry {
    Kind kind;
    int32_t id, code;
    int routine;
};

int32_t Register(WindowRecord* window, const Entry& e) {
    switch (e.kind) {
    case Kind::Control:
        return SetControlHandler(window, e.id, e.code, kRoutines[e.routine]);
    case Kind::Menu:
        return SetMenuHandler(window, e.id, kRoutines[e.routine]);
    case Kind::Event:
        return SetEventHandler(window, e.id, kRoutines[e.routine]);
    }
    return 0;
}

// Sends the message that routes the entry's event: WM_NOTIFY for a control
// (it carries all 32 bits of the code), WM_COMMAND without a control for a
// menu command, the message itself for an event.
LRESULT Fire(HWND hwnd, const Entry& e) {
    NMHDR header{hwnd, static_cast<UINT_PTR>(e.id), static_cast<UINT>(e.code)};
    switch (e.kind) {
    case Kind::Control:
        return SendMessageA(hwnd, WM_NOTIFY, static_cast<WPARAM>(e.id), reinterpret_cast<LPARAM>(&header));
    case Kind::Menu:
        return SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(e.id, 0), 0);
    case Kind::Event:
        return SendMessageA(hwnd, static_cast<UINT>(e.id), 0, 0);
    }
    return 0;
}

const HandlerTables* TablesOf(HWND hwnd) { return static_cast<const HandlerTables*>(GetPropA(hwnd, "CV_HANDLERS")); }

// Key to bucket of every entry, by iteration; every entry is visited once.
std::map<int32_t, int32_t> BucketsOf(const HandlerMap* map) {
    std::map<int32_t, int32_t> buckets;
    MapPosition position = MapFirstPosition(map);
    while (MapNode* node = MapNextEntry(map, &position))
        EXPECT_TRUE(buckets.emplace(node->key, node->bucket).second) << "key " << node->key << " seen twice";
    EXPECT_EQ(static_cast<int32_t>(buckets.size()), map->entryCount);
    return buckets;
}

int32_t handlerResult;
bool closeOnControl;
HANDLE propertyAtDestroy;
WindowRecord* closingTarget;

int32_t FixtureHandler() {
    const MessageRecord& m = messageRecord;
    if (m.eventCode == WM_DESTROY)
        propertyAtDestroy = GetPropA(m.window->hwnd, "CV_HANDLERS");
    if (m.eventCode == EV_CONTROL && closeOnControl)
        CloseWindow(m.window);
    return handlerResult;
}

int32_t CloseFromRoutine() {
    runs.push_back({99, messageRecord.eventCode, 0, 0, 0});
    CloseWindow(closingTarget);
    return 0;
}

// Registers an event routine where the window had none, and a second
// control's routine.
int32_t RegisterFromRoutine() {
    runs.push_back({98, messageRecord.eventCode, 0, 0, 0});
    SetEventHandler(messageRecord.window, EV_CONTROL, kRoutines[2]);
    SetControlHandler(messageRecord.window, 8, 0, kRoutines[3]);
    return 0;
}

class HandlerTablesTest : public ::testing::Test {
protected:
    void SetUp() override {
        runs.clear();
        routineResult.fill(0);
        handlerResult = 0;
        closeOnControl = false;
        propertyAtDestroy = reinterpret_cast<HANDLE>(1);
        ASSERT_EQ(OpenWindow(&window, 40, 40, 300, 200, 0, nullptr, "tables", FixtureHandler), 1);
        PumpMessages();
    }
    void TearDown() override {
        CloseWindow(&window);
        PumpMessages();
    }
    WindowRecord window{};
};

TEST_F(HandlerTablesTest, ClickedButtonRunsItsCodeZeroRoutine) {
    HWND buttons[2];
    for (int i = 0; i < 2; ++i)
        buttons[i] = CreateWindowExA(0, "Button", "B", WS_CHILD | WS_VISIBLE, 10 + 70 * i, 10, 60, 25, window.hwnd,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(105 + i)), nullptr, nullptr);
    ASSERT_EQ(SetControlHandler(&window, 105, BN_CLICKED, kRoutines[1]), 1);
    SendMessageA(buttons[1], BM_CLICK, 0, 0);
    EXPECT_TRUE(runs.empty());
    SendMessageA(buttons[0], BM_CLICK, 0, 0);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].routine, 1);
    EXPECT_EQ(runs[0].eventCode, EV_CONTROL);
    EXPECT_EQ(runs[0].controlId, 105);
    EXPECT_EQ(runs[0].notifyCode, BN_CLICKED);
}

TEST_F(HandlerTablesTest, EventRoutinesTakeWhatTheSpecificRoutinesLeave) {
    for (const Entry& e : {Entry{Kind::Control, 105, 0, 1}, Entry{Kind::Menu, 4001, 0, 2},
                           Entry{Kind::Event, EV_CONTROL, 0, 3}, Entry{Kind::Event, EV_MENU, 0, 4}})
        ASSERT_EQ(Register(&window, e), 1);
    routineResult[3] = 0x30;
    routineResult[4] = 0x40;
    struct Case {
        Entry event;
        int specific;   // the routine whose result the case sets, or -1
        int32_t specificResult;
        std::vector<int> ran;
        int32_t tablesResult;
    };
    const Case cases[] = {
        {{Kind::Control, 105, 0, 0}, 1, 0, {1, 3}, 0x30},
        {{Kind::Control, 105, 0, 0}, 1, 7, {1}, 7},
        {{Kind::Control, 105, BN_DOUBLECLICKED, 0}, -1, 0, {3}, 0x30},
        {{Kind::Control, 106, 0, 0}, -1, 0, {3}, 0x30},
        {{Kind::Menu, 4001, 0, 0}, 2, 0, {2, 4}, 0x40},
        {{Kind::Menu, 4001, 0, 0}, 2, 9, {2}, 9},
        {{Kind::Menu, 4002, 0, 0}, -1, 0, {4}, 0x40},
        {{Kind::Event, WM_USER + 5, 0, 0}, -1, 0, {}, 0},
    };
    // The tables run whatever the window's handler answered; the window
    // procedure answers with both results ORed.
    for (const int32_t handled : {0, 0x100}) {
        handlerResult = handled;
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "id " << c.event.id << " code " << c.event.code << " handler "
                                            << handled << " specific result " << c.specificResult);
            if (c.specific >= 0)
                routineResult[c.specific] = c.specificResult;
            runs.clear();
            EXPECT_EQ(Fire(window.hwnd, c.event), handled | c.tablesResult);
            EXPECT_EQ(Ran(), c.ran);
            for (const RoutineRun& r : runs) {
                const bool control = c.event.kind == Kind::Control;
                EXPECT_EQ(r.eventCode, control ? EV_CONTROL : EV_MENU);
                EXPECT_EQ(control ? r.controlId : r.menuId, c.event.id);
                EXPECT_EQ(control ? r.notifyCode : 0, control ? c.event.code : 0);
            }
        }
    }
}

TEST_F(HandlerTablesTest, KeysSharingABucketAreFoundApartAndKeyZeroNever) {
    // Key 0 could never be found: refused, and nothing half-made is left.
    EXPECT_EQ(SetEventHandler(&window, 0, kRoutines[1]), 0);
    EXPECT_EQ(SetMenuHandler(&window, 0, kRoutines[1]), 0);
    EXPECT_EQ(SetControlHandler(&window, 0, 5, kRoutines[1]), 0);
    EXPECT_EQ(TablesOf(window.hwnd), nullptr);
    WindowRecord noWindow{};
    EXPECT_EQ(SetEventHandler(&noWindow, WM_USER, kRoutines[1]), 0);
    EXPECT_EQ(SetEventHandler(nullptr, WM_USER, kRoutines[1]), 0);

    // 17, 34 and -17 share bucket 0; 1 and -1 (code 0) bucket 1.
    const Entry registered[] = {{Kind::Control, 42, 17, 1}, {Kind::Control, 42, 34, 2},
                                {Kind::Control, 42, -17, 3}, {Kind::Control, 42, 1, 4},
                                {Kind::Control, 42, 0, 5},  {Kind::Control, 105, 0, 6},
                                {Kind::Event, EV_CONTROL, 0, 7}, {Kind::Event, WM_USER, 0, 8}};
    for (const Entry& e : registered) {
        ASSERT_EQ(Register(&window, e), 1);
        routineResult[e.routine] = 1;
    }
    const std::pair<int32_t, int> fired[] = {{17, 1}, {34, 2}, {-17, 3}, {1, 4}, {0, 5}, {-1, 5}, {51, 7}};
    for (const auto& [code, routine] : fired) {
        runs.clear();
        Fire(window.hwnd, {Kind::Control, 42, code, 0});
        EXPECT_EQ(Ran(), std::vector<int>{routine}) << "code " << code;
    }
    runs.clear();
    SendMessageA(window.hwnd, WM_NULL, 0, 0);
    SendMessageA(window.hwnd, WM_COMMAND, 0, 0);
    EXPECT_TRUE(runs.empty());

    const HandlerTables* tables = TablesOf(window.hwnd);
    ASSERT_NE(tables, nullptr);
    EXPECT_EQ(tables->menuMap, nullptr);
    EXPECT_EQ(BucketsOf(tables->controlMaps), (std::map<int32_t, int32_t>{{42, 8}, {105, 3}}));
    const auto* codes = reinterpret_cast<const HandlerMap*>(MapLookup(tables->controlMaps, 42));
    ASSERT_NE(codes, nullptr);
    EXPECT_EQ(BucketsOf(codes), (std::map<int32_t, int32_t>{{-17, 0}, {-1, 1}, {1, 1}, {17, 0}, {34, 0}}));
    EXPECT_EQ(BucketsOf(tables->eventMap), (std::map<int32_t, int32_t>{{EV_CONTROL, 13}, {WM_USER, 4}}));
}

TEST_F(HandlerTablesTest, EleventhEntryTakesASecondNodeBlock) {
    for (int i = 0; i < 11; ++i) {
        ASSERT_EQ(SetEventHandler(&window, WM_USER + i, kRoutines[i]), 1);
        const HandlerMap* events = TablesOf(window.hwnd)->eventMap;
        int32_t blocks = 0;
        for (ListNode* n = ListFirst(events->blocks); n; n = ListNext(n))
            ++blocks;
        EXPECT_EQ(events->entryCount, i + 1);
        EXPECT_EQ(blocks, i < 10 ? 1 : 2) << "after entry " << i + 1;
        if (i == 0) {   // a block's first node is taken first
            MapPosition position = MapFirstPosition(events);
            EXPECT_EQ(MapNextEntry(events, &position), ListItem(ListFirst(events->blocks)));
            EXPECT_EQ(position, 0);
        }
    }
    // Registering again replaces the routine without a new entry.
    ASSERT_EQ(SetEventHandler(&window, WM_USER + 3, kRoutines[12]), 1);
    EXPECT_EQ(TablesOf(window.hwnd)->eventMap->entryCount, 11);
    for (int i = 0; i < 11; ++i)
        SendMessageA(window.hwnd, WM_USER + i, 0, 0);
    EXPECT_EQ(Ran(), (std::vector<int>{0, 1, 2, 12, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(HandlerTablesTest, TablesAreReleasedBeforeTheWindowIsDestroyed) {
    GlobalAllocHook hook;
    EXPECT_EQ(FreeHandlerTables(&window), 0);   // nothing registered: nothing to do
    std::vector<Entry> registered = {{Kind::Control, 105, 0, 1}, {Kind::Control, 105, 5, 2},
                                     {Kind::Control, 106, 0, 3}, {Kind::Menu, 4001, 0, 4},
                                     {Kind::Event, WM_DESTROY, 0, 5}};
    for (int i = 0; i < 11; ++i)
        registered.push_back({Kind::Event, WM_USER + i, 0, 6});

    // Released directly, then by CloseWindow: the property and every block
    // go, and nothing runs any more, not even for the window's WM_DESTROY.
    for (const bool byClose : {false, true}) {
        for (const Entry& e : registered)
            ASSERT_EQ(Register(&window, e), 1);
        EXPECT_GT(hook.LiveBlocks(), 0);
        HWND hwnd = window.hwnd;
        EXPECT_EQ(byClose ? CloseWindow(&window) : FreeHandlerTables(&window), 0);
        EXPECT_EQ(GetPropA(hwnd, "CV_HANDLERS"), nullptr);
        EXPECT_EQ(hook.LiveBlocks(), 0);
        for (const Entry& e : registered)
            if (e.id != WM_DESTROY)
                Fire(hwnd, e);
        EXPECT_TRUE(runs.empty());
    }
    EXPECT_EQ(propertyAtDestroy, nullptr);   // seen by the window's handler
}

TEST_F(HandlerTablesTest, WindowClosedDuringTheEventEndsTheDispatch) {
    // Closed by the window's handler, by the control's routine or by the
    // menu command's: the event routine that would follow finds no tables
    // and does not run.
    struct Case {
        const char* closer;
        Entry event;
        std::vector<int> ran;
    };
    const Case cases[] = {{"handler", {Kind::Control, 7, 0, 0}, {}},
                          {"control routine", {Kind::Control, 7, 0, 0}, {99}},
                          {"menu routine", {Kind::Menu, 4001, 0, 0}, {99}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.closer);
        if (!window.hwnd) {
            ASSERT_EQ(OpenWindow(&window, 40, 40, 300, 200, 0, nullptr, "tables", FixtureHandler), 1);
        }
        closeOnControl = c.ran.empty();
        closingTarget = &window;
        runs.clear();
        ASSERT_EQ(SetControlHandler(&window, 7, 0, CloseFromRoutine), 1);
        ASSERT_EQ(SetMenuHandler(&window, 4001, CloseFromRoutine), 1);
        ASSERT_EQ(SetEventHandler(&window, EV_CONTROL, kRoutines[2]), 1);
        ASSERT_EQ(SetEventHandler(&window, EV_MENU, kRoutines[2]), 1);
        HWND hwnd = window.hwnd;
        Fire(hwnd, c.event);
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(window.hwnd, nullptr);
        EXPECT_EQ(Ran(), c.ran);
        EXPECT_EQ(WindowsWithHandlerTables(), 0);
    }
}

TEST_F(HandlerTablesTest, ARoutineRegistersAnotherThatRunsInTheSameEvent) {
    ASSERT_EQ(SetControlHandler(&window, 7, 0, RegisterFromRoutine), 1);
    Fire(window.hwnd, {Kind::Control, 7, 0, 0});
    EXPECT_EQ(Ran(), (std::vector<int>{98, 2}));
    runs.clear();
    Fire(window.hwnd, {Kind::Control, 8, 0, 0});
    EXPECT_EQ(Ran(), (std::vector<int>{3, 2}));
}

// Tables go with their window however it goes, and the count of windows
// holding tables, which routing reads on every event, comes back down.
TEST_F(HandlerTablesTest, TablesGoWithTheWindowWhoeverDestroysIt) {
    GlobalAllocHook hook;
    const int32_t windowsBefore = WindowsWithHandlerTables();
    for (const bool byClose : {true, false}) {
        SCOPED_TRACE(byClose ? "the parent closed by the program" : "the parent destroyed directly");
        WindowRecord parent{}, child{};
        ASSERT_EQ(OpenWindow(&parent, 0, 0, 300, 200, RF_HIDDEN, nullptr, "parent", nullptr), 1);
        ASSERT_EQ(OpenWindow(&child, 10, 10, 100, 50, 0, &parent, "child", nullptr), 1);
        for (WindowRecord* w : {&parent, &child})
            ASSERT_EQ(SetControlHandler(w, 105, 0, kRoutines[1]), 1);
        EXPECT_EQ(WindowsWithHandlerTables(), windowsBefore + 2);
        HWND childHandle = child.hwnd;
        if (byClose)
            CloseWindow(&parent);
        else
            DestroyWindow(parent.hwnd);
        EXPECT_FALSE(IsWindow(childHandle));
        EXPECT_EQ(WindowsWithHandlerTables(), windowsBefore);
        EXPECT_EQ(hook.LiveBlocks(), 0);
    }
}

// A registration that runs out of memory after each number of allocations
// it could make returns 0 leaving no block, no property and no routine
// behind; the routines already there run as before, and the same
// registration succeeds once memory is back.
TEST(HandlerTablesWithoutMemory, FailedRegistrationLeavesTheTablesAsTheyWere) {
    struct Scenario {
        const char* name;
        std::vector<Entry> existing;
        Entry added;
        bool allocates;
    };
    std::vector<Entry> tenEvents;
    for (int i = 0; i < 10; ++i)
        tenEvents.push_back({Kind::Event, WM_USER + i, 0, 2 + i});
    const Scenario scenarios[] = {
        {"first event routine", {}, {Kind::Event, WM_USER + 20, 0, 1}, true},
        {"first control routine", {}, {Kind::Control, 105, 0, 1}, true},
        {"new map beside another", {{Kind::Event, WM_USER, 0, 2}}, {Kind::Menu, 4001, 0, 1}, true},
        {"new control beside another", {{Kind::Control, 105, 0, 2}}, {Kind::Control, 106, 0, 1}, true},
        {"second code of a control", {{Kind::Control, 105, 0, 2}}, {Kind::Control, 105, 5, 1}, false},
        {"eleventh entry of a map", tenEvents, {Kind::Event, WM_USER + 20, 0, 1}, true},
    };
    GlobalAllocHook hook;
    for (const Scenario& s : scenarios) {
        int32_t result = 0, budget = 0;
        for (; !result && budget < 30; ++budget) {
            SCOPED_TRACE(testing::Message() << s.name << ", allocations allowed: " << budget);
            WindowRecord window{};
            ASSERT_EQ(OpenWindow(&window, 0, 0, 200, 100, RF_HIDDEN, nullptr, "memory", nullptr), 1);
            for (const Entry& e : s.existing)
                ASSERT_EQ(Register(&window, e), 1);
            const HandlerTables* tablesBefore = TablesOf(window.hwnd);
            const int32_t blocksBefore = hook.LiveBlocks();
            hook.FailAfter(budget);
            result = Register(&window, s.added);
            hook.FailAfter(-1);
            if (!result) {
                EXPECT_EQ(hook.LiveBlocks(), blocksBefore);
                EXPECT_EQ(TablesOf(window.hwnd), tablesBefore);
            }
            for (const Entry& e : s.existing) {
                runs.clear();
                Fire(window.hwnd, e);
                EXPECT_EQ(Ran(), std::vector<int>{e.routine});
            }
            runs.clear();
            Fire(window.hwnd, s.added);
            EXPECT_EQ(Ran(), result ? std::vector<int>{s.added.routine} : std::vector<int>{});
            if (!result) {
                EXPECT_EQ(Register(&window, s.added), 1);
            }
            CloseWindow(&window);
            EXPECT_EQ(hook.LiveBlocks(), 0);
        }
        EXPECT_EQ(result, 1) << s.name;
        EXPECT_EQ(budget > 1, s.allocates) << s.name;
    }
}

}  // namespace

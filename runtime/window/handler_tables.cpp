#include "runtime/window/handler_tables.h"

#include <atomic>

#include "runtime/core/block_alloc.h"

namespace {

constexpr int32_t kBucketCount = 17;
constexpr int32_t kNodesPerBlock = 10;

// Notification code 0 would be key 0, which is never found.
int32_t NotifyKey(int32_t notifyCode) { return notifyCode ? notifyCode : -1; }

uint32_t RoutineValue(HandlerProc routine) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(routine));
}
HandlerProc AsRoutine(uint32_t value) { return reinterpret_cast<HandlerProc>(static_cast<uintptr_t>(value)); }
HandlerMap* AsMap(uint32_t value) { return reinterpret_cast<HandlerMap*>(static_cast<uintptr_t>(value)); }

// Windows whose property holds tables, in every thread. GetPropA is a trip
// to the window server under Wine, and every routed event asks for the
// tables; while no window has any, nothing is asked.
std::atomic<int32_t> windowsWithTables{0};

HandlerTables* TablesOf(HWND hwnd) {
    if (windowsWithTables.load(std::memory_order_acquire) == 0)
        return nullptr;
    return static_cast<HandlerTables*>(GetPropA(hwnd, CV_HANDLERS));
}

// An empty map with the tables' sizes; null when memory ran out.
HandlerMap* NewMap() {
    auto* map = static_cast<HandlerMap*>(AllocZeroed(AT_STRUCT, sizeof(HandlerMap)));
    if (!map)
        return nullptr;
    map->bucketCount = kBucketCount;
    map->nodesPerBlock = kNodesPerBlock;
    if (!MapInit(map, kBucketCount, kNodesPerBlock)) {
        FreeBlock(map);
        return nullptr;
    }
    return map;
}

// Accepts null.
void FreeMap(HandlerMap* map) {
    MapRemoveAll(map);
    FreeBlock(map);
}

void FreeTables(HandlerTables* tables) {
    FreeMap(tables->eventMap);
    tables->eventMap = nullptr;
    FreeMap(tables->menuMap);
    tables->menuMap = nullptr;
    if (HandlerMap* controls = tables->controlMaps) {
        MapPosition position = MapFirstPosition(controls);
        while (MapNode* node = MapNextEntry(controls, &position))
            FreeMap(AsMap(MapNodeValue(node)));
        FreeMap(controls);
        tables->controlMaps = nullptr;
    }
    FreeBlock(tables);
}

// Stores value under key in one of the window's maps, creating the tables
// and the map when they are missing. The property is attached only once the
// value is stored; on any failure what this call created is freed again, so
// existing tables stay as they were. 1 when stored.
int32_t StoreInTables(HWND hwnd, HandlerMap* HandlerTables::*slot, int32_t key, uint32_t value) {
    HandlerTables* tables = TablesOf(hwnd);
    HandlerTables* freshTables = nullptr;
    if (!tables) {
        tables = freshTables = static_cast<HandlerTables*>(AllocZeroed(AT_STRUCT, sizeof(HandlerTables)));
        if (!tables)
            return 0;
    }
    HandlerMap* map = tables->*slot;
    HandlerMap* freshMap = map ? nullptr : NewMap();
    if (!map)
        map = freshMap;
    if (!map || !MapSet(map, key, value) || (freshTables && !SetPropA(hwnd, CV_HANDLERS, freshTables))) {
        FreeMap(freshMap);
        FreeBlock(freshTables);
        return 0;
    }
    if (freshTables)
        windowsWithTables.fetch_add(1, std::memory_order_release);
    tables->*slot = map;
    return 1;
}

}  // namespace

int32_t SetControlHandler(WindowRecord* record, int32_t controlId, int32_t notifyCode, HandlerProc handler) {
    if (!record || !record->hwnd)
        return 0;
    const HandlerTables* tables = TablesOf(record->hwnd);
    if (HandlerMap* notifications = tables ? AsMap(MapLookup(tables->controlMaps, controlId)) : nullptr)
        return MapSet(notifications, NotifyKey(notifyCode), RoutineValue(handler));

    // A new control: its map is filled before it is stored, so that a
    // failure leaves no half-made entry behind.
    HandlerMap* notifications = NewMap();
    if (!notifications || !MapSet(notifications, NotifyKey(notifyCode), RoutineValue(handler)) ||
        !StoreInTables(record->hwnd, &HandlerTables::controlMaps, controlId,
                       static_cast<uint32_t>(reinterpret_cast<uintptr_t>(notifications)))) {
        FreeMap(notifications);
        return 0;
    }
    return 1;
}

int32_t SetMenuHandler(WindowRecord* record, int32_t menuId, HandlerProc handler) {
    if (!record || !record->hwnd)
        return 0;
    return StoreInTables(record->hwnd, &HandlerTables::menuMap, menuId, RoutineValue(handler));
}

int32_t SetEventHandler(WindowRecord* record, int32_t eventCode, HandlerProc handler) {
    if (!record || !record->hwnd)
        return 0;
    return StoreInTables(record->hwnd, &HandlerTables::eventMap, eventCode, RoutineValue(handler));
}

int32_t DispatchHandlerTables(HWND hwnd, int32_t eventCode) {
    if (!hwnd)
        return 0;
    const HandlerTables* tables = TablesOf(hwnd);
    if (!tables)
        return 0;
    HandlerProc routine = nullptr;
    if (eventCode == EV_CONTROL) {
        const HandlerMap* notifications = AsMap(MapLookup(tables->controlMaps, messageRecord.controlId));
        routine = AsRoutine(MapLookup(notifications, NotifyKey(messageRecord.notifyCode)));
    } else if (eventCode == EV_MENU) {
        routine = AsRoutine(MapLookup(tables->menuMap, messageRecord.menuId));
    }
    int32_t result = routine ? routine() : 0;
    if (result != 0)
        return result;
    // The routine may have closed the window or registered more routines:
    // the tables are looked up again, and are gone with the window.
    if (routine && !(tables = TablesOf(hwnd)))
        return 0;
    routine = AsRoutine(MapLookup(tables->eventMap, eventCode));
    return routine ? routine() : 0;
}

int32_t FreeHandlerTables(WindowRecord* record) {
    return record ? FreeWindowHandlerTables(record->hwnd) : 0;
}

int32_t FreeWindowHandlerTables(HWND hwnd) {
    if (!hwnd || windowsWithTables.load(std::memory_order_acquire) == 0)
        return 0;
    auto* tables = static_cast<HandlerTables*>(RemovePropA(hwnd, CV_HANDLERS));
    if (!tables)
        return 0;
    windowsWithTables.fetch_sub(1, std::memory_order_release);
    FreeTables(tables);
    return 0;
}

int32_t WindowsWithHandlerTables() { return windowsWithTables.load(std::memory_order_acquire); }

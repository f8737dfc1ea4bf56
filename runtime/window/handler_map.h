#pragma once
// The runtime's hash map from signed 32-bit keys to 32-bit values. Nodes are
// carved from blocks of the zero-filling allocator and recycled, never freed
// one by one; MapRemoveAll releases them all at once.

#include <cstddef>
#include <cstdint>

#include "runtime/core/block_alloc.h"

// One entry, or a spare node on the free chain.
struct MapNode {
    MapNode* next;    // next node of the same bucket, or next spare node
    int32_t bucket;
    int32_t key;
    uint32_t value;
};
static_assert(sizeof(MapNode) == 4 * 4);

struct HandlerMap {
    MapNode** buckets;       // bucketCount chain heads; null until the first entry
    int32_t bucketCount;
    int32_t entryCount;
    MapNode* freeNodes;      // spare nodes, taken from the front
    int32_t nodesPerBlock;   // nodes carved from one allocation
    ListNode* blocks;        // the node blocks, each owned by this list
};
static_assert(sizeof(HandlerMap) == 6 * 4);
static_assert(offsetof(HandlerMap, buckets) == 0 * 4);
static_assert(offsetof(HandlerMap, bucketCount) == 1 * 4);
static_assert(offsetof(HandlerMap, entryCount) == 2 * 4);
static_assert(offsetof(HandlerMap, freeNodes) == 3 * 4);
static_assert(offsetof(HandlerMap, nodesPerBlock) == 4 * 4);
static_assert(offsetof(HandlerMap, blocks) == 5 * 4);

// A place in an iteration: a node, MAP_BEFORE_FIRST, or 0 after the last entry.
using MapPosition = intptr_t;
constexpr MapPosition MAP_BEFORE_FIRST = -1;

// Sets the bucket and block sizes and creates the empty block list. 1 when
// done; 0 without change when either size is not positive or the map
// already has a bucket array (its nodes would land in the wrong buckets),
// and 0 when the block list cannot be allocated.
int32_t MapInit(HandlerMap* map, int32_t bucketCount, int32_t nodesPerBlock);

// The value stored under key, or 0 when there is none. Key 0 is never found.
uint32_t MapLookup(const HandlerMap* map, int32_t key);

// Stores value under key, replacing an earlier value. 1 when stored; 0 when
// the key is 0 (it could never be found) or an allocation failed, and then
// the entries are as they were.
int32_t MapSet(HandlerMap* map, int32_t key, uint32_t value);

// Empties the map and frees its bucket array and node blocks; the map
// itself stays and can be filled again. Returns 0.
int32_t MapRemoveAll(HandlerMap* map);

// MAP_BEFORE_FIRST when the map has entries, else 0.
MapPosition MapFirstPosition(const HandlerMap* map);

// The node at *position (the first node of the lowest non-empty bucket for
// MAP_BEFORE_FIRST), advancing *position to the following node or to 0;
// null once *position is 0.
MapNode* MapNextEntry(const HandlerMap* map, MapPosition* position);

// The node's value; 0 for a null node.
uint32_t MapNodeValue(const MapNode* node);

#include "runtime/window/handler_map.h"

#include <cstdint>
#include <limits>

namespace {

// The signed remainder made positive: -1 and 1 share a bucket, as do 17, 34
// and -17.
int32_t BucketOf(const HandlerMap* map, int32_t key) {
    const int32_t remainder = key % map->bucketCount;
    return remainder < 0 ? -remainder : remainder;
}

MapNode* FindNode(const HandlerMap* map, int32_t bucket, int32_t key) {
    if (!map->buckets)
        return nullptr;
    for (MapNode* node = map->buckets[bucket]; node; node = node->next)
        if (node->key != 0 && node->key == key)
            return node;
    return nullptr;
}

// Carves a new block into spare nodes, threaded so that the block's first
// node is taken first. The block belongs to the map's block list; false
// when the block or its list node cannot be allocated.
bool AddNodeBlock(HandlerMap* map) {
    const int32_t count = map->nodesPerBlock;
    if (count <= 0 || count > std::numeric_limits<int32_t>::max() / static_cast<int32_t>(sizeof(MapNode)))
        return false;
    if (!map->blocks && !(map->blocks = ListCreate()))
        return false;
    const int32_t bytes = count * static_cast<int32_t>(sizeof(MapNode));
    auto* block = static_cast<MapNode*>(AllocZeroed(AT_STRUCT, bytes));
    if (!block)
        return false;
    ListNode* last = map->blocks;
    while (ListNext(last))
        last = ListNext(last);
    ListInsertAfter(last, block);
    if (!ListNext(last)) {   // the list could not hold it
        FreeBlock(block);
        return false;
    }
    for (int32_t i = count - 1; i >= 0; --i) {
        block[i].next = map->freeNodes;
        map->freeNodes = &block[i];
    }
    return true;
}

MapNode* TakeNode(HandlerMap* map) {
    if (!map->freeNodes && !AddNodeBlock(map))
        return nullptr;
    MapNode* node = map->freeNodes;
    map->freeNodes = node->next;
    ++map->entryCount;
    node->next = nullptr;
    node->bucket = 0;
    node->key = 0;
    node->value = 0;
    return node;
}

MapNode* FirstNodeFrom(const HandlerMap* map, int32_t bucket) {
    if (!map->buckets)
        return nullptr;
    for (; bucket < map->bucketCount; ++bucket)
        if (map->buckets[bucket])
            return map->buckets[bucket];
    return nullptr;
}

}  // namespace

int32_t MapInit(HandlerMap* map, int32_t bucketCount, int32_t nodesPerBlock) {
    if (!map || bucketCount <= 0 || nodesPerBlock <= 0 || map->buckets)
        return 0;
    if (!map->blocks && !(map->blocks = ListCreate()))
        return 0;
    map->bucketCount = bucketCount;
    map->nodesPerBlock = nodesPerBlock;
    return 1;
}

uint32_t MapLookup(const HandlerMap* map, int32_t key) {
    if (!map || map->bucketCount <= 0)
        return 0;
    const MapNode* node = FindNode(map, BucketOf(map, key), key);
    return node ? node->value : 0;
}

int32_t MapSet(HandlerMap* map, int32_t key, uint32_t value) {
    if (!map || key == 0 || map->bucketCount <= 0)
        return 0;
    const int32_t bucket = BucketOf(map, key);
    if (MapNode* node = FindNode(map, bucket, key)) {
        node->value = value;
        return 1;
    }
    const bool freshBuckets = !map->buckets;
    if (freshBuckets && !(map->buckets = static_cast<MapNode**>(AllocZeroed(AT_WORDS, map->bucketCount))))
        return 0;
    MapNode* node = TakeNode(map);
    if (!node) {
        if (freshBuckets) {
            FreeBlock(map->buckets);
            map->buckets = nullptr;
        }
        return 0;
    }
    node->bucket = bucket;
    node->key = key;
    node->next = map->buckets[bucket];
    map->buckets[bucket] = node;
    node->value = value;
    return 1;
}

int32_t MapRemoveAll(HandlerMap* map) {
    if (!map)
        return 0;
    FreeBlock(map->buckets);
    map->buckets = nullptr;
    map->entryCount = 0;
    map->freeNodes = nullptr;
    FreeList(map->blocks, 1);
    map->blocks = nullptr;
    return 0;
}

MapPosition MapFirstPosition(const HandlerMap* map) {
    return map && map->entryCount > 0 ? MAP_BEFORE_FIRST : 0;
}

MapNode* MapNextEntry(const HandlerMap* map, MapPosition* position) {
    if (!map || !position || *position == 0)
        return nullptr;
    MapNode* node = *position == MAP_BEFORE_FIRST ? FirstNodeFrom(map, 0)
                                                  : reinterpret_cast<MapNode*>(*position);
    MapNode* following = nullptr;
    if (node)
        following = node->next ? node->next : FirstNodeFrom(map, node->bucket + 1);
    *position = reinterpret_cast<MapPosition>(following);
    return node;
}

uint32_t MapNodeValue(const MapNode* node) { return node ? node->value : 0; }

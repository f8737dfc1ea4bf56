#include "runtime/core/block_alloc.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

TEST(AllocZeroedTest, SizesComeFromTheTypeTable) {
    struct { int32_t type; int32_t count; SIZE_T bytes; } cases[] = {
        {0, 2, 510}, {1, 7, 7}, {2, 3, 12}, {13, 5, 10}, {14, 2, 16}, {15, 12, 12}, {19, 4, 16}, {32, 1, 512}};
    for (const auto& c : cases) {
        auto* block = static_cast<unsigned char*>(AllocZeroed(c.type, c.count));
        ASSERT_NE(block, nullptr) << "type " << c.type;
        EXPECT_EQ(GlobalSize(block), c.bytes) << "type " << c.type;
        for (SIZE_T i = 0; i < c.bytes; ++i)
            ASSERT_EQ(block[i], 0) << "type " << c.type << " byte " << i;
        FreeBlock(block);
    }
}

TEST(AllocZeroedTest, NothingForZeroCountOrZeroSizedTypes) {
    EXPECT_EQ(AllocZeroed(15, 0), nullptr);
    EXPECT_EQ(AllocZeroed(20, 10), nullptr);
    EXPECT_EQ(AllocZeroed(99, 1), nullptr);
    EXPECT_EQ(AllocZeroed(15, -4), nullptr);
    EXPECT_EQ(FreeBlock(nullptr), 0);
}

std::vector<void*> Items(ListNode* head) {
    std::vector<void*> items;
    for (ListNode* n = ListFirst(head); n; n = ListNext(n))
        items.push_back(ListItem(n));
    return items;
}

TEST(ListTest, AppendAndInsertKeepBothDirectionsLinked) {
    ListNode* head = ListCreate();
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(ListFirst(head), nullptr);
    int a = 1, b = 2, c = 3, d = 4;
    EXPECT_EQ(ListAppend(head, &a), &a);
    ListAppend(head, &c);
    ListInsertAfter(ListFirst(head), &b);
    ListInsertAfter(head, &d);
    EXPECT_EQ(Items(head), (std::vector<void*>{&d, &a, &b, &c}));

    // Walk back from the last node to the head.
    ListNode* last = ListFirst(head);
    while (ListNext(last))
        last = ListNext(last);
    std::vector<void*> backwards;
    for (ListNode* n = last; n != head; n = n->prev)
        backwards.push_back(n->item);
    EXPECT_EQ(backwards, (std::vector<void*>{&c, &b, &a, &d}));

    // Inserting after the last node ends the list there.
    int e = 5;
    ListInsertAfter(last, &e);
    EXPECT_EQ(ListNext(ListNext(last)), nullptr);
    FreeList(head, 0);
}

TEST(ListTest, NullArgumentsDoNothing) {
    int a = 1;
    EXPECT_EQ(ListInsertAfter(nullptr, &a), &a);
    EXPECT_EQ(ListAppend(nullptr, &a), &a);
    EXPECT_EQ(ListFirst(nullptr), nullptr);
    EXPECT_EQ(ListNext(nullptr), nullptr);
    EXPECT_EQ(ListItem(nullptr), nullptr);
    EXPECT_EQ(FreeList(nullptr, 1), 0);
}

TEST(ListTest, FreeListReleasesNodesAndOwnedItems) {
    ListNode* head = ListCreate();
    void* item = AllocZeroed(15, 16);
    ListAppend(head, item);
    ListNode* node = ListFirst(head);
    FreeList(head, 1);
    // Freed global blocks no longer have a size.
    EXPECT_EQ(GlobalSize(item), 0u);
    EXPECT_EQ(GlobalSize(node), 0u);
    EXPECT_EQ(GlobalSize(head), 0u);

    ListNode* onlyHead = ListCreate();
    FreeList(onlyHead, 1);
    EXPECT_EQ(GlobalSize(onlyHead), 0u);
}

}  // namespace

#include "runtime/core/strings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

// True while p is a string the heap handed out and has not taken back:
// short strings are slots of one heap block, which the platform's own
// heap check cannot tell apart.
bool IsLiveBlock(const char* p) { return StringCapacity(p) > 0; }

class StringHeapTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CreateStringHeap(), 1); }
    void TearDown() override {
        FreeAllTemporaries();
        ShutdownStringHeap();
    }
};

TEST_F(StringHeapTest, AllocationIsZeroFilledWithThreeSpareBytes) {
    char* empty = AllocString(0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty[0], 0);
    EXPECT_EQ(empty[1], 0);
    EXPECT_EQ(empty[2], 0);
    EXPECT_EQ(StringLength(empty), 0);

    char* block = AllocString(10);
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(block[i], 0) << "byte " << i;
    EXPECT_NE(FreeString(block), 0);
    EXPECT_NE(FreeString(empty), 0);
}

TEST_F(StringHeapTest, CapacityIsKnownOnlyInsideBlocksOfTheStringHeap) {
    char* block = AllocString(100);
    char* other = AllocString(7);
    ASSERT_NE(block, nullptr);
    ASSERT_NE(other, nullptr);
    char local[32] = {};
    struct Case {
        const char* name;
        const char* at;
        int32_t capacity;
    };
    const Case cases[] = {
        {"a block", block, 103},   // the three spare bytes are storage too
        {"inside a block", block + 40, 0},
        {"a small block", other, 10},
        {"inside a small block", other + 4, 0},
        {"a caller's buffer", local, 0},
        {"null", nullptr, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StringCapacity(c.at), c.capacity) << c.name;
    FreeString(other);
    EXPECT_EQ(StringCapacity(other), 0);   // freed: no longer a block
    FreeString(block);
}

TEST_F(StringHeapTest, FreeingNullOrAfterShutdownDoesNothing) {
    EXPECT_EQ(FreeString(nullptr), 0);
    char* s = DuplicateString("kept");
    ASSERT_NE(s, nullptr);
    EXPECT_NE(ShutdownStringHeap(), 0);
    EXPECT_EQ(FreeString(s), 0);
    EXPECT_EQ(AllocString(4), nullptr);
    EXPECT_EQ(ShutdownStringHeap(), 0);
}

TEST(StringHeapWithoutHeap, AllocationFailsQuietly) {
    EXPECT_EQ(AllocString(5), nullptr);
    EXPECT_EQ(DuplicateString("abc"), nullptr);
    EXPECT_EQ(ConcatStrings("a", "b"), nullptr);
    EXPECT_EQ(FreeString("abc"), 0);
}

TEST_F(StringHeapTest, LengthAndCopyAtEveryAlignmentAndAcrossWords) {
    // Strings starting at each offset of a word, with terminators at every
    // position of a word, including bytes of 0x80 and above; copied to each
    // offset of a word, where exactly the string and its terminator change.
    alignas(4) char buffer[64];
    alignas(4) char copy[64];
    for (int start = 0; start < 4; ++start) {
        for (int length = 0; length < 20; ++length) {
            std::memset(buffer, 'x', sizeof(buffer));
            for (int i = 0; i < length; ++i)
                buffer[start + i] = static_cast<char>(i % 3 == 0 ? 0xE9 : 'a' + i);
            buffer[start + length] = 0;
            EXPECT_EQ(StringLength(buffer + start), length) << "start " << start;
            for (int to = 0; to < 4; ++to) {
                std::memset(copy, 'y', sizeof(copy));
                ASSERT_EQ(CopyString(copy + to, buffer + start), copy + to);
                EXPECT_EQ(std::memcmp(copy + to, buffer + start, static_cast<size_t>(length) + 1), 0)
                    << "start " << start << " to " << to << " length " << length;
                EXPECT_EQ(copy[to + length + 1], 'y') << "start " << start << " to " << to << " length " << length;
                EXPECT_EQ(std::count(copy, copy + to, 'y'), to);
            }
        }
    }
}

TEST_F(StringHeapTest, CopyAppendDuplicate) {
    char buffer[32] = "zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz";
    EXPECT_EQ(CopyString(buffer + 1, "host.example"), buffer + 1);
    EXPECT_STREQ(buffer + 1, "host.example");
    EXPECT_EQ(AppendString(buffer + 1, ":80"), buffer + 1);
    EXPECT_STREQ(buffer + 1, "host.example:80");
    EXPECT_EQ(buffer[0], 'z');

    const char* original = "Contact successful at ";
    char* copy = DuplicateString(original);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, original);
    EXPECT_STREQ(copy, original);
    FreeString(copy);
}

TEST_F(StringHeapTest, UpperCaseCopyLeavesItsArgument) {
    const char typed[] = "Gateway.Local";
    char* upper = UpperCaseCopy(typed);
    ASSERT_NE(upper, nullptr);
    EXPECT_STREQ(upper, "GATEWAY.LOCAL");
    EXPECT_STREQ(typed, "Gateway.Local");
    FreeString(upper);
}

TEST_F(StringHeapTest, ConcatenationMakesFreshStrings) {
    const char abc[] = "abc";
    char* one = ConcatStrings(abc);
    ASSERT_NE(one, nullptr);
    EXPECT_NE(one, abc);
    EXPECT_STREQ(one, "abc");

    char* withEmpty = ConcatStrings(abc, "");
    ASSERT_NE(withEmpty, nullptr);
    EXPECT_STREQ(withEmpty, "abc");

    char* caption = ConcatStrings("Reachlet - Started", " - ", "HOST");
    ASSERT_NE(caption, nullptr);
    EXPECT_STREQ(caption, "Reachlet - Started - HOST");
    FreeString(one);
    FreeString(withEmpty);
    FreeString(caption);

    // A joined or duplicated string ends like an AllocString block: its
    // terminator and three spare bytes are zero, also in a reused block.
    for (size_t length = 0; length <= 10; ++length) {
        const std::string part = std::string("0123456789").substr(0, length);
        for (const bool joined : {true, false}) {
            FreeString(static_cast<char*>(std::memset(AllocString(static_cast<int32_t>(length) + 1), 'x', length + 4)));
            char* made = joined ? ConcatStrings(part.c_str(), "") : DuplicateString(part.c_str());
            ASSERT_EQ(StringCapacity(made), static_cast<int32_t>(length) + 4);
            EXPECT_EQ(std::string(made, length + 4), part + std::string(4, '\0')) << length << joined;
            FreeString(made);
        }
    }
}

// Short strings come from slots that threads hand back and forth without
// the heap: four threads making and freeing them at once never meet each
// other's bytes, and more live strings than slots go on in the heap.
TEST_F(StringHeapTest, ShortStringsSurviveManyThreadsAndOutnumberTheirSlots) {
    struct Worker {
        static DWORD WINAPI Run(void* tag) {
            DWORD faults = 0;
            std::array<char*, 8> held{};
            for (int i = 0; i < 20000; ++i) {
                char text[16];
                wsprintfA(text, "%c%d", static_cast<char>(reinterpret_cast<uintptr_t>(tag)), i);
                char*& slot = held[static_cast<size_t>(i) % held.size()];
                if (slot && (slot[0] != text[0] || FreeString(slot) != 1))
                    ++faults;
                slot = DuplicateString(text);
                if (!slot || std::strcmp(slot, text) != 0 || StringCapacity(slot) != lstrlenA(text) + 4)
                    ++faults;
            }
            for (char* left : held)
                faults += FreeString(left) == 1 ? 0 : 1;
            return faults;
        }
    };
    std::array<HANDLE, 4> threads{};
    for (size_t t = 0; t < threads.size(); ++t)
        threads[t] = CreateThread(nullptr, 0, Worker::Run, reinterpret_cast<void*>('a' + t), 0, nullptr);
    WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
    for (HANDLE thread : threads) {
        DWORD faults = 1;
        GetExitCodeThread(thread, &faults);
        EXPECT_EQ(faults, 0u);
        CloseHandle(thread);
    }

    std::vector<char*> live;
    for (int i = 0; i < 3000; ++i)
        live.push_back(DuplicateString(std::to_string(i).c_str()));
    for (int i = 0; i < 3000; ++i)
        ASSERT_STREQ(live[static_cast<size_t>(i)], std::to_string(i).c_str());
    for (char* s : live)
        EXPECT_EQ(FreeString(s), 1);
    EXPECT_EQ(FreeString(live[0]), 0);   // a slot freed twice is refused
}

TEST_F(StringHeapTest, TemporariesReleaseNewestFirst) {
    char* a = DuplicateString("a");
    char* b = DuplicateString("b");
    PushTemporary(a);
    PushTemporary(b);
    EXPECT_EQ(TemporaryCount(), 2);
    ASSERT_TRUE(IsLiveBlock(a));
    ASSERT_TRUE(IsLiveBlock(b));
    ReleaseTemporaries(1);
    EXPECT_EQ(TemporaryCount(), 1);
    // b is gone, a is still a live heap block.
    EXPECT_FALSE(IsLiveBlock(b));
    EXPECT_TRUE(IsLiveBlock(a));
    EXPECT_STREQ(a, "a");
    ReleaseTemporaries(1);
    EXPECT_EQ(TemporaryCount(), 0);
    EXPECT_FALSE(IsLiveBlock(a));
}

TEST_F(StringHeapTest, OverflowAndUnderflowAreReported) {
    DebugOutputCapture capture;
    char* last = nullptr;
    for (int i = 0; i < kTemporarySlots; ++i)
        PushTemporary(last = DuplicateString("t"));
    EXPECT_EQ(capture.Text(), "");
    char* extra = DuplicateString("lost");
    PushTemporary(extra);
    EXPECT_EQ(TemporaryCount(), kTemporarySlots);
    EXPECT_EQ(capture.Text(), "Heap Overflow\n");
    // The refused push's own release frees nothing, the outer string least.
    ReleaseTemporaries(1);
    EXPECT_EQ(TemporaryCount(), kTemporarySlots);
    EXPECT_TRUE(IsLiveBlock(last));
    EXPECT_TRUE(IsLiveBlock(extra));
    FreeString(extra);

    ReleaseTemporaries(kTemporarySlots);
    EXPECT_EQ(TemporaryCount(), 0);
    ReleaseTemporaries(1);
    EXPECT_EQ(TemporaryCount(), 0);
    EXPECT_EQ(capture.Text(), "Heap Overflow\nHeap Underflow\n");
}

std::vector<int32_t> exitOrder;
void RecordExit(int32_t value) { exitOrder.push_back(value); }

TEST_F(StringHeapTest, ExitRoutinesRunNewestFirstAtShutdown) {
    exitOrder.clear();
    AddExitRoutine(RecordExit, 'a');
    AddExitRoutine(nullptr, 'x');
    AddExitRoutine(RecordExit, 'b');
    AddExitRoutine(RecordExit, 'c');
    EXPECT_TRUE(exitOrder.empty());
    EXPECT_NE(ShutdownStringHeap(), 0);
    EXPECT_EQ(exitOrder, (std::vector<int32_t>{'c', 'b', 'a'}));
}

TEST(FindInString, PositionsFromOneAtOrAfterTheStart) {
    struct Case {
        const char* text;
        const char* pattern;
        int32_t start;
        int32_t position;
    };
    const Case cases[] = {
        {"a.b.c", ".", 1, 2}, {"a.b.c", ".", 3, 4}, {"a.b.c", ".", 4, 4}, {"a.b.c", ".", 5, 0},
        {"a.b.c", ".", 6, 0}, {"a.b.c", ".", 0, 2}, {"a.b.c", ".", -7, 2}, {"a.b.c", "", 1, 0},
        {"abcabc", "ca", 1, 3}, {"abcabc", "bc", 3, 5}, {"abc", "c", 3, 3}, {"abc", "abcd", 1, 0},
        {"ABC", "b", 1, 0}, {"", "a", 1, 0}, {"aab", "ab", 1, 2}, {"logo.bmp", ".", 1, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.pattern + " from " + std::to_string(c.start));
        EXPECT_EQ(FindInString(c.text, c.pattern, c.start), c.position);
    }
    EXPECT_EQ(FindInString(nullptr, ".", 1), 0);
    EXPECT_EQ(FindInString("a.b", nullptr, 1), 0);
}

}  // namespace

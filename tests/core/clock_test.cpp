#include "runtime/core/clock.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "runtime/core/strings.h"

namespace {

std::string Formatted(const SYSTEMTIME& t) {
    char text[16];
    std::snprintf(text, sizeof(text), "%02u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
    return text;
}

TEST(TimeText, LocalTimeAsEightCharacters) {
    ASSERT_EQ(CreateStringHeap(), 1);
    SYSTEMTIME before{};
    SYSTEMTIME after{};
    GetLocalTime(&before);
    char* text = TimeText();
    GetLocalTime(&after);
    ASSERT_NE(text, nullptr);
    const std::string got(text);
    ASSERT_EQ(got.size(), 8u);
    for (size_t i : {0u, 1u, 3u, 4u, 6u, 7u})
        EXPECT_TRUE(got[i] >= '0' && got[i] <= '9') << got;
    EXPECT_EQ(got[2], ':');
    EXPECT_EQ(got[5], ':');
    EXPECT_TRUE(got == Formatted(before) || got == Formatted(after))
        << got << " between " << Formatted(before) << " and " << Formatted(after);
    EXPECT_NE(FreeString(text), 0);
    ShutdownStringHeap();
}

TEST(TimeText, NothingWithoutStringHeap) { EXPECT_EQ(TimeText(), nullptr); }

}  // namespace

#include "runtime/core/format_int64.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

struct Formatted {
    std::string text;
    int32_t count;
};

Formatted Unsigned(uint64_t v) {
    std::array<char, kFormat64Room + 1> out;
    out.fill('#');
    const int32_t n = FormatUnsigned64(out.data(), static_cast<uint32_t>(v), static_cast<uint32_t>(v >> 32));
    return {std::string(out.data()), n};
}

Formatted Signed(int64_t v) {
    std::array<char, kFormat64Room + 1> out;
    out.fill('#');
    const auto bits = static_cast<uint64_t>(v);
    const int32_t n = FormatSigned64(out.data(), static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32));
    return {std::string(out.data()), n};
}

TEST(FormatInt64, UnsignedUsesBothHalves) {
    const Formatted tenTimes2To32 = Unsigned(10ull << 32);
    EXPECT_EQ(tenTimes2To32.text, "42949672960 ");
    EXPECT_EQ(tenTimes2To32.count, 12);
    EXPECT_EQ(Unsigned(0).text, "0 ");
    EXPECT_EQ(Unsigned(0).count, 2);
    EXPECT_EQ(Unsigned(4294967295u).text, "4294967295 ");
    EXPECT_EQ(Unsigned(4294967296ull).text, "4294967296 ");
    const Formatted largest = Unsigned(~0ull);
    EXPECT_EQ(largest.text, "18446744073709551615 ");
    EXPECT_EQ(largest.count, 21);
}

TEST(FormatInt64, SignedCountsTheSign) {
    EXPECT_EQ(Signed(-1).text, "-1 ");
    EXPECT_EQ(Signed(-1).count, 3);
    EXPECT_EQ(Signed(42).text, "42 ");
    EXPECT_EQ(Signed(42).count, 3);
    EXPECT_EQ(Signed(-(10ll << 32)).text, "-42949672960 ");
    const Formatted smallest = Signed(INT64_MIN);
    EXPECT_EQ(smallest.text, "-9223372036854775808 ");
    EXPECT_EQ(smallest.count, 21);
    EXPECT_EQ(Signed(INT64_MAX).text, "9223372036854775807 ");
}

}  // namespace

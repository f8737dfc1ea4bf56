#include "runtime/core/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "runtime/program/program.h"

namespace {

uint16_t FloatControlWord() {
    uint16_t word = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(word));
    return word;
}

class NumbersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFloatingPoint();
        // Bit 6 is reserved: under Wine here 0x033F reads back as 0x037F.
        ASSERT_EQ(FloatControlWord() & ~0x40, kFloatControlWord & ~0x40);
        controlWord = FloatControlWord();
    }
    uint16_t controlWord = 0;
};

TEST_F(NumbersTest, ParseNumberReadsLeadingDecimalText) {
    EXPECT_EQ(ParseNumber("30"), 30.0);
    EXPECT_EQ(ParseNumber(" \t  \t30"), 30.0);
    EXPECT_EQ(ParseNumber("12.5"), 12.5);
    EXPECT_EQ(ParseNumber(".5"), 0.5);
    EXPECT_EQ(ParseNumber("-0.25"), -0.25);
    EXPECT_EQ(ParseNumber("0.1"), 0.1);
    EXPECT_EQ(ParseNumber("7abc"), 7.0);
    EXPECT_EQ(ParseNumber("3.5.7"), 3.5);
    EXPECT_EQ(ParseNumber("1e3"), 1.0);
    EXPECT_EQ(ParseNumber("+5"), 0.0);
    EXPECT_EQ(ParseNumber("0x1F"), 0.0);
    EXPECT_EQ(ParseNumber("1,000"), 1.0);
    EXPECT_EQ(ParseNumber("- 5"), 0.0);
    EXPECT_EQ(ParseNumber(""), 0.0);
    EXPECT_EQ(ParseNumber(nullptr), 0.0);
    EXPECT_EQ(ParseNumber("4294967296"), 4294967296.0);
    EXPECT_NEAR(ParseNumber("3.14159265358979"), 3.14159265358979, 1e-15);
}

TEST_F(NumbersTest, LoneMinusGivesNegativeZero) {
    const double zero = ParseNumber("-");
    EXPECT_EQ(zero, 0.0);
    EXPECT_TRUE(std::signbit(zero));
    EXPECT_TRUE(std::signbit(ParseNumber("-abc")));
    EXPECT_FALSE(std::signbit(ParseNumber("abc")));
}

// The monitor's conversion of a typed interval: parsed, then rounded to
// nearest even, the integer indefinite when out of range.
TEST_F(NumbersTest, IntervalTextsConvertAsTheMonitorDoes) {
    struct Case {
        const char* text;
        int32_t seconds;
    };
    const Case cases[] = {
        {"30", 30},   {"  \t 30", 30}, {"12abc", 12}, {"9", 9},     {"9.5", 10},
        {"10.5", 10}, {"abc", 0},      {"", 0},       {"-20", -20}, {"+30", 0},
        {"3e1", 3},   {"99999999999", -2147483647 - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundToInt32(ParseNumber(c.text)), c.seconds) << '"' << c.text << '"';
}

TEST_F(NumbersTest, CharacterTestsUseTheLowByte) {
    EXPECT_EQ(IsDigitChar('0'), 1);
    EXPECT_EQ(IsDigitChar('9'), 1);
    EXPECT_EQ(IsDigitChar('/'), 0);
    EXPECT_EQ(IsDigitChar(':'), 0);
    EXPECT_EQ(IsDigitChar(0x100 + '5'), 1);
    EXPECT_EQ(IsDigitChar(0x35000000), 0);
    EXPECT_EQ(FirstCharCode("A"), 65);
    EXPECT_EQ(FirstCharCode("\xE9t\xE9"), 0xE9);
    EXPECT_EQ(FirstCharCode(""), 0);
}

// Decimal digits are weighed with PowerOfTen's table where Power would
// run the x87's logarithm: the two must agree to the bit.
TEST_F(NumbersTest, PowerOfTenIsPowerOfTenBitForBit) {
    for (int32_t k = -4; k <= 40; ++k) {
        const double table = PowerOfTen(k), power = Power(10.0, k);
        EXPECT_EQ(std::memcmp(&table, &power, sizeof(double)), 0) << "10^" << k;
    }
}

TEST_F(NumbersTest, PowerFollowsTheRulesForZeroAndNegativeBases) {
    EXPECT_EQ(Power(2, 10), 1024.0);
    EXPECT_EQ(Power(10, 0), 1.0);
    EXPECT_EQ(Power(0, 0), 1.0);
    EXPECT_EQ(Power(-5, 0), 1.0);
    EXPECT_EQ(Power(0, 3), 0.0);
    EXPECT_EQ(Power(0, -1), 0.0);
    EXPECT_EQ(Power(-2, 3), -8.0);
    EXPECT_EQ(Power(-2, 2), 4.0);
    EXPECT_EQ(Power(-2, -1), -0.5);
    EXPECT_EQ(Power(-2, 0.5), 0.0);
    EXPECT_EQ(Power(-8, -2.5), 0.0);
    EXPECT_EQ(Power(2, -1), 0.5);
    EXPECT_DOUBLE_EQ(Power(9, 0.5), 3.0);
    EXPECT_DOUBLE_EQ(Power(2, 0.5), std::sqrt(2.0));
    EXPECT_EQ(Power(10, 400), std::numeric_limits<double>::infinity());
    double exact = 1;
    for (int k = 1; k <= 15; ++k) {
        exact *= 10;
        EXPECT_EQ(Power(10, k), exact) << "10^" << k;
    }
    EXPECT_EQ(FloatControlWord(), controlWord);
}

TEST_F(NumbersTest, AbsoluteValueFlipsWhatIsNotAtLeastZero) {
    EXPECT_EQ(AbsoluteValue(-3.5), 3.5);
    EXPECT_EQ(AbsoluteValue(3.5), 3.5);
    EXPECT_TRUE(std::signbit(AbsoluteValue(-0.0)));
    EXPECT_FALSE(std::signbit(AbsoluteValue(0.0)));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(AbsoluteValue(nan)));
    EXPECT_NE(std::signbit(AbsoluteValue(nan)), std::signbit(nan));
}

}  // namespace

#include "runtime/program/program.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_support.h"

namespace {

std::string RunScenario(const std::string& scenario, ChildResult& result) {
    const std::string folder = ScratchFolder("end-" + scenario);
    const std::string log = folder + "\\log.txt";
    DeleteFileA(log.c_str());
    result = RunChild(BuildPath(CHILDREN_DIR "\\end_program_child.exe"), scenario + " " + log);
    return ReadWholeFile(log);
}

TEST(EndProgramTest, CloseFromTheHandlerRunsExitRoutinesNewestFirstAndExitsZero) {
    ChildResult result;
    const std::string log = RunScenario("close", result);
    ASSERT_TRUE(result.started);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(log, "cba");   // nothing after EndProgram ran
}

TEST(EndProgramTest, EndsFromInsideAMessageBoxModalLoop) {
    ChildResult result;
    const std::string log = RunScenario("message-box", result);
    ASSERT_TRUE(result.started);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(log, "[timer]cba");   // the box never returned
}

TEST(EndProgramTest, ABodyThatReturnsStillEndsThroughTheEndSequence) {
    ChildResult result;
    const std::string log = RunScenario("return", result);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(log, "cba");
}

TEST(FloatingPointTest, TheEntryLoadsTheControlWordBeforeTheBodyRuns) {
    ChildResult result;
    const std::string log = RunScenario("control-word", result);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
    ASSERT_EQ(log.size(), 4u) << log;   // four hex digits
    const auto word = static_cast<uint16_t>(std::stoul(log, nullptr, 16));
    // Bit 6 is reserved and reads back as 1 on the x87.
    EXPECT_EQ(word & ~0x40, kFloatControlWord & ~0x40) << log;
}

TEST(FloatingPointTest, ResetRestoresTheControlWord) {
    const uint16_t other = 0x027F;   // 53-bit precision
    __asm__ __volatile__("fldcw %0" : : "m"(other));
    ResetFloatingPoint();
    uint16_t word = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(word));
    // Bit 6 is reserved and reads back as 1 on the x87.
    EXPECT_EQ(word & ~0x40, kFloatControlWord & ~0x40);
}

}  // namespace

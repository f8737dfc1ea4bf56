#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "runtime/core/numbers.h"
#include "tests/resource/file_channel_fixture.h"
#include "tests/support/box_watcher.h"

namespace {

// What the platform says about an open handle: its mode bits (the
// sequential-scan flag shows as FILE_SEQUENTIAL_ONLY).
ULONG FileModeBits(HANDLE handle) {
    struct StatusBlock {
        LONG status;
        ULONG_PTR information;
    } io{};
    using Query = LONG(WINAPI*)(HANDLE, StatusBlock*, void*, ULONG, int);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationFile")));
    constexpr int kFileModeInformation = 16;
    ULONG mode = 0;
    return query && query(handle, &io, &mode, sizeof(mode), kFileModeInformation) == 0 ? mode : ~0u;
}
constexpr ULONG kSequentialOnly = 0x4;

bool OthersMayOpen(const std::string& path, DWORD access) {
    const HANDLE other = CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
    if (other == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(other);
    return true;
}

struct ModeCase {
    const char* mode = "";
    uint32_t kind = 0;
    bool existing = false;     // the file holds "abc" before the open
    bool opens = false;
    bool writes = false;       // the channel's handle may write
    bool othersWrite = false;  // another opener may write meanwhile
    DWORD size = 0;            // file size right after the open
    DWORD position = 0;        // file pointer right after the open
};

const ModeCase kModeCases[] = {
    {"R", TY_TEXTFILE, true, true, false, true, 3, 0},   {"r", TY_BINFILE, true, true, false, true, 3, 0},
    {"R", TY_BINFILE, false, false},                     {"r", TY_TEXTFILE, false, false},
    {"R+", TY_BINFILE, true, true, true, false, 3, 0},   {"r+", TY_BINFILE, true, true, true, false, 3, 0},
    {"R+", TY_BINFILE, false, false},                    {"R+", TY_TEXTFILE, true, false},
    {"r+", TY_TEXTFILE, true, false},                    {"W", TY_TEXTFILE, true, true, true, false, 0, 0},
    {"w", TY_BINFILE, false, true, true, false, 0, 0},   {"A", TY_TEXTFILE, true, true, true, false, 3, 3},
    {"a", TY_BINFILE, true, true, true, false, 3, 3},    {"A", TY_BINFILE, false, true, true, false, 0, 0},
    {"", TY_TEXTFILE, true, false},                      {"x", TY_BINFILE, true, false},
    {"rw", TY_BINFILE, true, false},                     {"W+", TY_BINFILE, true, false},
    {"a+", TY_TEXTFILE, true, false},                    {"R ", TY_TEXTFILE, true, false},
};

TEST_F(FileChannelTest, OpensEveryModeOfTheTable) {
    int index = 0;
    for (const ModeCase& c : kModeCases) {
        SCOPED_TRACE(std::string("mode \"") + c.mode + "\" kind " + std::to_string(c.kind));
        const std::string name = "mode" + std::to_string(index++);
        const std::string path = PathOf(name);
        if (c.existing)
            WriteBytes(name, "abc");
        const auto untouched = reinterpret_cast<HANDLE>(0x5A5A);
        HANDLE channel = untouched;
        const int32_t result = OpenFileChannel(&channel, c.kind, path.c_str(), c.mode);
        if (!c.opens) {
            EXPECT_EQ(result, 1);
            EXPECT_EQ(channel, untouched);
            EXPECT_EQ(GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES, c.existing);
            continue;
        }
        ASSERT_EQ(result, 0);
        EXPECT_EQ(GetFileSize(channel, nullptr), c.size);
        EXPECT_EQ(FilePosition(channel), c.position);
        EXPECT_EQ(FileModeBits(channel) & kSequentialOnly, kSequentialOnly);
        EXPECT_TRUE(OthersMayOpen(path, GENERIC_READ));
        EXPECT_EQ(OthersMayOpen(path, GENERIC_WRITE), c.othersWrite);
        DWORD written = 0;
        EXPECT_EQ(WriteFile(channel, "z", 1, &written, nullptr) != 0, c.writes);
        EXPECT_EQ(CloseFileChannel(&channel, c.kind), 1);
        EXPECT_EQ(channel, nullptr);
        std::string expected = c.size ? "abc" : "";
        if (c.writes)
            expected.replace(c.position, 1, "z");
        EXPECT_EQ(ReadWholeFile(path), expected);
    }
}

TEST_F(FileChannelTest, ClosingClearsTheVariableAndReleasesTheFile) {
    OpenText("abc");
    const HANDLE handle = text_;
    EXPECT_FALSE(OthersMayOpen(PathOf("text.txt"), DELETE));
    EXPECT_EQ(CloseFileChannel(&text_, TY_TEXTFILE | TY_BYREF), 1);
    EXPECT_EQ(text_, nullptr);
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(handle, &flags));
    EXPECT_TRUE(DeleteFileA(PathOf("text.txt").c_str()));
    const auto boxes = BoxesDuring([&] { EXPECT_EQ(CloseFileChannel(&text_, TY_TEXTFILE), 0); });
    EXPECT_TRUE(boxes.empty());
}

TEST_F(FileChannelTest, WrongVariableTypesAreReportedAndTouchNothing) {
    const std::string path = PathOf("never.txt");
    for (const uint32_t type : {uint32_t{TY_INTEGER}, uint32_t{TY_STRING}, uint32_t{TY_NONE},
                                uint32_t{TY_TEXTFILE + 0x10000 * 2 + 1}}) {
        HANDLE channel = nullptr;
        int32_t result = 0;
        const auto boxes = BoxesDuring([&] { result = OpenFileChannel(&channel, type, path.c_str(), "W"); });
        EXPECT_EQ(result, 1);
        EXPECT_EQ(channel, nullptr);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Runtime error (OPENFILE): file variable expected");
        EXPECT_EQ(boxes[0].caption, "Error");
    }
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);

    OpenText("kept");
    const HANDLE handle = text_;
    const auto boxes = BoxesDuring([&] { EXPECT_EQ(CloseFileChannel(&text_, TY_BINFILE + 1), 0); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Runtime Error: Invalid file variable");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(text_, handle);
    char line[16] = {};
    EXPECT_EQ(ReadFileChannel(Text(), VariableArg(line, TY_STRING), sizeof(line)), 0);
    EXPECT_STREQ(line, "kept");
}

TEST_F(FileChannelTest, AppendingWritesAfterTheOldEnd) {
    const std::string path = WriteBytes("log.txt", "one\r\n");
    ASSERT_EQ(OpenFileChannel(&text_, TY_TEXTFILE, path.c_str(), "a"), 0);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(text_, "two\r\n", 5, &written, nullptr));
    CloseFileChannel(&text_, TY_TEXTFILE);
    EXPECT_EQ(ReadWholeFile(path), "one\r\ntwo\r\n");
}

TEST_F(FileChannelTest, NumbersAreReadInTurnAndEndWithZero) {
    OpenText("12,  -3.5x7");
    double value = 99;
    const TypedArg into = VariableArg(&value, TY_DOUBLE);
    EXPECT_EQ(ReadFileChannel(Text(), into), 0);
    EXPECT_EQ(value, 12.0);
    EXPECT_EQ(FilePosition(text_), 3u);  // just after the comma that ended it
    EXPECT_EQ(ReadFileChannel(Text(), into), 0);
    EXPECT_EQ(value, -3.5);
    EXPECT_EQ(ReadFileChannel(Text(), into), 0);
    EXPECT_EQ(value, 7.0);
    EXPECT_EQ(ReadFileChannel(Text(), into), -1);
    EXPECT_EQ(value, 0.0);

    CloseFileChannel(&text_, TY_TEXTFILE);
    // 48 fraction digits: the first 40 characters make the number, the rest
    // of it is consumed with it rather than read as a number of its own.
    const std::string digits = "0.123456789012345678901234567890123456789012345678";
    OpenText(".5 -.5 12-3 " + digits + " 8");
    for (const double expected : {5.0, -0.5, 12.0, ParseNumber(digits.substr(0, 40).c_str()), 8.0}) {
        EXPECT_EQ(ReadFileChannel(Text(), into), 0);
        EXPECT_EQ(value, expected);
    }
    EXPECT_EQ(ReadFileChannel(Text(), into), -1);
}

struct StoreCase {
    const char* text;
    uint32_t type;
    std::vector<uint8_t> bytes;  // what the variable holds afterwards
};

template <typename T>
std::vector<uint8_t> BytesOf(T value) {
    std::vector<uint8_t> bytes(sizeof(T));
    std::memcpy(bytes.data(), &value, sizeof(T));
    return bytes;
}

TEST_F(FileChannelTest, NumbersAreStoredByTheVariableType) {
    const StoreCase cases[] = {
        {"2.5", TY_INTEGER, BytesOf<int32_t>(2)},
        {"3.5", TY_INTEGER, BytesOf<int32_t>(4)},
        {"-2.5", TY_INTEGER, BytesOf<int32_t>(-2)},
        {"3000000000", TY_INTEGER, BytesOf<int32_t>(INT32_MIN)},
        {"3000000000", TY_DWORD, BytesOf<uint32_t>(3000000000u)},
        {"-1", TY_DWORD, BytesOf<uint32_t>(0xFFFFFFFFu)},
        {"40000", TY_WORD, BytesOf<uint16_t>(40000)},
        {"-7.5", TY_SHORT, BytesOf<int16_t>(-8)},
        {"300", TY_BYTE, BytesOf<uint8_t>(44)},
        {"65.5", TY_CHAR, BytesOf<uint8_t>('B')},
        {"0.1", TY_SINGLE, BytesOf<float>(0.1f)},
        {"0.1", TY_DOUBLE, BytesOf<double>(0.1)},
        {"12345678901234.5", TY_QUAD, BytesOf<int64_t>(12345678901234)},
        {"-4294967296.5", TY_QUAD, BytesOf<int64_t>(-4294967296)},
        {"10000000000000000000", TY_UQUAD, BytesOf<uint64_t>(10000000000000000000ull)},
        {"3.5", TY_POINTER, BytesOf<int32_t>(4)},
        {"5.5", TY_BLOCK | TY_BYREF, BytesOf<int32_t>(6)},
    };
    int index = 0;
    for (const StoreCase& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " as type " + std::to_string(c.type));
        OpenText(c.text, "number" + std::to_string(index++));
        std::array<uint8_t, 16> variable;
        variable.fill(0xAA);
        EXPECT_EQ(ReadFileChannel(Text(), VariableArg(variable.data(), c.type)), 0);
        std::vector<uint8_t> expected = c.bytes;
        expected.resize(variable.size(), 0xAA);
        EXPECT_EQ(std::vector<uint8_t>(variable.begin(), variable.end()), expected);
        CloseFileChannel(&text_, TY_TEXTFILE);
    }
}

TEST_F(FileChannelTest, NumberTextReaderReportsTheEnd) {
    OpenText("ab -42; ");
    int32_t notFound = 7;
    EXPECT_EQ(ReadNumberText(text_, &notFound), -42.0);
    EXPECT_EQ(notFound, 0);
    EXPECT_EQ(ReadNumberText(text_, &notFound), 0.0);
    EXPECT_EQ(notFound, 1);
    EXPECT_EQ(FilePosition(text_), 8u);
    for (const int byte : {'0', '5', '9'})
        EXPECT_TRUE(IsDigit(static_cast<uint8_t>(byte)));
    for (const int byte : {int{'/'}, int{':'}, int{'.'}, int{'-'}, 0, 0xB0, 0xB9})
        EXPECT_FALSE(IsDigit(static_cast<uint8_t>(byte)));
}

// Random runs of number and other bytes across the reader's chunk edges,
// against a byte-at-a-time reading of the same bytes: the same values, and
// the file pointer just after each number, so direct reads go on there.
TEST_F(FileChannelTest, NumbersAcrossChunkEdgesLeaveThePointerJustAfterThem) {
    const std::string kNumberBytes = "0123456789-.", kOtherBytes = " x,\r\n;";
    std::mt19937 random(0x4E554D53u);
    int compared = 0;
    for (int f = 0; f < 40; ++f) {
        std::string bytes;
        while (bytes.size() < 600) {
            const std::string& from = random() % 2 ? kNumberBytes : kOtherBytes;
            for (size_t run = random() % 4 ? 1 + random() % 9 : random() % 140; run > 0; --run)
                bytes += from[random() % from.size()];
        }
        OpenText(bytes, "numbers" + std::to_string(f) + ".txt");
        int32_t notFound = 7;
        for (size_t pos = 0; (pos = bytes.find_first_of("-0123456789", pos)) != std::string::npos; ++compared) {
            const size_t end = std::min(bytes.find_first_not_of(kNumberBytes, pos), bytes.size());
            const std::string text = bytes.substr(pos, std::min<size_t>(end - pos, 40));
            pos = std::min(end + 1, bytes.size());
            ASSERT_EQ(ReadNumberText(text_, &notFound), ParseNumber(text.c_str())) << "file " << f << " " << text;
            ASSERT_EQ(FilePosition(text_), pos) << "file " << f << " " << text;
        }
        EXPECT_EQ(ReadNumberText(text_, &notFound), 0.0);
        EXPECT_EQ(notFound, 1);
        CloseFileChannel(&text_, TY_TEXTFILE);
    }
    EXPECT_GT(compared, 250);   // 314 numbers in the 40 files
}

// A channel variable is read only where all four of its bytes may be read,
// also when they straddle two regions of memory.
TEST_F(FileChannelTest, AVariableAcrossTwoRegionsIsReadOnlyWhenBothAreReadable) {
    char* pages = static_cast<char*>(VirtualAlloc(nullptr, 8192, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    const HANDLE value = reinterpret_cast<HANDLE>(0x12345678);
    std::memcpy(pages + 4094, &value, sizeof(value));
    for (const DWORD second : {DWORD{PAGE_READONLY}, DWORD{PAGE_NOACCESS}}) {
        DWORD old = 0;
        ASSERT_TRUE(VirtualProtect(pages + 4096, 4096, second, &old));
        const TypedArg arg{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pages + 4094)), TY_BINFILE | TY_BYREF};
        EXPECT_EQ(ChannelHandle(arg), second == PAGE_READONLY ? value : nullptr) << second;
    }
    VirtualFree(pages, 0, MEM_RELEASE);
    // A variable on the caller's stack is read without asking for its page.
    const HANDLE onStack = value;
    EXPECT_EQ(ChannelHandle({static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&onStack)), TY_BINFILE | TY_BYREF}),
              value);
}

TEST_F(FileChannelTest, BinaryReadsStayInsideTheirDestination) {
    std::string bytes(256, 0);
    for (int i = 0; i < 256; ++i)
        bytes[static_cast<size_t>(i)] = static_cast<char>(i);
    OpenBinary(bytes);

    std::array<uint8_t, 8> variable;
    variable.fill(0xAA);
    EXPECT_EQ(ReadFileChannel(Binary(), VariableArg(variable.data(), TY_INTEGER), 4), 0);
    EXPECT_EQ((std::array<uint8_t, 8>{0, 1, 2, 3, 0xAA, 0xAA, 0xAA, 0xAA}), variable);
    // A count beyond the variable's width reads only the width.
    EXPECT_EQ(ReadFileChannel(Binary(), VariableArg(variable.data(), TY_WORD), 64), 0);
    EXPECT_EQ((std::array<uint8_t, 8>{4, 5, 2, 3, 0xAA, 0xAA, 0xAA, 0xAA}), variable);
    EXPECT_EQ(FilePosition(binary_), 6u);

    // A block variable: into the block it holds, never past its size.
    auto* block = static_cast<uint8_t*>(GlobalAlloc(GMEM_ZEROINIT, 10));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(ReadFileChannel(Binary(), VariableArg(&block, TY_BLOCK), 100), 0);
    EXPECT_EQ(block[0], 6);
    EXPECT_EQ(block[9], 15);
    EXPECT_EQ(FilePosition(binary_), 16u);
    GlobalFree(block);
    uint8_t* noBlock = nullptr;
    EXPECT_EQ(ReadFileChannel(Binary(), VariableArg(&noBlock, TY_BLOCK), 100), -1);

    // A string-heap block takes at most its own size; other memory the count.
    char* text = AllocString(5);
    EXPECT_EQ(ReadFileChannel(Binary(), VariableArg(text, TY_STRING), 100), 0);
    EXPECT_EQ(FilePosition(binary_), 16u + StringCapacity(text));
    FreeString(text);
    std::array<uint8_t, 300> buffer{};
    const TypedArg byValue{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(binary_)), TY_BINFILE};
    EXPECT_EQ(ReadFileChannel(byValue, VariableArg(buffer.data(), TY_POINTER), 300), 0);
    EXPECT_EQ(buffer[0], 24);
    EXPECT_EQ(buffer[231], 255);
    EXPECT_EQ(buffer[232], 0);
    EXPECT_EQ(ReadFileChannel(Binary(), VariableArg(buffer.data(), TY_POINTER), 300), -1);

    // Nothing is read without a count, a channel, or a file channel at all.
    SetFilePointer(binary_, 0, nullptr, FILE_BEGIN);
    EXPECT_EQ(ReadFileChannel(Binary(), VariableArg(buffer.data(), TY_POINTER), 0), -1);
    EXPECT_EQ(ReadFileChannel(Binary(), VariableArg(buffer.data(), TY_POINTER), -5), -1);
    HANDLE closed = nullptr;
    EXPECT_EQ(ReadFileChannel(ChannelArg(closed, TY_BINFILE), VariableArg(buffer.data(), TY_POINTER), 4), -1);
    EXPECT_EQ(ReadFileChannel(ChannelArg(binary_, TY_INTEGER), VariableArg(buffer.data(), TY_POINTER), 4), -1);
    EXPECT_EQ(ReadFileChannel(Binary(), TypedArg{0, TY_POINTER}, 4), -1);
    EXPECT_EQ(FilePosition(binary_), 0u);
}

}  // namespace

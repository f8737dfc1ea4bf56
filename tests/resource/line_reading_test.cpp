#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "tests/resource/file_channel_fixture.h"

namespace {

// One line as universal newlines see the bytes: CR, LF and CR LF each end a
// line; a last line may go without an ending.
struct SplitLine {
    std::string text;
    size_t start;
    size_t end;  // just after the ending
};

std::vector<SplitLine> SplitUniversal(const std::string& bytes) {
    std::vector<SplitLine> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t start = pos;
        while (pos < bytes.size() && bytes[pos] != '\r' && bytes[pos] != '\n')
            ++pos;
        const std::string text = bytes.substr(start, pos - start);
        if (pos < bytes.size())
            pos += bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n' ? 2 : 1;
        lines.push_back({text, start, pos});
    }
    return lines;
}

// What reads into a string of the storage give: each line in pieces of at
// most storage - 1 bytes, the last piece taking the ending with it.
std::vector<SplitLine> Pieces(const std::vector<SplitLine>& lines, size_t storage) {
    std::vector<SplitLine> pieces;
    const size_t room = storage - 1;
    for (const SplitLine& line : lines) {
        if (line.text.empty())
            pieces.push_back(line);
        for (size_t off = 0; off < line.text.size(); off += room) {
            const bool last = off + room >= line.text.size();
            pieces.push_back({line.text.substr(off, room), line.start + off, last ? line.end : line.start + off + room});
        }
    }
    return pieces;
}

// Text for a failure message, with bytes outside printable ASCII as \xNN.
std::string Printable(const std::string& bytes) {
    std::string text;
    for (const char c : bytes) {
        char escaped[8];
        std::snprintf(escaped, sizeof(escaped), c >= ' ' && c < 127 ? "%c" : "\\x%02X",
                      static_cast<unsigned char>(c));
        text += escaped;
    }
    return text;
}

constexpr uint8_t kGuard = 0xA5;
constexpr size_t kGuardBytes = 32;

class LineReadingTest : public FileChannelTest {
protected:
    // Reads the open text channel to its end into a string of the storage
    // (guarded behind it) and counts the reads that differ from the pieces
    // expected; the first few differences are reported.
    int ReadAndCompare(const std::vector<SplitLine>& expected, size_t storage, const std::string& label) {
        std::vector<char> line(storage + kGuardBytes, static_cast<char>(kGuard));
        int differences = 0;
        auto differ = [&](const std::string& what) {
            if (++differences <= 3)
                ADD_FAILURE() << label << ", storage " << storage << ": " << what;
        };
        const TypedArg into = VariableArg(line.data(), TY_STRING);
        for (size_t i = 0; i <= expected.size(); ++i) {
            const int32_t result = ReadFileChannel(Text(), into, static_cast<int32_t>(storage));
            for (size_t g = storage; g < line.size(); ++g) {
                if (static_cast<uint8_t>(line[g]) != kGuard) {
                    differ("guard byte " + std::to_string(g - storage) + " overwritten");
                    return differences;
                }
            }
            if (i == expected.size()) {
                if (result != -1 || line[0] != 0)
                    differ("a read past the end gave " + std::to_string(result));
                break;
            }
            if (result != 0 || std::string(line.data()) != expected[i].text)
                differ("read " + std::to_string(i) + " gave \"" + Printable(line.data()) + "\", result " +
                       std::to_string(result));
            else if (FilePosition(text_) != expected[i].end)
                differ("read " + std::to_string(i) + " left the file at " + std::to_string(FilePosition(text_)) +
                       ", not " + std::to_string(expected[i].end));
        }
        return differences;
    }
};

std::string Repeat(char c, size_t n) { return std::string(n, c); }

TEST_F(LineReadingTest, EndingsAndChunkEdges) {
    const std::string x127 = Repeat('x', 127);
    const std::string y255 = Repeat('y', 255);
    const struct {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"one\r\ntwo\nthree\rfour", {"one", "two", "three", "four"}},
        {"", {}},
        {"\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {"\r\r\n\n\r", {"", "", "", ""}},
        {"a\r", {"a"}},
        {x127 + "\r\nnext", {x127, "next"}},     // CR the chunk's last byte, LF the next one
        {x127 + "\rnext", {x127, "next"}},       // CR the chunk's last byte, no LF after it
        {x127 + "\r", {x127}},                   // ... and the file's last byte
        {x127 + "\r\r\n", {x127, ""}},
        {x127 + "x\n\n", {x127 + "x", ""}},      // LF the first byte of the second chunk
        {y255 + "\r\n" + y255, {y255, y255}},    // CR LF across the second chunk's edge
        {Repeat('z', 300), {Repeat('z', 300)}},  // three chunks, no ending
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(index));
        OpenText(c.bytes, "edge" + std::to_string(index++));
        const std::vector<SplitLine> lines = SplitUniversal(c.bytes);
        ASSERT_EQ(lines.size(), c.lines.size());
        for (size_t i = 0; i < lines.size(); ++i)
            ASSERT_EQ(lines[i].text, c.lines[i]);
        EXPECT_EQ(ReadAndCompare(lines, 1024, "edge case"), 0);
        CloseFileChannel(&text_, TY_TEXTFILE);
    }
    // The next byte after a line is where direct use of the handle goes on.
    OpenText(x127 + "\r\nQ");
    char line[200];
    EXPECT_EQ(ReadFileChannel(Text(), VariableArg(line, TY_STRING), sizeof(line)), 0);
    char next = 0;
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(text_, &next, 1, &got, nullptr));
    EXPECT_EQ(next, 'Q');
}

// Random files of CR, LF and ordinary bytes with lines around the 128-byte
// chunk edges, each read to its end, compared line by line and position by
// position with the universal-newline split of the same bytes: once into a
// string with room for every line, once into a string that cuts them.
TEST_F(LineReadingTest, RandomFilesReadAsUniversalNewlinesSplitThem) {
    constexpr int kFiles = 2000;
    constexpr size_t kLengths[] = {0, 1, 2, 63, 126, 127, 128, 129, 130, 254, 255, 256, 257};
    constexpr size_t kSmallStorage[] = {2, 3, 64, 127, 128, 129};
    constexpr const char* kEndings[] = {"\r", "\n", "\r\n", "", "\r\r", "\n\r"};
    std::mt19937 random(0x5EED2024u);
    auto pick = [&random](size_t n) { return static_cast<size_t>(random() % n); };
    const std::string path = PathOf("random.txt");
    int differences = 0;
    size_t linesCompared = 0;
    size_t piecesCompared = 0;
    for (int f = 0; f < kFiles; ++f) {
        std::string bytes;
        const size_t lineCount = pick(9);
        for (size_t l = 0; l < lineCount; ++l) {
            const size_t length = pick(4) == 0 ? pick(300) : kLengths[pick(std::size(kLengths))];
            for (size_t b = 0; b < length; ++b) {
                char c = pick(3) == 0 ? static_cast<char>('a' + pick(26)) : static_cast<char>(1 + pick(255));
                bytes += c == '\r' || c == '\n' ? '.' : c;
            }
            bytes += kEndings[pick(std::size(kEndings))];
        }
        const std::vector<SplitLine> lines = SplitUniversal(bytes);
        const size_t small = kSmallStorage[static_cast<size_t>(f) % std::size(kSmallStorage)];
        const std::vector<SplitLine> pieces = Pieces(lines, small);
        OpenText(bytes, "random.txt");
        const std::string label = "file " + std::to_string(f);
        differences += ReadAndCompare(lines, bytes.size() + 1, label);
        SetFilePointer(text_, 0, nullptr, FILE_BEGIN);
        differences += ReadAndCompare(pieces, small, label);
        CloseFileChannel(&text_, TY_TEXTFILE);
        linesCompared += lines.size();
        piecesCompared += pieces.size();
    }
    DeleteFileA(path.c_str());
    std::printf("%d files, %u lines and %u cut pieces compared, %d differences\n", kFiles,
                static_cast<unsigned>(linesCompared), static_cast<unsigned>(piecesCompared), differences);
    EXPECT_EQ(differences, 0);
    EXPECT_GT(linesCompared, static_cast<size_t>(kFiles) * 3);
}

TEST_F(LineReadingTest, TooSmallDestinationsAreNeverOverrun) {
    std::string longLine;
    for (int i = 0; i < 300; ++i)
        longLine += static_cast<char>('a' + i % 26);
    const std::string bytes = longLine + "\r\nend\n\nlast";
    const std::vector<SplitLine> lines = SplitUniversal(bytes);
    for (const size_t storage : {2u, 8u, 127u, 128u, 129u, 300u, 301u, 302u}) {
        OpenText(bytes, "long" + std::to_string(storage));
        EXPECT_EQ(ReadAndCompare(Pieces(lines, storage), storage, "long line"), 0);
        CloseFileChannel(&text_, TY_TEXTFILE);
    }

    // Room for the terminator only: an empty line reads, a longer one does not
    // and stays where it was.
    OpenText("\r\nabc", "tiny");
    std::array<char, 8> tiny;
    tiny.fill(static_cast<char>(kGuard));
    EXPECT_EQ(ReadFileChannel(Text(), VariableArg(tiny.data(), TY_STRING), 1), 0);
    EXPECT_EQ(tiny[0], 0);
    EXPECT_EQ(ReadFileChannel(Text(), VariableArg(tiny.data(), TY_STRING), 1), -1);
    EXPECT_EQ(FilePosition(text_), 2u);
    EXPECT_EQ(static_cast<uint8_t>(tiny[1]), kGuard);
    CloseFileChannel(&text_, TY_TEXTFILE);

    // Without a count a string-heap block is measured; other memory is not
    // written at all.
    OpenText(longLine, "heap");
    char* heapLine = AllocString(5);
    const auto heapStorage = static_cast<size_t>(StringCapacity(heapLine));
    ASSERT_GE(heapStorage, 8u);
    EXPECT_EQ(ReadFileChannel(Text(), VariableArg(heapLine, TY_STRING)), 0);
    EXPECT_EQ(std::string(heapLine), longLine.substr(0, heapStorage - 1));
    EXPECT_EQ(ReadFileChannel(Text(), VariableArg(heapLine, TY_STRING), 1000), 0);
    EXPECT_EQ(std::string(heapLine), longLine.substr(heapStorage - 1, heapStorage - 1));
    FreeString(heapLine);
    tiny.fill(static_cast<char>(kGuard));
    EXPECT_EQ(ReadFileChannel(Text(), VariableArg(tiny.data(), TY_STRING)), -1);
    EXPECT_EQ(ReadFileChannel(Text(), VariableArg(tiny.data() + 1, TY_STRING)), -1);
    for (const char c : tiny)
        EXPECT_EQ(static_cast<uint8_t>(c), kGuard);
    EXPECT_EQ(FilePosition(text_), 2 * (heapStorage - 1));
}

}  // namespace

// Streaming a real rich edit control's contents to and from strings, as
// plain text and as RTF, through the edit command table.

#include <richedit.h>

#include <string>
#include <vector>

#include "runtime/control/rich_edit_stream.h"
#include "runtime/core/strings.h"
#include "runtime/resource/file_channel.h"
#include "tests/control/command_fixture.h"

namespace {

constexpr int32_t kRichId = 501;
constexpr int32_t kText = 0;
constexpr int32_t kRtf = 1;

class RichEditStreamTest : public ControlCommandTest {
protected:
    void SetUp() override {
        ControlCommandTest::SetUp();
        rich = MakeRichEdit(kRichId);
        ASSERT_NE(rich, nullptr);
    }
    int32_t StreamOut(char* target, int32_t format, TypedArg size = NoArg) {
        return Command(kRichId, CC_ED_STREAM_OUT, StrArg(target), IntArg(format), size);
    }
    int32_t StreamIn(const char* source, int32_t format) {
        return Command(kRichId, CC_ED_STREAM_IN, StrArg(source), IntArg(format));
    }
    // The whole stream, through a string of the string heap large enough for it.
    std::string Streamed(int32_t format) {
        char* text = AllocString(1 << 20);
        const int32_t moved = StreamOut(text, format);
        std::string result(text);
        FreeString(text);
        EXPECT_EQ(moved, static_cast<int32_t>(result.size()));
        return result;
    }
    // Several lines in three colours and two faces.
    void WriteDocument() {
        struct Run {
            const char* face;
            int32_t points;
            COLORREF color;
            const char* text;
        };
        const Run runs[] = {
            {"Arial", 12, RGB(200, 0, 0), "First line in red Arial\r\n"},
            {"Courier New", 10, RGB(0, 0, 200), "Second line, blue Courier\r\n"},
            {"Arial", 14, RGB(0, 128, 0), "Third: green {braces} and back\\slash\r\n"},
            {"Courier New", 10, RGB(0, 0, 0), "Last line"},
        };
        SetWindowTextA(rich, "");
        for (const Run& run : runs) {
            Command(kRichId, CC_ED_SET_SEL, IntArg(-1), IntArg(-1));
            Command(kRichId, CC_ED_SET_SEL_FONT, StrArg(run.face), IntArg(run.points), IntArg(0), IntArg(0));
            Command(kRichId, CC_ED_SET_SEL_COLOR, IntArg(static_cast<int32_t>(run.color)));
            Command(kRichId, CC_ED_REPLACE_SEL, StrArg(run.text));
        }
    }
    COLORREF ColorAt(int32_t position) {
        SendMessageA(rich, EM_SETSEL, static_cast<WPARAM>(position), position + 1);
        CHARFORMATA format{};
        format.cbSize = sizeof(format);
        SendMessageA(rich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return format.crTextColor;
    }
    HWND rich = nullptr;
};

TEST_F(RichEditStreamTest, PlainTextOutIsTheControlsTextByteForByte) {
    WriteDocument();
    EXPECT_EQ(Streamed(kText), TextOf(rich));
}

TEST_F(RichEditStreamTest, RtfOutIsADocumentWithTheColoursAndFaces) {
    WriteDocument();
    const std::string rtf = Streamed(kRtf);
    EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u) << rtf;
    for (const char* part : {"Courier New", "Arial", "\\red200\\green0\\blue0", "\\red0\\green0\\blue200",
                             "First line in red Arial", "\\{braces\\}", "back\\\\slash"})
        EXPECT_NE(rtf.find(part), std::string::npos) << part << " in " << rtf;
}

TEST_F(RichEditStreamTest, ARoundTripRestoresTheContentsInBothFormats) {
    for (const int32_t format : {kText, kRtf}) {
        SCOPED_TRACE(format == kRtf ? "RTF" : "text");
        WriteDocument();
        const std::string original = TextOf(rich);
        const std::string streamed = Streamed(format);
        SetWindowTextA(rich, "something else");
        EXPECT_GT(StreamIn(streamed.c_str(), format), 0);
        EXPECT_EQ(TextOf(rich), original);
        // Wine's RTF comes back with the same text and colours but not
        // byte for byte: the bold of the control's default face ("System")
        // moves from the first run to the closing paragraph mark.
        if (format == kText) {
            EXPECT_EQ(Streamed(format), streamed);
        }
        if (format == kRtf) {
            EXPECT_EQ(ColorAt(0), RGB(200, 0, 0));
            EXPECT_EQ(ColorAt(static_cast<int32_t>(original.find("Second"))), RGB(0, 0, 200));
        }
    }
}

TEST_F(RichEditStreamTest, AnEmptyStringStreamsInNothing) {
    for (const int32_t format : {kText, kRtf}) {
        SCOPED_TRACE(format);
        SetWindowTextA(rich, "replaced by nothing");
        EXPECT_EQ(StreamIn("", format), 0);
        EXPECT_EQ(TextOf(rich), "");
    }
}

// A stream out into a caller's buffer between guard bytes: the string gets
// the whole text or nothing, and the guards stay as they were.
class GuardedStreamTest : public RichEditStreamTest {
protected:
    static constexpr size_t kGuard = 64;
    static constexpr char kGuardByte = 'G';
    struct Result {
        int32_t moved;
        std::string text;
        bool guardsIntact;
    };
    // room: the bytes of the string's storage, terminator included.
    Result StreamIntoRoom(int32_t format, size_t room, TypedArg size) {
        std::vector<char> memory(kGuard + room + kGuard, kGuardByte);
        char* string = memory.data() + kGuard;
        Result result{};
        result.moved = StreamOut(string, format, size);
        result.guardsIntact = true;
        for (size_t i = 0; i < kGuard; ++i)
            if (memory[i] != kGuardByte || memory[kGuard + room + i] != kGuardByte)
                result.guardsIntact = false;
        // Read within the storage only.
        result.text.assign(string, strnlen(string, room));
        return result;
    }
};

TEST_F(GuardedStreamTest, AGivenSizeIsNeverExceeded) {
    WriteDocument();
    for (const int32_t format : {kText, kRtf}) {
        const std::string whole = Streamed(format);
        const auto length = static_cast<int32_t>(whole.size());
        struct Case {
            const char* name;
            int32_t characters;
            bool fits;
        };
        const Case cases[] = {
            {"exactly the text", length, true},
            {"room to spare", length + 100, true},
            {"one character short", length - 1, false},
            {"half the text", length / 2, false},
            {"no characters", 0, false},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(format == kRtf ? "RTF, " : "text, ") + c.name);
            const Result result = StreamIntoRoom(format, static_cast<size_t>(c.characters) + 1,
                                                 IntArg(c.characters));
            EXPECT_TRUE(result.guardsIntact);
            EXPECT_EQ(result.moved, c.fits ? length : 0);
            EXPECT_EQ(result.text, c.fits ? whole : "");
        }
    }
}

TEST_F(GuardedStreamTest, WithoutASizeOnlyStringHeapBlocksAreFilled) {
    SetWindowTextA(rich, "twenty characters ok");
    const std::string whole = TextOf(rich);
    const auto length = static_cast<int32_t>(whole.size());

    // A caller's buffer of unknown size is left alone.
    const Result untouched = StreamIntoRoom(kText, 100, NoArg);
    EXPECT_EQ(untouched.moved, 0);
    EXPECT_TRUE(untouched.guardsIntact);
    EXPECT_EQ(untouched.text.substr(0, 3), "GGG");

    // A block of the string heap is filled up to its end, the three bytes
    // every block has beyond its size included.
    for (const int32_t made : {length - 2, length - 3}) {
        SCOPED_TRACE(made);
        char* block = AllocString(made);
        ASSERT_NE(block, nullptr);
        const bool fits = made + 3 > length;
        EXPECT_EQ(StreamOut(block, kText), fits ? length : 0);
        EXPECT_EQ(std::string(block), fits ? whole : "");
        FreeString(block);
    }
}

TEST_F(GuardedStreamTest, AGivenSizeNeverReachesPastAStringHeapBlock) {
    WriteDocument();
    for (const int32_t format : {kText, kRtf}) {
        const GuardedHeapString block(10);
        EXPECT_EQ(StreamOut(block.text, format, IntArg(1000)), 0);
        EXPECT_STREQ(block.text, "");
        EXPECT_TRUE(block.Intact()) << format;
    }
}

// A text file channel as programs pass it: the address of the variable.
TypedArg FileArg(HANDLE& channel) {
    return TypedArg{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&channel)), TY_TEXTFILE | TY_BYREF};
}

TEST_F(RichEditStreamTest, AFileGetsTheBytesAStringGetsAndGivesTheContentsBack) {
    const std::string folder = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    for (const int32_t format : {kText, kRtf}) {
        SCOPED_TRACE(format == kRtf ? "RTF" : "text");
        WriteDocument();
        const std::string original = TextOf(rich);
        const std::string viaString = Streamed(format);
        const std::string path = folder + (format == kRtf ? "\\document.rtf" : "\\document.txt");

        HANDLE channel = nullptr;
        ASSERT_EQ(OpenFileChannel(&channel, TY_TEXTFILE, path.c_str(), "W"), 0);
        // Not the NUL byte Wine's control sends after RTF's closing brace.
        EXPECT_EQ(Command(kRichId, CC_ED_STREAM_OUT, FileArg(channel), IntArg(format)),
                  static_cast<int32_t>(viaString.size()));
        CloseFileChannel(&channel, TY_TEXTFILE);
        EXPECT_EQ(ReadWholeFile(path), viaString);

        SetWindowTextA(rich, "something else");
        ASSERT_EQ(OpenFileChannel(&channel, TY_TEXTFILE, path.c_str(), "R"), 0);
        EXPECT_GT(Command(kRichId, CC_ED_STREAM_IN, FileArg(channel), IntArg(format)), 0);
        CloseFileChannel(&channel, TY_TEXTFILE);
        EXPECT_EQ(TextOf(rich), original);
        if (format == kText) {   // RTF comes back moved by Wine's bold, as above
            EXPECT_EQ(Streamed(format), viaString);
        } else {
            EXPECT_EQ(ColorAt(0), RGB(200, 0, 0));
        }
    }
}

TEST_F(RichEditStreamTest, AClosedFileChannelIsRefusedAndTheControlKept) {
    SetWindowTextA(rich, "kept");
    uint32_t closedChannel = 0;
    const TypedArg channel{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&closedChannel)), TY_TEXTFILE};
    EXPECT_EQ(Command(kRichId, CC_ED_STREAM_IN, channel, IntArg(kText)), 0);
    EXPECT_EQ(Command(kRichId, CC_ED_STREAM_OUT, channel, IntArg(kText)), 0);
    EXPECT_EQ(TextOf(rich), "kept");
}

uint32_t Word(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

// Each form of a channel argument reads the file in the stream commands as
// in ReadFileChannel, or is refused by both when it leads to no open file.
TEST_F(RichEditStreamTest, ChannelFormsAgreeWithTheFileReaderAndBadOnesAreRefused) {
    const std::string path = ScratchFolder("ChannelForms") + "\\in.txt";
    HANDLE file = nullptr;
    HANDLE closed = nullptr;
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ASSERT_EQ(OpenFileChannel(&file, TY_TEXTFILE, path.c_str(), "W"), 0);
    DWORD written = 0;
    WriteFile(file, "first\r\nsecond", 13, &written, nullptr);
    char* freed = static_cast<char*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
    VirtualFree(freed, 0, MEM_RELEASE);
    char* locked = static_cast<char*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT, PAGE_NOACCESS));
    const TypedArg forms[] = {{Word(&file), TY_TEXTFILE | TY_BYREF}, {Word(&file), TY_TEXTFILE},
                              {Word(file), TY_TEXTFILE},  // the three that lead to the file
                              {Word(&closed), TY_TEXTFILE | TY_BYREF}, {Word(&event), TY_TEXTFILE | TY_BYREF},
                              {Word(event), TY_TEXTFILE}, {Word(freed), TY_TEXTFILE | TY_BYREF},
                              {Word(freed), TY_TEXTFILE}, {Word(locked), TY_TEXTFILE | TY_BYREF}};
    for (const TypedArg& form : forms) {
        const bool opens = &form - forms < 3;
        SCOPED_TRACE(&form - forms);
        SetWindowTextA(rich, "kept");
        char* line = AllocString(20);
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        EXPECT_EQ(ReadFileChannel(form, StrArg(line)), opens ? 0 : -1);
        EXPECT_STREQ(line, opens ? "first" : "");
        FreeString(line);
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        EXPECT_EQ(Command(kRichId, CC_ED_STREAM_IN, form, IntArg(kText)) > 0, opens);
        EXPECT_EQ(TextOf(rich), opens ? "first\r\nsecond" : "kept");
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);   // the same bytes again
        EXPECT_EQ(Command(kRichId, CC_ED_STREAM_OUT, form, IntArg(kText)), opens ? 13 : 0);
    }
    CloseFileChannel(&file, TY_TEXTFILE);
    CloseHandle(event);
    VirtualFree(locked, 0, MEM_RELEASE);
}

TEST_F(RichEditStreamTest, CallbacksRefuseAMissingCookieOrAnUnknownType) {
    BYTE buffer[8] = "bytes";
    StreamCookie integer{};
    integer.type = TY_INTEGER;
    for (const DWORD_PTR cookie : {DWORD_PTR{0}, reinterpret_cast<DWORD_PTR>(&integer)}) {
        LONG in = -1;
        LONG out = -1;
        EXPECT_EQ(StreamInCallback(cookie, buffer, 8, &in) + StreamOutCallback(cookie, buffer, 5, &out), 2u);
        EXPECT_EQ(in + out, 0);
    }
}

}  // namespace

#include "runtime/resource/resource_data.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstring>
#include <string>

#include "runtime/core/strings.h"
#include "tests/resource/image_checks.h"

namespace {

TypedArg AddressArg(const void* variable, uint32_t type) {
    return TypedArg{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(variable)), type};
}

class ResourceDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CreateStringHeap(), 1);
        picture = ReadWholeFile(TestImagePath("picture.png"));
        note = ReadWholeFile(TestImagePath("note.txt"));
        ASSERT_FALSE(picture.empty());
        ASSERT_GT(note.size(), 20u);
    }
    void TearDown() override { ShutdownStringHeap(); }

    std::string picture;   // resource 501 of type "RTIMAGE"
    std::string note;      // resource "NOTE" of type "TEXT"
};

// One resource named each way an integer can name it.
TEST_F(ResourceDataTest, IntegerNamesAndTypesInEveryForm) {
    const uint32_t dword = 501;
    const int32_t integer = 501;
    const struct {
        uint16_t number = 501;
        uint16_t beyond = 0xFFFF;   // a 32-bit read would see 0xFFFF01F5
    } word;
    const uint16_t bitmapType = 2;   // RT_BITMAP
    const std::array<TypedArg, 6> names{
        IntArg(501),
        TypedArg{501, TY_DWORD},
        AddressArg(&dword, TY_DWORD | TY_BYREF),
        AddressArg(&integer, TY_INTEGER | TY_BYREF),
        AddressArg(&word, TY_WORD | TY_BYREF),
        TypedArg{0xABCD0000 | 501, TY_WORD},
    };
    for (const TypedArg& name : names) {
        SCOPED_TRACE(name.type);
        const void* data = nullptr;
        ASSERT_EQ(LoadResourceData(name, StrArg("RTIMAGE"), AddressArg(&data, TY_POINTER)), 1);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(std::memcmp(data, picture.data(), picture.size()), 0);
    }
    const void* bitmap = nullptr;
    EXPECT_EQ(LoadResourceData(IntArg(201), AddressArg(&bitmapType, TY_WORD | TY_BYREF),
                               AddressArg(&bitmap, TY_POINTER)),
              1);
    EXPECT_NE(bitmap, nullptr);
}

TEST_F(ResourceDataTest, EveryDestinationType) {
    const void* pointer = nullptr;
    ASSERT_EQ(LoadResourceData(IntArg(501), StrArg("RTIMAGE"), AddressArg(&pointer, TY_POINTER)), 1);
    ASSERT_NE(pointer, nullptr);
    EXPECT_EQ(std::memcmp(pointer, picture.data(), picture.size()), 0);
    const auto address = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));

    for (const uint32_t type : {TY_INTEGER | TY_BYREF, TY_DWORD | TY_BYREF}) {
        uint32_t variable = 0;
        EXPECT_EQ(LoadResourceData(IntArg(501), StrArg("RTIMAGE"), AddressArg(&variable, type)), 1);
        EXPECT_EQ(variable, address);
    }

    HGLOBAL block = nullptr;
    ASSERT_EQ(LoadResourceData(IntArg(501), StrArg("rtimage"), AddressArg(&block, TY_BLOCK)), 1);
    ASSERT_NE(block, nullptr);
    ASSERT_EQ(GlobalSize(block), picture.size() + 1);
    EXPECT_EQ(std::memcmp(block, picture.data(), picture.size()), 0);
    EXPECT_EQ(static_cast<const char*>(block)[picture.size()], 0);
    EXPECT_NE(block, pointer);
    EXPECT_EQ(GlobalRelease(block), 0);

    char* text = AllocString(static_cast<int32_t>(note.size()) + 1);
    ASSERT_EQ(LoadResourceData(StrArg("note"), StrArg("TEXT"), StrArg(text)), 1);
    EXPECT_EQ(std::string(text), note);
    FreeString(text);
}

// A string made for n bytes gets at most n - 1 of the resource's bytes and
// its terminator; the spare bytes after it stay as they were.
TEST_F(ResourceDataTest, AStringIsFilledOnlyAsFarAsItsStorage) {
    const int32_t length = static_cast<int32_t>(note.size());
    for (const int32_t made : {length + 20, length + 1, length, 10, 1}) {
        SCOPED_TRACE(made);
        char* text = AllocString(made);
        ASSERT_NE(text, nullptr);
        ASSERT_EQ(LoadResourceData(StrArg("NOTE"), StrArg("TEXT"), StrArg(text)), 1);
        const int32_t storage = StringCapacity(text);
        const int32_t kept = storage - 1 < length ? storage - 1 : length;
        EXPECT_EQ(std::string(text), note.substr(0, static_cast<size_t>(kept)));
        for (int32_t i = kept + 1; i < storage; ++i)
            EXPECT_EQ(text[i], 0) << "byte " << i;
        FreeString(text);
    }
    // Storage it cannot measure it does not write to.
    char local[256];
    std::memset(local, 'x', sizeof(local));
    EXPECT_EQ(LoadResourceData(StrArg("NOTE"), StrArg("TEXT"), StrArg(local)), 0);
    EXPECT_EQ(local[0], 'x');
    char* text = AllocString(100);
    EXPECT_EQ(LoadResourceData(StrArg("NOTE"), StrArg("TEXT"), StrArg(text + 4)), 0);
    EXPECT_EQ(text[4], 0);
    FreeString(text);
}

// The longest name and type are 255 characters. One more is refused: cut to
// 255 it would find the resource whose name is those 255 characters.
TEST_F(ResourceDataTest, NamesAndTypesLongerThan255AreRefusedNotCut) {
    const std::string name255(255, 'N');
    const std::string type255(255, 'T');
    const std::string name256 = name255 + "N";
    const std::string type256 = type255 + "T";
    const std::string name1000(1000, 'N');
    const struct {
        TypedArg name;
        TypedArg type;
        int32_t result;
    } cases[] = {
        {StrArg(name255.c_str()), StrArg("TEXT"), 1},
        {StrArg(name256.c_str()), StrArg("TEXT"), 0},
        {StrArg(name1000.c_str()), StrArg("TEXT"), 0},
        {IntArg(7), StrArg(type255.c_str()), 1},
        {IntArg(7), StrArg(type256.c_str()), 0},
    };
    for (const auto& c : cases) {
        const void* data = nullptr;
        EXPECT_EQ(LoadResourceData(c.name, c.type, AddressArg(&data, TY_POINTER)), c.result);
        EXPECT_EQ(data != nullptr, c.result == 1);
    }
}

// Nothing found or a destination not taken: 0, and the variable untouched.
TEST_F(ResourceDataTest, RefusalsWriteNothing) {
    const uint32_t untouched = 0x5A5A5A5A;
    const struct {
        const char* label;
        TypedArg name;
        TypedArg type;
        uint32_t destinationType;
    } cases[] = {
        {"no such name", IntArg(999), StrArg("RTIMAGE"), TY_POINTER},
        {"no such type", IntArg(501), StrArg("RCDATA"), TY_POINTER},
        {"double name", TypedArg{501, TY_DOUBLE}, StrArg("RTIMAGE"), TY_POINTER},
        {"no type", IntArg(501), NoArg, TY_POINTER},
        {"null name variable", TypedArg{0, TY_INTEGER | TY_BYREF}, StrArg("RTIMAGE"), TY_POINTER},
        {"number with high bits", IntArg(0x10000 + 501), StrArg("RTIMAGE"), TY_POINTER},
        {"integer by value", IntArg(501), StrArg("RTIMAGE"), TY_INTEGER},
        {"double destination", IntArg(501), StrArg("RTIMAGE"), TY_DOUBLE | TY_BYREF},
        {"window destination", IntArg(501), StrArg("RTIMAGE"), TY_WINDOW},
    };
    for (const auto& c : cases) {
        uint32_t variable = untouched;
        EXPECT_EQ(LoadResourceData(c.name, c.type, AddressArg(&variable, c.destinationType)), 0) << c.label;
        EXPECT_EQ(variable, untouched) << c.label;
    }
    EXPECT_EQ(LoadResourceData(IntArg(501), StrArg("RTIMAGE"), TypedArg{0, TY_POINTER}), 0);
    EXPECT_EQ(LoadResourceData(IntArg(501), StrArg("RTIMAGE"), TypedArg{0, TY_BLOCK}), 0);
}

TEST(GlobalBlocks, ZeroFilledOrRefusedWithoutWrapping) {
    HGLOBAL block = nullptr;
    ASSERT_EQ(GlobalAllocZeroed(&block, 25, 4), 0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 100u);
    const auto* bytes = static_cast<const unsigned char*>(block);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(bytes[i], 0) << "byte " << i;
    EXPECT_EQ(GlobalRelease(block), 0);
    EXPECT_EQ(GlobalRelease(nullptr), 0);

    // 0x10000 * 0x10000 wraps to 0 in 32 bits, and 0x10001 * 0x10000 to
    // 0x10000: either would hand out a block far smaller than asked.
    const std::array<std::pair<int32_t, int32_t>, 4> refused{{{0x10000, 0x10000}, {0x10001, 0x10000}, {-1, 4},
                                                             {4, -1}}};
    for (const auto& [count, size] : refused) {
        HGLOBAL refusedBlock = reinterpret_cast<HGLOBAL>(1);
        EXPECT_EQ(GlobalAllocZeroed(&refusedBlock, count, size), -1) << count << " x " << size;
        EXPECT_EQ(refusedBlock, nullptr);
    }
}

}  // namespace

#pragma once
// Shared fixture of the file channel tests: a scratch folder, files written
// with given bytes, and channel arguments as programs pass them.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/program/program.h"
#include "runtime/core/strings.h"
#include "runtime/resource/file_channel.h"
#include "runtime/core/typed_arg.h"
#include "tests/support/test_support.h"

inline TypedArg ChannelArg(HANDLE& channel, uint32_t kind) {
    return TypedArg{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&channel)), kind | TY_BYREF};
}

inline TypedArg VariableArg(void* variable, uint32_t type) {
    return TypedArg{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(variable)), type};
}

inline DWORD FilePosition(HANDLE handle) { return SetFilePointer(handle, 0, nullptr, FILE_CURRENT); }

class FileChannelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFloatingPoint();
        ASSERT_EQ(CreateStringHeap(), 1);
        folder_ = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override {
        for (HANDLE* channel : {&text_, &binary_}) {
            if (*channel)
                CloseHandle(*channel);
        }
        ShutdownStringHeap();
    }

    std::string PathOf(const std::string& name) const { return folder_ + "\\" + name; }

    // Writes the bytes to a file of the scratch folder (replacing it) and
    // returns its path.
    std::string WriteBytes(const std::string& name, const std::string& bytes) const {
        const std::string path = PathOf(name);
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        CloseHandle(file);
        return path;
    }

    // Opens text_ (or binary_) for reading on a file holding the bytes.
    void OpenText(const std::string& bytes, const std::string& name = "text.txt") {
        ASSERT_EQ(OpenFileChannel(&text_, TY_TEXTFILE, WriteBytes(name, bytes).c_str(), "R"), 0);
    }
    void OpenBinary(const std::string& bytes, const std::string& name = "data.bin") {
        ASSERT_EQ(OpenFileChannel(&binary_, TY_BINFILE, WriteBytes(name, bytes).c_str(), "R"), 0);
    }
    TypedArg Text() { return ChannelArg(text_, TY_TEXTFILE); }
    TypedArg Binary() { return ChannelArg(binary_, TY_BINFILE); }

    std::string folder_;
    HANDLE text_ = nullptr;
    HANDLE binary_ = nullptr;
};

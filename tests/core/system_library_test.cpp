#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/test_support.h"

namespace {

// The rich edit, C runtime and print dialog libraries, with files of their
// names beside the program. Wine takes its builtin libraries first unless
// its registry says otherwise for a program: the child is told to take files
// first, as the system may.
TEST(SystemLibraryTest, TheRuntimeNeverLoadsLibrariesPlantedBesideTheProgram) {
    const std::string log = ScratchFolder("planted") + "\\log.txt";
    DeleteFileA(log.c_str());
    constexpr char kOverrides[] = "Software\\Wine\\AppDefaults\\system_libraries_child.exe\\DllOverrides";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    constexpr char kNativeFirst[] = "native,builtin";
    for (const char* name : {"riched32", "crtdll", "comdlg32"})
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(kNativeFirst), sizeof(kNativeFirst));
    RegCloseKey(key);
    const ChildResult result = RunChild(BuildPath("planted\\system_libraries_child.exe"), log, 60000);
    RegDeleteKeyA(HKEY_CURRENT_USER, kOverrides);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(ReadWholeFile(log), "rich edit|");   // no planted library loaded
}

}  // namespace

// The Reachlet.exe that the build leaves for users, read the way Windows and
// a debugger read it: the version resource through version.dll, the sections
// from the file's own headers.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

const std::string kProgram = BuildPath(PROGRAM_DIR "\\Reachlet.exe");
constexpr size_t kLargestShippedSize = 100 * 1024;

std::string VersionText(const std::vector<char>& info, const std::string& name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = "\\StringFileInfo\\040904B0\\" + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return "(missing)";
    return value;
}

std::string Dotted(DWORD high, DWORD low) {
    char text[32];
    std::snprintf(text, sizeof(text), "%lu.%lu.%lu", static_cast<unsigned long>(HIWORD(high)),
                  static_cast<unsigned long>(LOWORD(high)), static_cast<unsigned long>(HIWORD(low)));
    return text;
}

TEST(ShippedProgramTest, CarriesItsNameAndTheProjectVersion) {
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeA(kProgram.c_str(), &unused);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(kProgram.c_str(), 0, size, info.data()));
    EXPECT_EQ(VersionText(info, "FileDescription"), "Reachlet");
    EXPECT_EQ(VersionText(info, "ProductName"), "Reachlet");
    EXPECT_EQ(VersionText(info, "OriginalFilename"), "Reachlet.exe");
    EXPECT_EQ(VersionText(info, "FileVersion"), REACHLET_VERSION);
    EXPECT_EQ(VersionText(info, "ProductVersion"), REACHLET_VERSION);

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
    EXPECT_EQ(Dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS), REACHLET_VERSION);
    EXPECT_EQ(Dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS), REACHLET_VERSION);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

struct Section {
    std::string name;
    std::string data;
};

// The sections of a PE file, long names looked up in the COFF string table;
// none when the headers do not hold together.
std::vector<Section> Sections(const std::string& file, DWORD* symbols) {
    std::vector<Section> sections;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(file.data());
    if (file.size() < sizeof(*dos) || dos->e_magic != IMAGE_DOS_SIGNATURE ||
        file.size() < static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32))
        return sections;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(file.data() + dos->e_lfanew);
    const IMAGE_FILE_HEADER& header = nt->FileHeader;
    *symbols = header.NumberOfSymbols;
    const size_t strings = header.PointerToSymbolTable + header.NumberOfSymbols * size_t{18};
    const auto* table = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
        reinterpret_cast<const char*>(&nt->OptionalHeader) + header.SizeOfOptionalHeader);
    for (WORD i = 0; i < header.NumberOfSections; ++i) {
        const IMAGE_SECTION_HEADER& s = table[i];
        std::string name(reinterpret_cast<const char*>(s.Name), strnlen(reinterpret_cast<const char*>(s.Name), 8));
        if (name[0] == '/') {
            const size_t at = strings + static_cast<size_t>(std::atoi(name.c_str() + 1));
            name = at < file.size() ? file.c_str() + at : "";
        }
        // A debug file keeps the headers of sections whose contents it dropped.
        const size_t size = std::min(s.SizeOfRawData, s.Misc.VirtualSize);
        const bool held = s.PointerToRawData && s.PointerToRawData + size <= file.size();
        sections.push_back({name, held ? file.substr(s.PointerToRawData, size) : std::string()});
    }
    return sections;
}

TEST(ShippedProgramTest, IsStrippedAndNamesItsDebugFileBesideIt) {
    const std::string program = ReadWholeFile(kProgram);
    EXPECT_LE(program.size(), kLargestShippedSize);
    DWORD symbols = 1;
    const std::vector<Section> sections = Sections(program, &symbols);
    ASSERT_FALSE(sections.empty());
    EXPECT_EQ(symbols, 0u);
    std::string link;
    for (const Section& s : sections) {
        EXPECT_NE(s.name.rfind(".debug", 0), 0u) << s.name;
        if (s.name == ".gnu_debuglink")
            link = s.data;
    }
    // The file name, zero-padded to four bytes, then the CRC-32 of the file.
    ASSERT_EQ(link.size(), 24u);
    EXPECT_STREQ(link.c_str(), "Reachlet.exe.debug");
    const std::string debug = ReadWholeFile(BuildPath(PROGRAM_DIR "\\Reachlet.exe.debug"));
    ASSERT_FALSE(debug.empty());
    using Crc32 = DWORD(WINAPI*)(DWORD, const BYTE*, INT);
    const auto crc32 = reinterpret_cast<Crc32>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlComputeCrc32")));
    ASSERT_NE(crc32, nullptr);
    DWORD recorded = 0;
    std::memcpy(&recorded, link.data() + 20, sizeof(recorded));
    EXPECT_EQ(recorded, crc32(0, reinterpret_cast<const BYTE*>(debug.data()), static_cast<INT>(debug.size())));

    bool debugInfo = false;
    for (const Section& s : Sections(debug, &symbols))
        debugInfo = debugInfo || s.name == ".debug_info";
    EXPECT_TRUE(debugInfo);
}

}  // namespace

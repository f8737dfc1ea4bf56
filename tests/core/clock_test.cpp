#include "runtime/core/clock.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "runtime/core/strings.h"

namespace {

std::string Formatted(const SYSTEMTIME& t) {
    char text[16];
    std::snprintf(text, sizeof(text), "%02u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
    return text;
}

TEST(TimeText, LocalTimeAsEightCharacters) {
    ASSERT_EQ(CreateStringHeap(), 1);
    SYSTEMTIME before{};
    SYSTEMTIME after{};
    GetLocalTime(&before);
    char* text = TimeText();
    GetLocalTime(&after);
    ASSERT_NE(text, nullptr);
    const std::string got(text);
    ASSERT_EQ(got.size(), 8u);
    for (size_t i : {0u, 1u, 3u, 4u, 6u, 7u})
        EXPECT_TRUE(got[i] >= '0' && got[i] <= '9') << got;
    EXPECT_EQ(got[2], ':');
    EXPECT_EQ(got[5], ':');
    EXPECT_TRUE(got == Formatted(before) || got == Formatted(after))
        << got << " between " << Formatted(before) << " and " << Formatted(after);
    EXPECT_NE(FreeString(text), 0);
    ShutdownStringHeap();
}

// The time GetLocalTime gives while a case has it redirected.
SYSTEMTIME fixedTime;
void WINAPI FixedLocalTime(SYSTEMTIME* time) { *time = fixedTime; }

using LocalTimeProc = void(WINAPI*)(SYSTEMTIME*);

// Points this program's import of GetLocalTime at another routine and gives
// back the one it held; null when the import is not found.
LocalTimeProc RedirectGetLocalTime(LocalTimeProc replacement) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* module = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         module->Name; ++module) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + module->Name), "kernel32.dll") != 0)
            continue;
        const auto* name = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), "GetLocalTime") != 0)
                continue;
            DWORD protection = 0;
            VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), PAGE_READWRITE, &protection);
            const auto previous = reinterpret_cast<LocalTimeProc>(slot->u1.Function);
            slot->u1.Function = reinterpret_cast<uintptr_t>(replacement);
            VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), protection, &protection);
            return previous;
        }
    }
    return nullptr;
}

TEST(TimeText, EachFieldHasTwoDigitsOnTheTwentyFourHourClock) {
    ASSERT_EQ(CreateStringHeap(), 1);
    const LocalTimeProc original = RedirectGetLocalTime(FixedLocalTime);
    ASSERT_NE(original, nullptr);
    const struct {
        WORD hour, minute, second;
        const char* text;
    } cases[] = {
        {9, 5, 3, "09:05:03"}, {0, 0, 0, "00:00:00"}, {23, 59, 59, "23:59:59"}, {12, 30, 0, "12:30:00"},
    };
    for (const auto& c : cases) {
        fixedTime = SYSTEMTIME{2024, 3, 2, 9, c.hour, c.minute, c.second, 500};
        char* text = TimeText();
        EXPECT_STREQ(text, c.text);
        FreeString(text);
    }
    RedirectGetLocalTime(original);
    ShutdownStringHeap();
}

TEST(TimeText, NothingWithoutStringHeap) { EXPECT_EQ(TimeText(), nullptr); }

}  // namespace

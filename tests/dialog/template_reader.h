#pragma once
// Reads a DLGTEMPLATE with DS_SETFONT back into its fields, and where each
// class name lies, for comparing templates from different writers.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ByteRange {
    size_t begin;
    size_t end;
};

struct ReadItem {
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint16_t id = 0;
    std::wstring className;
    std::wstring text;
    uint16_t creationData = 0xFFFF;
    size_t start = 0;   // offset of the item's header
};

struct ReadTemplate {
    bool complete = false;   // every field lay inside the bytes
    uint32_t style = 0;
    uint32_t exStyle = 0;
    uint16_t count = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint16_t menu = 0xFFFF;
    std::wstring className;
    std::wstring caption;
    uint16_t pointSize = 0;
    std::wstring face;
    std::vector<ReadItem> items;
    std::vector<ByteRange> classNames;   // the dialog's, then each item's
    size_t end = 0;                      // just past the last field read
};

inline ReadTemplate ReadDialogTemplate(const std::vector<uint8_t>& bytes) {
    ReadTemplate t;
    size_t at = 0;
    bool inside = true;
    auto word = [&]() -> uint16_t {
        if (at + 2 > bytes.size()) {
            inside = false;
            return 0;
        }
        const uint16_t w = static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
        at += 2;
        return w;
    };
    auto dword = [&]() -> uint32_t {
        const uint32_t low = word();
        return low | static_cast<uint32_t>(word()) << 16;
    };
    auto string = [&](ByteRange* range) {
        std::wstring s;
        const size_t begin = at;
        while (inside) {
            const uint16_t unit = word();
            if (unit == 0)
                break;
            s.push_back(static_cast<wchar_t>(unit));
        }
        if (range)
            *range = {begin, at};
        return s;
    };

    t.style = dword();
    t.exStyle = dword();
    t.count = word();
    t.x = static_cast<int16_t>(word());
    t.y = static_cast<int16_t>(word());
    t.cx = static_cast<int16_t>(word());
    t.cy = static_cast<int16_t>(word());
    t.menu = word();
    ByteRange range{};
    t.className = string(&range);
    t.classNames.push_back(range);
    t.caption = string(nullptr);
    t.pointSize = word();
    t.face = string(nullptr);
    for (uint16_t i = 0; i < t.count && inside; ++i) {
        at = (at + 3) & ~static_cast<size_t>(3);
        ReadItem item;
        item.start = at;
        item.style = dword();
        item.exStyle = dword();
        item.x = static_cast<int16_t>(word());
        item.y = static_cast<int16_t>(word());
        item.cx = static_cast<int16_t>(word());
        item.cy = static_cast<int16_t>(word());
        item.id = word();
        item.className = string(&range);
        t.classNames.push_back(range);
        item.text = string(nullptr);
        item.creationData = word();
        t.items.push_back(item);
    }
    t.end = at;
    t.complete = inside;
    return t;
}

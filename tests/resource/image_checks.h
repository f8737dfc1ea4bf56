#pragma once
// Where the image tests' files are, the shape of icons and cursors, and the
// process heap's busy blocks for leaks.

#include <windows.h>

#include <cstdint>
#include <string>

#include "test_images_pixels.h"
#include "tests/support/image_pixels.h"
#include "tests/support/test_support.h"

inline std::string TestImagePath(const char* file) { return BuildPath(std::string("test_images\\") + file); }

// The size of an icon's or cursor's image and its hot spot.
struct IconShape {
    SIZE size{};
    POINT hotSpot{};
    bool isIcon = false;
};

inline IconShape ShapeOf(HICON icon) {
    IconShape shape;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return shape;
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof(mask), &mask);
    shape.size.cx = mask.bmWidth;
    shape.size.cy = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    shape.hotSpot = POINT{static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
    shape.isIcon = info.fIcon != FALSE;
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    return shape;
}

// Blocks in use in the process heap, where global memory and COM objects
// live; a call that leaks leaves more behind each time.
struct HeapUse {
    int32_t blocks = 0;
    size_t bytes = 0;
};

inline HeapUse ProcessHeapUse() {
    HeapUse use;
    HANDLE heap = GetProcessHeap();
    HeapLock(heap);
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
            ++use.blocks;
            use.bytes += entry.cbData;
        }
    HeapUnlock(heap);
    return use;
}

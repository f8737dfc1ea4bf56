#include <cstring>

#include "runtime/control/subclass.h"
#include "runtime/core/numbers.h"

namespace {

constexpr UINT kFromFile = LR_LOADFROMFILE | LR_CREATEDIBSECTION;
constexpr UINT kFromResource = LR_CREATEDIBSECTION;
// Integer resource identifiers are 16-bit; a larger value passed as a name
// would be read as a string address.
constexpr int32_t kLargestResourceId = 0xFFFF;

HBITMAP LoadNamedBitmap(const char* text) {
    if (std::strchr(text, ':'))
        return static_cast<HBITMAP>(LoadImageA(nullptr, text, IMAGE_BITMAP, 0, 0, kFromFile));
    HMODULE module = GetModuleHandleA(nullptr);
    const double value = ParseNumber(text);
    if (value > 0) {
        const int32_t id = RoundToInt32(value);
        if (id < 1 || id > kLargestResourceId)
            return nullptr;
        return static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, kFromResource));
    }
    return static_cast<HBITMAP>(LoadImageA(module, text, IMAGE_BITMAP, 0, 0, kFromResource));
}

}  // namespace

int32_t LoadBitmapFromText(HWND control, const char* text, UINT getImage, UINT setImage) {
    if (auto old = reinterpret_cast<HGDIOBJ>(SendMessageA(control, getImage, IMAGE_BITMAP, 0)))
        DeleteObject(old);

    // A longer path or name is refused rather than cut: a shortened path
    // could name another file.
    HBITMAP bitmap = nullptr;
    if (text && strnlen(text, kBitmapTextMax + 1) <= static_cast<size_t>(kBitmapTextMax))
        bitmap = LoadNamedBitmap(text);
    SendMessageA(control, setImage, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    return bitmap ? 1 : 0;
}

#pragma once
// Images as another reader sees them, and checks that what the platform
// loaded shows the same pixels.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

// 8-bit RGBA pixels, rows from the top (see pixels_header.sh).
struct ImagePixels {
    int32_t width;
    int32_t height;
    const uint8_t* rgba;

    COLORREF Color(int32_t x, int32_t y) const {
        const uint8_t* p = rgba + (static_cast<size_t>(y) * width + x) * 4;
        return RGB(p[0], p[1], p[2]);
    }
    uint8_t Alpha(int32_t x, int32_t y) const { return rgba[(static_cast<size_t>(y) * width + x) * 4 + 3]; }
};

// A 32-bit top-down DIB section of one colour to draw into, and its pixels.
class PixelCanvas {
public:
    PixelCanvas(int32_t width, int32_t height, COLORREF background)
        : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<uint32_t*>(bits);
        old_ = SelectObject(dc_, bitmap_);
        const uint32_t fill = GetRValue(background) << 16 | GetGValue(background) << 8 | GetBValue(background);
        for (int32_t i = 0; i < width * height; ++i)
            bits_[i] = fill;
    }
    ~PixelCanvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    HDC dc() const { return dc_; }
    COLORREF Color(int32_t x, int32_t y) const {
        GdiFlush();
        const uint32_t v = bits_[y * width_ + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

private:
    int32_t width_;
    int32_t height_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    uint32_t* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// The largest difference of one colour channel between two colours.
inline int32_t ChannelDistance(COLORREF a, COLORREF b) {
    const auto d = [](int32_t p, int32_t q) { return p > q ? p - q : q - p; };
    int32_t r = d(GetRValue(a), GetRValue(b));
    const int32_t g = d(GetGValue(a), GetGValue(b));
    const int32_t bl = d(GetBValue(a), GetBValue(b));
    if (g > r)
        r = g;
    return bl > r ? bl : r;
}

// Every pixel of the bitmap, read as 32-bit RGB, equals the expected image.
inline void ExpectBitmapPixels(HBITMAP bitmap, const ImagePixels& expected) {
    BITMAP info{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof(info), &info), static_cast<int>(sizeof(info)));
    ASSERT_EQ(info.bmWidth, expected.width);
    ASSERT_EQ(info.bmHeight, expected.height);
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = expected.width;
    header.bmiHeader.biHeight = -expected.height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    std::basic_string<uint32_t> pixels(static_cast<size_t>(expected.width * expected.height), 0);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, expected.height, pixels.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(rows, expected.height);
    int32_t wrong = 0;
    for (int32_t y = 0; y < expected.height; ++y)
        for (int32_t x = 0; x < expected.width; ++x) {
            const uint32_t v = pixels[static_cast<size_t>(y * expected.width + x)];
            const COLORREF got = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
            if (got != expected.Color(x, y) && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): " << std::hex << got << " expected "
                              << expected.Color(x, y);
        }
    EXPECT_EQ(wrong, 0);
}

// Where an icon or cursor is drawn: its opaque pixels show the image's
// colour, its transparent ones the background. Only alpha 0 and 255 occur
// in the test images.
constexpr COLORREF kBackdrop = RGB(255, 0, 255);

inline void ExpectIconPixels(HICON icon, const ImagePixels& expected) {
    PixelCanvas canvas(expected.width, expected.height, kBackdrop);
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, expected.width, expected.height, 0, nullptr, DI_NORMAL));
    int32_t wrong = 0;
    for (int32_t y = 0; y < expected.height; ++y)
        for (int32_t x = 0; x < expected.width; ++x) {
            const COLORREF want = expected.Alpha(x, y) == 255 ? expected.Color(x, y) : kBackdrop;
            if (canvas.Color(x, y) != want && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): " << std::hex << canvas.Color(x, y)
                              << " expected " << want;
        }
    EXPECT_EQ(wrong, 0);
}

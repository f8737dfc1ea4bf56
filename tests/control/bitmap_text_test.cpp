#include <string>

#include "runtime/control/subclass.h"
#include "tests/control/control_fixture.h"

namespace {

constexpr int32_t kButtonId = 230;
constexpr int32_t kPictureId = 231;

HBITMAP ImageOf(HWND control, UINT getImage) {
    return reinterpret_cast<HBITMAP>(SendMessageA(control, getImage, IMAGE_BITMAP, 0));
}

// The colour of the bitmap's top-left pixel, read through a memory DC.
COLORREF FirstPixel(HBITMAP bitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF color = GetPixel(dc, 0, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
    return color;
}

SIZE SizeOf(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

// A 24-bit bitmap file of one colour in the scratch folder; its full path.
std::string WriteBitmapFile(const std::string& path, int width, int height, COLORREF color) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string pixels(static_cast<size_t>(stride * height), '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            char* p = &pixels[static_cast<size_t>(y * stride + x * 3)];
            p[0] = static_cast<char>(GetBValue(color));
            p[1] = static_cast<char>(GetGValue(color));
            p[2] = static_cast<char>(GetRValue(color));
        }
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, &file, sizeof(file), &written, nullptr);
    WriteFile(h, &info, sizeof(info), &written, nullptr);
    WriteFile(h, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(h);
    return path;
}

// A drive path, a resource number and a resource name, each replacing (and
// deleting) the bitmap before it.
void LoadsEachFormOfText(HWND control, UINT getImage, bool keepsText) {
    const std::string path = WriteBitmapFile(ScratchFolder("bitmap-text") + "\\face.bmp", 5, 3, RGB(0, 0, 255));
    ASSERT_EQ(path[1], ':');

    SetWindowTextA(control, path.c_str());
    HBITMAP fromFile = ImageOf(control, getImage);
    ASSERT_NE(fromFile, nullptr);
    EXPECT_EQ(FirstPixel(fromFile), RGB(0, 0, 255));
    EXPECT_EQ(SizeOf(fromFile).cx, 5);

    SetWindowTextA(control, "101");
    HBITMAP byNumber = ImageOf(control, getImage);
    ASSERT_NE(byNumber, nullptr);
    EXPECT_EQ(FirstPixel(byNumber), RGB(255, 0, 0));
    EXPECT_EQ(GetObjectType(fromFile), 0u);   // deleted

    SetWindowTextA(control, "FACE");
    HBITMAP byName = ImageOf(control, getImage);
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(FirstPixel(byName), RGB(0, 255, 0));
    EXPECT_EQ(GetObjectType(byNumber), 0u);

    // A button keeps the text as its window text too; under Wine a picture
    // label stores no text at all.
    char text[16] = {};
    GetWindowTextA(control, text, sizeof(text));
    if (keepsText) {
        EXPECT_STREQ(text, "FACE");
    }

    // 100.6 rounds to 101; a name that loads nothing clears the image.
    SetWindowTextA(control, "100.6");
    EXPECT_EQ(FirstPixel(ImageOf(control, getImage)), RGB(255, 0, 0));
    SetWindowTextA(control, "NO SUCH BITMAP");
    EXPECT_EQ(ImageOf(control, getImage), nullptr);
}

TEST_F(ControlTest, ABitmapButtonLoadsItsBitmapFromAPathANumberOrAName) {
    ASSERT_NE(MadeControl(&window, CT_BUTTON, "", 10, 10, 60, 40, BS_BITMAP, kButtonId), nullptr);
    LoadsEachFormOfText(Control(kButtonId), BM_GETIMAGE, true);
}

TEST_F(ControlTest, APictureLabelLoadsItsBitmapFromAPathANumberOrAName) {
    ASSERT_NE(MadeControl(&window, CT_LABEL, "", 10, 10, 60, 40, SS_BITMAP, kPictureId), nullptr);
    LoadsEachFormOfText(Control(kPictureId), STM_GETIMAGE, false);
}

TEST_F(ControlTest, BitmapTextsLongerThanAPathAreRefusedNotCut) {
    ASSERT_NE(MadeControl(&window, CT_LABEL, "", 10, 10, 60, 40, SS_BITMAP, kPictureId), nullptr);
    HWND label = Control(kPictureId);
    // Two files: one whose path has the longest length taken, and one whose
    // path is a character longer and would be cut to the first.
    const std::string folder = ScratchFolder("bitmap-long") + "\\";
    ASSERT_LT(folder.size(), 120u);
    const std::string longest = folder + std::string(kBitmapTextMax - folder.size() - 4, 'b') + ".bmp";
    ASSERT_EQ(longest.size(), static_cast<size_t>(kBitmapTextMax));
    const std::string tooLong = longest.substr(0, longest.size() - 4) + "b.bmp";
    WriteBitmapFile(longest, 2, 2, RGB(0, 0, 255));
    WriteBitmapFile(tooLong, 2, 2, RGB(255, 0, 255));

    EXPECT_EQ(LoadBitmapFromText(label, longest.c_str(), STM_GETIMAGE, STM_SETIMAGE), 1);
    HBITMAP before = ImageOf(label, STM_GETIMAGE);
    EXPECT_EQ(FirstPixel(before), RGB(0, 0, 255));

    EXPECT_EQ(LoadBitmapFromText(label, tooLong.c_str(), STM_GETIMAGE, STM_SETIMAGE), 0);
    EXPECT_EQ(ImageOf(label, STM_GETIMAGE), nullptr);
    EXPECT_EQ(GetObjectType(before), 0u);
    const std::string huge(100000, 'A');
    EXPECT_EQ(LoadBitmapFromText(label, huge.c_str(), STM_GETIMAGE, STM_SETIMAGE), 0);
    // Resource numbers are 16-bit; a larger value is no address to read a name from.
    EXPECT_EQ(LoadBitmapFromText(label, "70000", STM_GETIMAGE, STM_SETIMAGE), 0);
    EXPECT_EQ(LoadBitmapFromText(label, "101", STM_GETIMAGE, STM_SETIMAGE), 1);
}

}  // namespace

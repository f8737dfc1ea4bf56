#include "runtime/resource/images.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "runtime/core/strings.h"
#include "runtime/window/gdi_guards.h"
#include "tests/resource/image_checks.h"
#include "tests/support/import_slot.h"

extern "C" HANDLE(WINAPI* importedLoadImageA)(HINSTANCE, LPCSTR, UINT, int, int, UINT) __asm__("__imp__LoadImageA@24");

namespace {

template <typename Handle>
Handle As(uint32_t word) {
    return reinterpret_cast<Handle>(static_cast<uintptr_t>(word));
}

TypedArg DwordRef(const uint32_t& variable) {
    return TypedArg{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&variable)), TY_DWORD | TY_BYREF};
}

class ImagesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CreateStringHeap(), 1); }
    void TearDown() override { ShutdownStringHeap(); }
};

// Each name form: a file, a number, a number through a variable, a name.
TEST_F(ImagesTest, BitmapsAreDibSectionsOfTheFilesPixels) {
    const std::string file = TestImagePath("pattern.bmp");
    const uint32_t number = 201;
    const std::array<TypedArg, 4> names{StrArg(file.c_str()), IntArg(201), DwordRef(number), StrArg("PATTERN")};
    for (const TypedArg& name : names) {
        SCOPED_TRACE(name.type);
        HBITMAP bitmap = As<HBITMAP>(LoadRuntimeImage(name, IMG_BITMAP));
        ASSERT_NE(bitmap, nullptr);
        DIBSECTION section{};
        EXPECT_EQ(GetObjectA(bitmap, sizeof(section), &section), static_cast<int>(sizeof(section)));
        ExpectBitmapPixels(bitmap, kPixels_pattern_bmp);
        DeleteObject(bitmap);
    }
}

TEST_F(ImagesTest, AStringWithADotAnywhereIsAFileName) {
    // The program has a bitmap resource named V1.2, but the name reads as a
    // file name.
    HANDLE resource = LoadImageA(GetModuleHandleA(nullptr), "V1.2", IMAGE_BITMAP, 0, 0, 0);
    ASSERT_NE(resource, nullptr);
    DeleteObject(resource);
    EXPECT_EQ(LoadRuntimeImage(StrArg("V1.2"), IMG_BITMAP), 0u);
    EXPECT_EQ(LoadRuntimeImage(StrArg("PATTERN.BMP"), IMG_BITMAP), 0u);
}

// Every pixel of to equals that of from, where with map3D the three greys
// have become the 3-D colours; greys counts the pixels mapped.
void ExpectPixelsMapped(HBITMAP from, HBITMAP to, bool map3D, int32_t* greys) {
    BITMAP info{};
    ASSERT_NE(GetObjectA(from, sizeof(info), &info), 0);
    const std::array<std::pair<COLORREF, COLORREF>, 3> map{{
        {RGB(128, 128, 128), GetSysColor(COLOR_3DSHADOW)},
        {RGB(192, 192, 192), GetSysColor(COLOR_3DFACE)},
        {RGB(223, 223, 223), GetSysColor(COLOR_3DLIGHT)},
    }};
    for (const auto& [grey, system] : map)
        ASSERT_NE(grey, system) << "the system colour hides the mapping";
    MemoryDC fromDC(nullptr);
    MemoryDC toDC(nullptr);
    Selected fromBitmap(fromDC.get(), from);
    Selected toBitmap(toDC.get(), to);
    for (int32_t y = 0; y < info.bmHeight; ++y)
        for (int32_t x = 0; x < info.bmWidth; ++x) {
            COLORREF want = GetPixel(fromDC.get(), x, y);
            for (const auto& [grey, system] : map)
                if (map3D && want == grey) {
                    want = system;
                    ++*greys;
                }
            EXPECT_EQ(GetPixel(toDC.get(), x, y), want) << x << ", " << y;
        }
}

// By number, and from a file with the system flag too, the way a stock
// bitmap's flags are made.
TEST_F(ImagesTest, MapThreeDColoursReplacesTheGreysOfTheColourTable) {
    const std::string file = TestImagePath("greys.bmp");
    const std::array<std::pair<TypedArg, int32_t>, 2> loads{{
        {IntArg(202), IMG_BITMAP | IMG_MAP3DCOLORS},
        {StrArg(file.c_str()), IMG_BITMAP | IMG_SYSTEM | IMG_MAP3DCOLORS},
    }};
    HBITMAP plain = As<HBITMAP>(LoadRuntimeImage(IntArg(202), IMG_BITMAP));
    ASSERT_NE(plain, nullptr);
    ExpectBitmapPixels(plain, kPixels_greys_bmp);
    for (const auto& [name, kind] : loads) {
        SCOPED_TRACE(kind);
        HBITMAP mapped = As<HBITMAP>(LoadRuntimeImage(name, kind));
        ASSERT_NE(mapped, nullptr);
        int32_t greys = 0;
        ExpectPixelsMapped(plain, mapped, true, &greys);
        EXPECT_EQ(greys, 4);
        DeleteObject(mapped);
    }
    DeleteObject(plain);
}

UINT flagsAsked;
decltype(importedLoadImageA) platformLoadImage;
HANDLE WINAPI RecordLoadFlags(HINSTANCE module, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    flagsAsked = flags;
    return platformLoadImage(module, name, type, cx, cy, flags);
}

// Wine maps the greys of bitmaps only, and its stock bitmaps hold none: what
// the platform is asked for shows the flag on icons and stock images.
TEST_F(ImagesTest, TheThreeDFlagReachesThePlatformForEveryKind) {
    const std::array<std::tuple<const char*, uint32_t, int32_t, UINT>, 5> cases{{
        {"icon", 301, IMG_ICON | IMG_MAP3DCOLORS, LR_LOADMAP3DCOLORS},
        {"cursor", 401, IMG_CURSOR | IMG_MAP3DCOLORS, LR_LOADMAP3DCOLORS},
        {"stock icon", 32512, IMG_ICON | IMG_SYSTEM | IMG_MAP3DCOLORS, LR_LOADMAP3DCOLORS | LR_SHARED | LR_DEFAULTSIZE},
        {"stock bitmap", 32759, IMG_BITMAP | IMG_SYSTEM | IMG_MAP3DCOLORS, LR_LOADMAP3DCOLORS | LR_CREATEDIBSECTION},
        {"stock bitmap, no flag", 32759, IMG_BITMAP | IMG_SYSTEM, LR_CREATEDIBSECTION},
    }};
    ImportStandIn recorder(importedLoadImageA, &RecordLoadFlags);
    platformLoadImage = recorder.platform();
    for (const auto& [label, number, kind, flags] : cases) {
        SCOPED_TRACE(label);
        flagsAsked = ~0u;
        EXPECT_NE(LoadRuntimeImage(IntArg(number), kind), 0u);
        EXPECT_EQ(flagsAsked, flags);
    }
}

constexpr int32_t kCheckBoxesBitmap = 32759;   // OBM_CHECKBOXES, a stock bitmap

TEST_F(ImagesTest, StockBitmapsWithTheSystemFlag) {
    const TypedArg checkBoxes = IntArg(kCheckBoxesBitmap);
    EXPECT_EQ(LoadRuntimeImage(checkBoxes, IMG_BITMAP), 0u);   // not a resource of the program
    HBITMAP stock = As<HBITMAP>(LoadRuntimeImage(checkBoxes, IMG_BITMAP | IMG_SYSTEM));
    HBITMAP mapped = As<HBITMAP>(LoadRuntimeImage(checkBoxes, IMG_BITMAP | IMG_SYSTEM | IMG_MAP3DCOLORS));
    HBITMAP platform = LoadBitmapA(nullptr, MAKEINTRESOURCEA(kCheckBoxesBitmap));
    ASSERT_NE(stock, nullptr);
    ASSERT_NE(mapped, nullptr);
    ASSERT_NE(platform, nullptr);
    DIBSECTION section{};
    EXPECT_EQ(GetObjectA(stock, sizeof(section), &section), static_cast<int>(sizeof(section)));
    EXPECT_EQ(GetObjectA(mapped, sizeof(section), &section), static_cast<int>(sizeof(section)));
    int32_t greys = 0;
    ExpectPixelsMapped(platform, stock, false, &greys);
    // Wine's check boxes hold none of the three greys the flag replaces, so
    // here the flag may only leave every pixel as it was; the flag itself is
    // checked above, on a file of known greys and at the platform's door.
    ExpectPixelsMapped(stock, mapped, true, &greys);
    DeleteObject(stock);
    DeleteObject(mapped);
    DeleteObject(platform);
}

struct IconCase {
    const char* label;
    TypedArg name;
    int32_t kind;
};

// The icon's own size is that of the first image in its file or group, as
// the platform loads an icon without a requested size.
TEST_F(ImagesTest, IconsShowTheirFirstImagePixelForPixel) {
    const std::string file = TestImagePath("two_sizes.ico");
    const std::array<IconCase, 5> cases{{
        {"file", StrArg(file.c_str()), IMG_ICON},
        {"number", IntArg(301), IMG_ICON},
        {"name", StrArg("TWOSIZES"), IMG_ICON},
        {"3-D colours", IntArg(301), IMG_ICON | IMG_MAP3DCOLORS},
        {"file, system flag", StrArg(file.c_str()), IMG_ICON | IMG_SYSTEM},
    }};
    for (const IconCase& c : cases) {
        SCOPED_TRACE(c.label);
        HICON icon = As<HICON>(LoadRuntimeImage(c.name, c.kind));
        ASSERT_NE(icon, nullptr);
        const IconShape shape = ShapeOf(icon);
        EXPECT_TRUE(shape.isIcon);
        EXPECT_EQ(shape.size.cx, kPixels_ico16.width);
        EXPECT_EQ(shape.size.cy, kPixels_ico16.height);
        ExpectIconPixels(icon, kPixels_ico16);
        EXPECT_TRUE(DestroyIcon(icon));
    }
    // Not shared: each load makes its own icon.
    HICON first = As<HICON>(LoadRuntimeImage(StrArg(file.c_str()), IMG_ICON | IMG_SYSTEM));
    HICON second = As<HICON>(LoadRuntimeImage(StrArg(file.c_str()), IMG_ICON | IMG_SYSTEM));
    EXPECT_NE(first, second);
    DestroyIcon(first);
    DestroyIcon(second);
}

TEST_F(ImagesTest, CursorsKeepTheirHotSpot) {
    const std::string file = TestImagePath("pointer.cur");
    for (const TypedArg& name : {StrArg(file.c_str()), IntArg(401)}) {
        SCOPED_TRACE(name.type);
        HCURSOR cursor = As<HCURSOR>(LoadRuntimeImage(name, IMG_CURSOR));
        ASSERT_NE(cursor, nullptr);
        const IconShape shape = ShapeOf(cursor);
        EXPECT_FALSE(shape.isIcon);
        EXPECT_EQ(shape.size.cx, kPixels_cursor.width);
        EXPECT_EQ(shape.hotSpot.x, 5);
        EXPECT_EQ(shape.hotSpot.y, 9);
        ExpectIconPixels(cursor, kPixels_cursor);
        EXPECT_TRUE(DestroyCursor(cursor));
    }
}

// With the system flag a number names a stock icon or cursor, loaded shared
// at the system's default size: the very handle the platform gives out.
TEST_F(ImagesTest, StockIconsAndCursorsAreSharedAtTheDefaultSize) {
    const uint32_t application = 32512;   // IDI_APPLICATION, IDC_ARROW
    EXPECT_EQ(LoadRuntimeImage(IntArg(application), IMG_ICON), 0u);
    const uint32_t icon = LoadRuntimeImage(IntArg(application), IMG_ICON | IMG_SYSTEM);
    ASSERT_NE(icon, 0u);
    EXPECT_EQ(As<HICON>(icon), LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(LoadRuntimeImage(DwordRef(application), IMG_ICON | IMG_SYSTEM | IMG_MAP3DCOLORS), icon);
    const IconShape shape = ShapeOf(As<HICON>(icon));
    EXPECT_EQ(shape.size.cx, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(shape.size.cy, GetSystemMetrics(SM_CYICON));

    const uint32_t arrow = LoadRuntimeImage(IntArg(application), IMG_CURSOR | IMG_SYSTEM);
    ASSERT_NE(arrow, 0u);
    EXPECT_EQ(As<HCURSOR>(arrow), LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(ShapeOf(As<HICON>(arrow)).size.cx, GetSystemMetrics(SM_CXCURSOR));
}

struct PictureCase {
    const char* label;
    TypedArg name;
    int32_t kind;
    const ImagePixels& expected;
    int32_t tolerance;   // per colour channel
};

// The picture's size in HIMETRIC at the screen's resolution, and what it
// renders into a DIB at its own pixel size. JPEG decoders differ in their
// inverse transforms: a stated tolerance of 6 per channel.
TEST_F(ImagesTest, PicturesRenderTheFilesPixels) {
    const std::string jpeg = TestImagePath("photo.jpg");
    const std::string gif = TestImagePath("banner.gif");
    const std::string png = TestImagePath("picture.png");
    const std::array<PictureCase, 6> cases{{
        {"JPEG file", StrArg(jpeg.c_str()), IMG_PICTURE, kPixels_photo_jpg, 6},
        {"GIF file", StrArg(gif.c_str()), IMG_PICTURE, kPixels_banner_gif, 0},
        {"PNG file", StrArg(png.c_str()), IMG_PICTURE, kPixels_picture_png, 0},
        {"PNG file, system flag", StrArg(png.c_str()), IMG_PICTURE | IMG_SYSTEM, kPixels_picture_png, 0},
        {"PNG resource by number", IntArg(501), IMG_PICTURE, kPixels_picture_png, 0},
        {"GIF resource by name", StrArg("BANNER"), IMG_PICTURE, kPixels_banner_gif, 0},
    }};
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.label);
        IPicture* picture = As<IPicture*>(LoadRuntimeImage(c.name, c.kind));
        ASSERT_NE(picture, nullptr);
        SHORT type = 0;
        EXPECT_EQ(picture->get_Type(&type), S_OK);
        EXPECT_EQ(type, PICTYPE_BITMAP);
        OLE_XSIZE_HIMETRIC width = 0;
        OLE_YSIZE_HIMETRIC height = 0;
        picture->get_Width(&width);
        picture->get_Height(&height);
        EXPECT_EQ(width, MulDiv(c.expected.width, 2540, dpiX));
        EXPECT_EQ(height, MulDiv(c.expected.height, 2540, dpiY));

        PixelCanvas canvas(c.expected.width, c.expected.height, kBackdrop);
        EXPECT_EQ(picture->Render(canvas.dc(), 0, 0, c.expected.width, c.expected.height, 0, height, width,
                                  -height, nullptr),
                  S_OK);
        int32_t worst = 0;
        for (int32_t y = 0; y < c.expected.height; ++y)
            for (int32_t x = 0; x < c.expected.width; ++x) {
                const int32_t distance = ChannelDistance(canvas.Color(x, y), c.expected.Color(x, y));
                if (distance > worst)
                    worst = distance;
                if (distance > c.tolerance)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << "): " << std::hex << canvas.Color(x, y)
                                  << " expected " << c.expected.Color(x, y);
            }
        RecordProperty(c.label, worst);
        EXPECT_EQ(picture->Release(), 0u);
    }
}

// Drawn by GDI into a file, read back, played at the size it was recorded.
TEST_F(ImagesTest, EnhancedMetafilesFromFiles) {
    const std::string path = ScratchFolder("metafile") + "\\drawing.emf";
    HDC screen = GetDC(nullptr);
    const RECT frame{0, 0, MulDiv(64, GetDeviceCaps(screen, HORZSIZE) * 100, GetDeviceCaps(screen, HORZRES)),
                     MulDiv(32, GetDeviceCaps(screen, VERTSIZE) * 100, GetDeviceCaps(screen, VERTRES))};
    HDC recorder = CreateEnhMetaFileA(screen, path.c_str(), &frame, nullptr);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(recorder, nullptr);
    const std::array<std::pair<RECT, COLORREF>, 3> areas{{
        {{0, 0, 32, 32}, RGB(200, 0, 0)},
        {{32, 0, 64, 32}, RGB(0, 0, 200)},
        {{16, 8, 48, 24}, RGB(0, 160, 0)},
    }};
    for (const auto& [area, color] : areas) {
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(recorder, &area, brush);
        DeleteObject(brush);
    }
    DeleteEnhMetaFile(CloseEnhMetaFile(recorder));

    HENHMETAFILE metafile = As<HENHMETAFILE>(LoadRuntimeImage(StrArg(path.c_str()), IMG_METAFILE));
    ASSERT_NE(metafile, nullptr);
    ENHMETAHEADER header{};
    ASSERT_EQ(GetEnhMetaFileHeader(metafile, sizeof(header), &header), sizeof(header));
    EXPECT_EQ(header.rclBounds.left, 0);
    EXPECT_EQ(header.rclBounds.top, 0);
    EXPECT_EQ(header.rclBounds.right, 63);
    EXPECT_EQ(header.rclBounds.bottom, 31);
    EXPECT_EQ(header.nBytes, ReadWholeFile(path).size());

    PixelCanvas canvas(64, 32, RGB(255, 255, 255));
    const RECT target{0, 0, 64, 32};
    ASSERT_TRUE(PlayEnhMetaFile(canvas.dc(), metafile, &target));
    const std::array<std::pair<POINT, COLORREF>, 5> points{{
        {{4, 4}, RGB(200, 0, 0)},
        {{20, 28}, RGB(200, 0, 0)},
        {{60, 28}, RGB(0, 0, 200)},
        {{44, 4}, RGB(0, 0, 200)},
        {{32, 16}, RGB(0, 160, 0)},
    }};
    for (const auto& [at, color] : points)
        EXPECT_EQ(canvas.Color(at.x, at.y), color) << at.x << ", " << at.y;
    DeleteEnhMetaFile(metafile);
}

struct Failure {
    const char* label;
    TypedArg name;
    int32_t kind;
};

std::vector<Failure> FailureCases(const std::string& missing, const std::string& notPicture,
                                  const std::string& bitmapFile, const std::string& empty) {
    static const uint32_t noVariable = 0;
    return {
        {"kind 5", IntArg(201), 5},
        {"kind 15", IntArg(201), 15},
        {"kind 5, system", IntArg(201), 0x105},
        {"kind 0x10 under the 3-D flag", IntArg(201), 0x1010},
        {"kind 0x200", IntArg(201), 0x200},
        {"kind -1", IntArg(201), -1},
        {"a double as name", TypedArg{201, TY_DOUBLE}, IMG_BITMAP},
        {"no name", NoArg, IMG_ICON},
        {"null string", TypedArg{0, TY_STRING}, IMG_BITMAP},
        {"null variable", TypedArg{0, TY_INTEGER | TY_BYREF}, IMG_BITMAP},
        {"zero variable", DwordRef(noVariable), IMG_BITMAP},
        {"number with high bits", IntArg(0x10000 + 201), IMG_BITMAP},
        {"missing bitmap file", StrArg(missing.c_str()), IMG_BITMAP},
        {"missing icon resource", IntArg(999), IMG_ICON},
        {"bitmap file as cursor", StrArg(bitmapFile.c_str()), IMG_CURSOR},
        {"metafile by number", IntArg(201), IMG_METAFILE},
        {"missing metafile", StrArg(missing.c_str()), IMG_METAFILE},
        {"bitmap file as metafile", StrArg(bitmapFile.c_str()), IMG_METAFILE},
        {"missing picture file", StrArg(missing.c_str()), IMG_PICTURE},
        {"text file as picture", StrArg(notPicture.c_str()), IMG_PICTURE},
        {"empty file as picture", StrArg(empty.c_str()), IMG_PICTURE},
        {"no picture resource", IntArg(999), IMG_PICTURE},
        {"no picture resource by name", StrArg("NOSUCHPICTURE"), IMG_PICTURE},
        {"text resource as picture", IntArg(502), IMG_PICTURE},
        {"picture by number, system", IntArg(501), IMG_PICTURE | IMG_SYSTEM},
    };
}

TEST_F(ImagesTest, EveryFailureReturnsZeroAndLeaksNothing) {
    HBITMAP loads = As<HBITMAP>(LoadRuntimeImage(IntArg(201), IMG_BITMAP));
    ASSERT_NE(loads, nullptr);
    DeleteObject(loads);
    const std::string missing = TestImagePath("missing.png");
    const std::string notPicture = TestImagePath("note.txt");
    const std::string bitmapFile = TestImagePath("pattern.bmp");
    const std::string empty = ScratchFolder("failures") + "\\empty.png";
    CloseHandle(CreateFileA(empty.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const std::vector<Failure> cases = FailureCases(missing, notPicture, bitmapFile, empty);
    for (const Failure& c : cases)
        EXPECT_EQ(LoadRuntimeImage(c.name, c.kind), 0u) << c.label;

    // The first round loaded what the platform keeps for good.
    const HeapUse before = ProcessHeapUse();
    constexpr int kRounds = 20;
    for (int i = 0; i < kRounds; ++i)
        for (const Failure& c : cases)
            (void)LoadRuntimeImage(c.name, c.kind);
    const HeapUse after = ProcessHeapUse();
    EXPECT_LT(after.blocks - before.blocks, kRounds) << "heap blocks left by failed loads";
    EXPECT_LT(after.bytes, before.bytes + 1024) << "heap bytes left by failed loads";
}

TEST_F(ImagesTest, LoadedPicturesLeaveNothingBehindOnceReleased) {
    const std::string png = TestImagePath("picture.png");
    const auto loadAndRelease = [&] {
        for (const TypedArg& name : {StrArg(png.c_str()), IntArg(501)}) {
            IPicture* picture = As<IPicture*>(LoadRuntimeImage(name, IMG_PICTURE));
            ASSERT_NE(picture, nullptr);
            picture->Release();
        }
    };
    loadAndRelease();
    const HeapUse before = ProcessHeapUse();
    constexpr int kRounds = 20;
    for (int i = 0; i < kRounds; ++i)
        loadAndRelease();
    const HeapUse after = ProcessHeapUse();
    EXPECT_LT(after.blocks - before.blocks, kRounds) << "heap blocks left by released pictures";
    EXPECT_LT(after.bytes, before.bytes + 1024) << "heap bytes left by released pictures";
}

// The picture routine itself: a null module reads a file, a module reads an
// "RTIMAGE" resource, by number or by name.
TEST_F(ImagesTest, PictureImageFromFileOrResource) {
    const std::string png = TestImagePath("picture.png");
    HMODULE self = GetModuleHandleA(nullptr);
    // Numbers up to 0xFFFF are numbers, not the address of a name.
    const std::array<std::pair<HMODULE, const char*>, 5> sources{{
        {nullptr, png.c_str()},
        {self, MAKEINTRESOURCEA(501)},
        {self, "BANNER"},
        {self, MAKEINTRESOURCEA(0x7FFF)},
        {self, MAKEINTRESOURCEA(0xFFFF)},
    }};
    for (const auto& [module, name] : sources) {
        IPicture* picture = LoadPictureImage(module, name);
        ASSERT_NE(picture, nullptr);
        picture->Release();
    }
    EXPECT_EQ(LoadPictureImage(self, png.c_str()), nullptr);   // no resource of that name
    EXPECT_EQ(LoadPictureImage(nullptr, "BANNER"), nullptr);   // no such file
    EXPECT_EQ(LoadPictureImage(self, nullptr), nullptr);
}

}  // namespace

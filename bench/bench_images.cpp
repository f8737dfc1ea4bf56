// Images: LoadRuntimeImage of a BMP file and an ICO file against LoadImageA
// called directly with the flags it ends up with, and a JPEG file as a
// picture (IMG_PICTURE) against the same OleLoadPicture on a stream made by
// hand from the file's bytes. Every image is freed again inside the timing.
// The files come from scripts/bench.sh, drawn by ImageMagick into the folder
// REACHLET_BENCH_DATA names (Windows form): bench.bmp, bench.ico, bench.jpg.
//   bench_images [--quick]

#include <windows.h>
#include <olectl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_stats.h"
#include "runtime/program/program.h"
#include "runtime/core/strings.h"
#include "runtime/resource/images.h"

namespace {

// {7BF80980-BF32-101A-8BBB-00AA00300CAB}
constexpr GUID kPictureInterface{0x7BF80980, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

volatile uintptr_t sink;

// The picture in the file, as a program would load it without the runtime:
// the bytes into a movable block, a stream that owns the block,
// OleLoadPicture. Null on failure.
IPicture* PictureByHand(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    const DWORD size = GetFileSize(file, nullptr);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void* bytes = block ? GlobalLock(block) : nullptr;
    DWORD read = 0;
    const bool ok = bytes && ReadFile(file, bytes, size, &read, nullptr) && read == size;
    if (bytes)
        GlobalUnlock(block);
    CloseHandle(file);
    IStream* stream = nullptr;
    if (!ok || FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        if (block)
            GlobalFree(block);
        return nullptr;
    }
    IPicture* picture = nullptr;
    if (FAILED(OleLoadPicture(stream, static_cast<LONG>(size), FALSE, kPictureInterface,
                              reinterpret_cast<void**>(&picture))))
        picture = nullptr;
    stream->Release();
    return picture;
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = bench::HasArg(argc, argv, "--quick");
    const int rounds = quick ? 3 : 9;
    const double seconds = quick ? 0.02 : 0.2;
    ResetFloatingPoint();
    CreateStringHeap();

    char folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("REACHLET_BENCH_DATA", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        std::printf("error images: REACHLET_BENCH_DATA names no folder (scripts/bench.sh draws the images)\n");
        return 1;
    }
    const std::string data = std::string(folder) + "\\";
    const std::string bmp = data + "bench.bmp", ico = data + "bench.ico", jpg = data + "bench.jpg";

    // Each way loads each image before it is timed.
    const auto bitmapOurs = [&] {
        const uint32_t bitmap = LoadRuntimeImage(StrArg(bmp.c_str()), IMG_BITMAP);
        sink = bitmap;
        DeleteObject(reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(bitmap)));
    };
    const auto bitmapDirect = [&] {
        HANDLE bitmap = LoadImageA(nullptr, bmp.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
        sink = reinterpret_cast<uintptr_t>(bitmap);
        DeleteObject(bitmap);
    };
    const auto iconOurs = [&] {
        const uint32_t icon = LoadRuntimeImage(StrArg(ico.c_str()), IMG_ICON);
        sink = icon;
        DestroyIcon(reinterpret_cast<HICON>(static_cast<uintptr_t>(icon)));
    };
    const auto iconDirect = [&] {
        HANDLE icon = LoadImageA(nullptr, ico.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
        sink = reinterpret_cast<uintptr_t>(icon);
        DestroyIcon(static_cast<HICON>(icon));
    };
    const auto pictureOurs = [&] {
        auto* picture = reinterpret_cast<IPicture*>(
            static_cast<uintptr_t>(LoadRuntimeImage(StrArg(jpg.c_str()), IMG_PICTURE)));
        sink = reinterpret_cast<uintptr_t>(picture);
        if (picture)
            picture->Release();
    };
    const auto pictureByHand = [&] {
        IPicture* picture = PictureByHand(jpg.c_str());
        sink = reinterpret_cast<uintptr_t>(picture);
        if (picture)
            picture->Release();
        ResetFloatingPoint();
    };

    struct Check {
        const char* what;
        bool loaded;
    };
    const auto loads = [](auto load) {
        sink = 0;
        load();
        return sink != 0;
    };
    const Check checks[] = {
        {"LoadRuntimeImage, BMP", loads(bitmapOurs)},   {"LoadImageA, BMP", loads(bitmapDirect)},
        {"LoadRuntimeImage, ICO", loads(iconOurs)},     {"LoadImageA, ICO", loads(iconDirect)},
        {"LoadRuntimeImage, JPEG", loads(pictureOurs)}, {"OleLoadPicture, JPEG", loads(pictureByHand)},
    };
    for (const Check& check : checks)
        if (!check.loaded) {
            std::printf("error images: %s loaded nothing from %s\n", check.what, data.c_str());
            return 1;
        }

    bench::Compare("images.bmp.ours", "images.bmp.direct", "ms", rounds, seconds, bitmapOurs, bitmapDirect);
    bench::Compare("images.ico.ours", "images.ico.direct", "ms", rounds, seconds, iconOurs, iconDirect);
    bench::Compare("images.jpg.ours", "images.jpg.direct", "ms", rounds, seconds, pictureOurs,
                   pictureByHand);
    bench::Row("images, LoadRuntimeImage / LoadImageA, BMP 256x256 24-bit", "images.bmp.ours", "images.bmp.direct",
               "<=1.1");
    bench::Row("images, LoadRuntimeImage / LoadImageA, ICO 48, 32, 16", "images.ico.ours", "images.ico.direct",
               "<=1.1");
    bench::Row("images, LoadRuntimeImage / OleLoadPicture by hand, JPEG 640x480", "images.jpg.ours",
               "images.jpg.direct", "<=1.1");
    return 0;
}

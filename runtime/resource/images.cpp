#include "runtime/resource/images.h"

#include <cstring>

#include "runtime/core/float_control.h"
#include "runtime/core/strings.h"
#include "runtime/resource/resource_data.h"

namespace {

// {7BF80980-BF32-101A-8BBB-00AA00300CAB}
constexpr GUID kPictureInterface{0x7BF80980, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

inline constexpr char kPictureResourceType[] = "RTIMAGE";
constexpr DWORD kReadFileFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN;

struct ImageName {
    const char* name = nullptr;   // a string, or an integer resource name
    bool isString = false;
};

ImageName NameOf(TypedArg arg) {
    switch (TypeCode(arg)) {
    case TY_INTEGER:
    case TY_DWORD: {
        if (IsByRef(arg) && !arg.value)
            return {};
        const uint32_t number =
            IsByRef(arg) ? *reinterpret_cast<const uint32_t*>(static_cast<uintptr_t>(arg.value)) : arg.value;
        // The platform would take a number with high bits for a string's
        // address; and number 0 names nothing.
        if (number == 0 || number > 0xFFFF)
            return {};
        return {MAKEINTRESOURCEA(number), false};
    }
    case TY_STRING:
        return {reinterpret_cast<const char*>(static_cast<uintptr_t>(arg.value)), true};
    default:
        return {};
    }
}

uint32_t HandleWord(const void* handle) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle)); }

// The whole file in a new zero-filled block, or null. Opened as a binary
// channel opens one for reading: shared for reading and writing, existing
// files only.
HGLOBAL ReadFileBytes(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              kReadFileFlags, nullptr);
    if (file == INVALID_HANDLE_VALUE || !file)
        return nullptr;
    HGLOBAL block = nullptr;
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    if (size <= 0x7FFFFFFF && high == 0 && GlobalAllocZeroed(&block, static_cast<int32_t>(size), 1) == 0) {
        DWORD read = 0;
        if (!ReadFile(file, block, static_cast<DWORD>(GlobalSize(block)), &read, nullptr)) {
            GlobalRelease(block);
            block = nullptr;
        }
    }
    CloseHandle(file);
    return block;
}

HGLOBAL ReadResourceBytes(const char* name) {
    HGLOBAL block = nullptr;
    const TypedArg resource = IS_INTRESOURCE(name) ? TypedArg{HandleWord(name), TY_INTEGER} : StrArg(name);
    const TypedArg destination{HandleWord(&block), TY_BLOCK};
    if (!LoadResourceData(resource, StrArg(kPictureResourceType), destination))
        return nullptr;
    return block;
}

// A movable copy of the block, which is freed; null when there is nothing to
// copy or no memory.
HGLOBAL MovableCopy(HGLOBAL block, SIZE_T size) {
    HGLOBAL object = size ? GlobalAlloc(GMEM_MOVEABLE, size) : nullptr;
    void* target = object ? GlobalLock(object) : nullptr;
    if (target) {
        std::memcpy(target, block, size);
        GlobalUnlock(object);
    } else if (object) {
        GlobalFree(object);
        object = nullptr;
    }
    GlobalRelease(block);
    return object;
}

}  // namespace

IPicture* LoadPictureImage(HMODULE module, const char* name) {
    if (!name)
        return nullptr;
    HGLOBAL bytes = module ? ReadResourceBytes(name) : ReadFileBytes(name);
    if (!bytes)
        return nullptr;
    const SIZE_T size = GlobalSize(bytes);
    HGLOBAL object = MovableCopy(bytes, size);
    if (!object)
        return nullptr;
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(object, TRUE, &stream)) || !stream) {
        GlobalFree(object);
        return nullptr;
    }
    // The stream owns the memory object from here on.
    IPicture* picture = nullptr;
    const HRESULT loaded =
        OleLoadPicture(stream, static_cast<LONG>(size), FALSE, kPictureInterface, reinterpret_cast<void**>(&picture));
    stream->Release();
    ResetFloatingPoint();
    if (FAILED(loaded)) {
        if (picture)
            picture->Release();
        return nullptr;
    }
    return picture;
}

uint32_t LoadRuntimeImage(TypedArg nameArg, int32_t kind) {
    const ImageName image = NameOf(nameArg);
    if (!image.name)
        return 0;
    UINT flags = 0;
    HMODULE module = nullptr;
    if (image.isString && FindInString(image.name, ".", 1) != 0)
        flags |= LR_LOADFROMFILE;
    else
        module = GetModuleHandleA(nullptr);
    if (kind & IMG_MAP3DCOLORS) {
        flags |= LR_LOADMAP3DCOLORS;
        kind &= 0xFFF;
    }
    if (kind & IMG_SYSTEM) {
        module = nullptr;
        kind &= 0xF;
    }
    switch (kind) {
    case IMG_BITMAP:
        return HandleWord(LoadImageA(module, image.name, IMAGE_BITMAP, 0, 0, flags | LR_CREATEDIBSECTION));
    case IMG_ICON:
    case IMG_CURSOR:
        if (!module && !image.isString)
            flags |= LR_SHARED | LR_DEFAULTSIZE;
        return HandleWord(LoadImageA(module, image.name, kind == IMG_ICON ? IMAGE_ICON : IMAGE_CURSOR, 0, 0, flags));
    case IMG_METAFILE:
        return image.isString ? HandleWord(GetEnhMetaFileA(image.name)) : 0;
    case IMG_PICTURE:
        if (!module && !image.isString)
            return 0;
        return HandleWord(LoadPictureImage(module, image.name));
    default:
        return 0;
    }
}

#pragma once
// Bitmaps, icons, cursors, enhanced metafiles and pictures from the program's
// resources, from files, or from the system's stock images.

#include <windows.h>
#include <olectl.h>

#include <cstdint>

#include "runtime/core/typed_arg.h"

// Image kinds, and flags added to a kind.
enum : int32_t {
    IMG_BITMAP = 0,
    IMG_ICON = 1,
    IMG_CURSOR = 2,
    IMG_METAFILE = 3,          // enhanced metafile, from a file only
    IMG_PICTURE = 4,           // IPicture from OleLoadPicture
    IMG_SYSTEM = 0x100,        // null module: a number names a stock image
    IMG_MAP3DCOLORS = 0x1000,  // LR_LOADMAP3DCOLORS
};

// Loads an image. The name is a resource number (TY_INTEGER or TY_DWORD,
// read through the address with TY_BYREF) or a string: a file name when it
// holds a "." anywhere, else a resource name. Any other type, or a null
// string, names nothing and gives 0.
// Returns an HBITMAP (a DIB section), HICON, HCURSOR or HENHMETAFILE, or for
// IMG_PICTURE an IPicture* (not a GDI handle); 0 on failure. The caller owns
// it (DeleteObject, DestroyIcon, DestroyCursor, DeleteEnhMetaFile, Release),
// except stock icons and cursors, which are shared and never destroyed.
// IMG_METAFILE, and IMG_PICTURE with IMG_SYSTEM, read files only: a number
// gives 0.
[[nodiscard]] uint32_t LoadRuntimeImage(TypedArg name, int32_t kind);

// The picture in a file (module null; name a file name) or in an "RTIMAGE"
// resource of the program (module set; name a resource number, any value
// below 0x10000, or a resource name), through OleLoadPicture. Returns the
// picture's IPicture, owned by the caller, or null.
[[nodiscard]] IPicture* LoadPictureImage(HMODULE module, const char* name);

#include "runtime/core/system_library.h"

#include <cstring>

HMODULE LoadSystemLibrary(const char* fileName) {
    if (!fileName)
        return nullptr;
    char path[MAX_PATH];
    const UINT folder = GetSystemDirectoryA(path, MAX_PATH);
    const size_t name = std::strlen(fileName);
    // The folder, a separator, the name and the terminator.
    if (folder == 0 || folder + 1 + name + 1 > MAX_PATH)
        return nullptr;
    path[folder] = '\\';
    std::memcpy(path + folder + 1, fileName, name + 1);
    return LoadLibraryA(path);
}

// A library that carries the name of a platform one (riched32.dll,
// crtdll.dll, comdlg32.dll) and exports nothing. Loaded, it adds its file
// name to the environment variable PLANTED_LOADS of the process, so a test
// sees that a load by bare name took it instead of the system's.
#include <windows.h>

#include <cstring>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, MAX_PATH);
    const char* name = std::strrchr(path, '\\');
    name = name ? name + 1 : path;
    char loads[1024] = {};
    const DWORD length = GetEnvironmentVariableA("PLANTED_LOADS", loads, sizeof(loads));
    if (length < sizeof(loads) && length + 1 + std::strlen(name) < sizeof(loads)) {
        if (length)
            std::strcat(loads, " ");
        std::strcat(loads, name);
        SetEnvironmentVariableA("PLANTED_LOADS", loads);
    }
    return TRUE;
}

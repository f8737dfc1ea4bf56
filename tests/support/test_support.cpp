#include "tests/support/test_support.h"

#include <cstdio>
#include <vector>

int32_t PumpMessages(int32_t maxMessages) {
    MSG msg;
    int32_t count = 0;
    while (count < maxMessages && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        ++count;
    }
    return count;
}

std::string BuildPath(const std::string& relative) {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string path(module);
    path.resize(path.find_last_of("\\/"));      // the test program's folder
    path.resize(path.find_last_of("\\/") + 1);  // the build tree
    return path + relative;
}

std::string ScratchFolder(const std::string& name) {
    const std::string root = BuildPath("scratch");
    CreateDirectoryA(root.c_str(), nullptr);
    const std::string folder = root + "\\" + name + "-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string ReadWholeFile(const std::string& path) {
    std::string text;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
        text.append(buffer, n);
    std::fclose(f);
    return text;
}

int32_t FreeGdiSlots() {
    std::vector<HRGN> regions;
    regions.reserve(70000);
    while (HRGN region = CreateRectRgn(0, 0, 1, 1))
        regions.push_back(region);
    for (HRGN region : regions)
        DeleteObject(region);
    return static_cast<int32_t>(regions.size());
}

namespace {

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int32_t*>(count);
    return TRUE;
}

// EnumChildWindows visits every descendant, not only the direct children.
BOOL CALLBACK CountWindowAndDescendants(HWND hwnd, LPARAM count) {
    CountWindow(hwnd, count);
    EnumChildWindows(hwnd, CountWindow, count);
    return TRUE;
}

}  // namespace

int32_t ThreadWindowCount() {
    int32_t count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindowAndDescendants, reinterpret_cast<LPARAM>(&count));
    return count;
}

ChildResult RunChild(const std::string& program, const std::string& arguments, DWORD timeoutMs) {
    ChildResult result;
    std::string command = "\"" + program + "\" " + arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return result;
    result.started = true;
    // The time-out is what a host running Wine natively needs; under
    // emulation a process start alone has taken over twenty seconds.
    if (WaitForSingleObject(pi.hProcess, timeoutMs * REACHLET_TEST_TIME_SCALE) == WAIT_OBJECT_0) {
        result.finished = true;
    } else {
        TerminateProcess(pi.hProcess, 255);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    GetExitCodeProcess(pi.hProcess, &result.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}

namespace {

std::string* captured;

// OutputDebugStringA raises DBG_PRINTEXCEPTION_C (length with terminator,
// text); a vectored handler sees it before the platform's own handler.
LONG CALLBACK CaptureDebugString(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (captured && record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
        const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
        const auto length = static_cast<size_t>(record->ExceptionInformation[0]);
        if (text && length > 0) {
            captured->append(text, length - 1);
            captured->push_back('\n');
        }
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

DebugOutputCapture::DebugOutputCapture() {
    captured = new std::string;
    previous_ = AddVectoredExceptionHandler(1, CaptureDebugString);
}

DebugOutputCapture::~DebugOutputCapture() {
    RemoveVectoredExceptionHandler(previous_);
    delete captured;
    captured = nullptr;
}

std::string DebugOutputCapture::Text() const { return captured ? *captured : std::string(); }

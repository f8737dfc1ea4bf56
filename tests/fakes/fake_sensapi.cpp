// A sensapi.dll for tests: the test decides every answer and sees every call.
//
// FAKE_SENSAPI_SCRIPT names a text file, read again at each call:
//   reachable <target>    this exact target answers TRUE (any number of lines)
//   default <0|1>         answer for other targets (0 unless given)
//   block <ms>            how long each call blocks before answering
//   answers <0|1> ...     answers by call number, round and round; wins over
//                         the lines above
// Each call appends one line to the same path plus ".calls":
//   <target>|<qoc null or set>
// WatchDestroyedText is a WH_CALLWNDPROC hook a test may put on the
// program's thread: the text each rich edit control holds when it is
// destroyed is appended to the same path plus ".destroyed".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string ScriptPath() {
    char path[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA("FAKE_SENSAPI_SCRIPT", path, MAX_PATH);
    return (n > 0 && n < MAX_PATH) ? std::string(path) : std::string();
}

struct Answer {
    BOOL reachable = FALSE;
    DWORD blockMs = 0;
};

// Calls recorded so far.
int CallCount(const std::string& script) {
    FILE* f = std::fopen((script + ".calls").c_str(), "rb");
    if (!f)
        return 0;
    int count = 0;
    for (int c; (c = std::fgetc(f)) != EOF;)
        count += c == '\n';
    std::fclose(f);
    return count;
}

Answer Decide(const std::string& script, const char* target) {
    Answer answer;
    std::string sequence;
    BOOL fallback = FALSE;
    bool listed = false;
    FILE* f = std::fopen(script.c_str(), "rb");
    if (!f)
        return answer;
    char line[1024];
    while (std::fgets(line, sizeof(line), f)) {
        line[std::strcspn(line, "\r\n")] = 0;
        if (std::strncmp(line, "reachable ", 10) == 0 && target && std::strcmp(line + 10, target) == 0)
            listed = true;
        else if (std::strncmp(line, "default ", 8) == 0)
            fallback = std::atoi(line + 8) ? TRUE : FALSE;
        else if (std::strncmp(line, "block ", 6) == 0)
            answer.blockMs = static_cast<DWORD>(std::atoi(line + 6));
        else if (std::strncmp(line, "answers ", 8) == 0)
            for (const char* p = line + 8; *p; ++p)
                if (*p == '0' || *p == '1')
                    sequence.push_back(*p);
    }
    std::fclose(f);
    answer.reachable = listed ? TRUE : fallback;
    if (!sequence.empty()) {
        const size_t call = static_cast<size_t>(CallCount(script) - 1);   // this call is recorded
        answer.reachable = sequence[call % sequence.size()] == '1' ? TRUE : FALSE;
    }
    return answer;
}

void RecordCall(const std::string& script, const char* target, const void* qoc) {
    FILE* f = std::fopen((script + ".calls").c_str(), "ab");
    if (!f)
        return;
    std::fprintf(f, "%s|%s\n", target ? target : "(null)", qoc ? "qoc" : "null");
    std::fclose(f);
}

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI IsDestinationReachableA(LPCSTR destination, void* qoc) {
    const std::string script = ScriptPath();
    if (script.empty())
        return FALSE;
    RecordCall(script, destination, qoc);
    const Answer answer = Decide(script, destination);
    if (answer.blockMs)
        Sleep(answer.blockMs);   // stands in for a slow network, not for test timing
    return answer.reachable;
}

extern "C" __declspec(dllexport) LRESULT CALLBACK WatchDestroyedText(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    char className[16] = {};
    if (code == HC_ACTION && call->message == WM_DESTROY && GetClassNameA(call->hwnd, className, sizeof(className)) &&
        lstrcmpiA(className, "RichEdit") == 0) {
        const std::string script = ScriptPath();
        std::string text(static_cast<size_t>(GetWindowTextLengthA(call->hwnd)) + 1, '\0');
        text.resize(static_cast<size_t>(GetWindowTextA(call->hwnd, text.data(), static_cast<int>(text.size()))));
        if (FILE* f = script.empty() ? nullptr : std::fopen((script + ".destroyed").c_str(), "ab")) {
            std::fputs(text.c_str(), f);
            std::fclose(f);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) BOOL WINAPI IsDestinationReachableW(LPCWSTR, void*) { return FALSE; }

extern "C" __declspec(dllexport) BOOL WINAPI IsNetworkAlive(DWORD* flags) {
    if (flags)
        *flags = 1;
    return TRUE;
}

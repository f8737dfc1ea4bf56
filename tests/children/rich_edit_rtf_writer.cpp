// Writes one rich edit document, several lines in several colours and faces,
// through the edit commands onto two text file channels: argument 1 receives
// the RTF, argument 2 the control's plain text. An RTF reader outside Wine
// then checks that both say the same (rich_edit_rtf_check.sh). Exit code 0
// when both streams moved bytes, else 1.
#include <windows.h>
#include <richedit.h>

#include <cstdlib>

#include "runtime/control/control_commands.h"
#include "runtime/control/controls.h"
#include "runtime/core/strings.h"
#include "runtime/resource/file_channel.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"

namespace {

constexpr int32_t kRichId = 10;

struct Run {
    const char* face;
    int32_t points;
    int32_t bold;
    COLORREF color;
    const char* text;
};
constexpr Run kRuns[] = {
    {"Arial", 12, 1, RGB(200, 0, 0), "Reachlet log, printed in red Arial\r\n"},
    {"Courier New", 10, 0, RGB(0, 0, 200), "Second line: blue Courier with {braces}\r\n"},
    {"Times New Roman", 14, 0, RGB(0, 128, 0), "Third line, green, a back\\slash and a tab\there\r\n"},
    {"Arial", 9, 0, RGB(0, 0, 0), "\r\n"},
    {"Courier New", 11, 1, RGB(128, 0, 128), "Last line after an empty one"},
};

int32_t StreamTo(WindowRecord& window, const char* path, int32_t rich) {
    HANDLE channel = nullptr;
    if (OpenFileChannel(&channel, TY_TEXTFILE, path, "W") != 0)
        return 0;
    const TypedArg file{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&channel)), TY_TEXTFILE | TY_BYREF};
    const int32_t moved = SendControlCommand(&window, kRichId, CC_ED_STREAM_OUT, file, IntArg(rich));
    CloseFileChannel(&channel, TY_TEXTFILE);
    return moved;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3 || CreateStringHeap() != 1)
        return 1;
    WindowRecord window{};
    if (OpenWindow(&window, 0, 0, 500, 300, RF_HIDDEN, nullptr, "rtf", nullptr) != 1)
        return 1;
    CreateControl(&window, CT_RICHEDIT, "", 0, 0, 480, 280, ES_MULTILINE, kRichId);   // answers 0 either way
    if (!GetDlgItem(window.hwnd, kRichId))
        return 1;
    for (const Run& run : kRuns) {
        SendControlCommand(&window, kRichId, CC_ED_SET_SEL, IntArg(-1), IntArg(-1));
        SendControlCommand(&window, kRichId, CC_ED_SET_SEL_FONT, StrArg(run.face), IntArg(run.points),
                           IntArg(run.bold), IntArg(0));
        SendControlCommand(&window, kRichId, CC_ED_SET_SEL_COLOR, IntArg(static_cast<int32_t>(run.color)));
        SendControlCommand(&window, kRichId, CC_ED_REPLACE_SEL, StrArg(run.text));
    }
    const bool written = StreamTo(window, __argv[1], 1) > 0 && StreamTo(window, __argv[2], 0) > 0;
    CloseWindow(&window);
    return written ? 0 : 1;
}

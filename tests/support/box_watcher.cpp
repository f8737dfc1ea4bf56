#include "tests/support/box_watcher.h"

#include <cstring>

namespace {

std::vector<SeenBox>* seenBoxes;

// Wine's message box keeps its icon in a static control with this id.
constexpr int kBoxIconId = 1088;
constexpr int kBoxTextId = 0xFFFF;

BOOL CALLBACK VisitBox(HWND hwnd, LPARAM) {
    char className[32] = {};
    GetClassNameA(hwnd, className, sizeof(className));
    if (std::strcmp(className, "#32770") != 0 || !IsWindowVisible(hwnd) || GetPropA(hwnd, "SEEN"))
        return TRUE;
    SetPropA(hwnd, "SEEN", reinterpret_cast<HANDLE>(1));
    SeenBox box;
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    box.caption = text;
    GetDlgItemTextA(hwnd, kBoxTextId, text, sizeof(text));
    box.text = text;
    const auto icon = reinterpret_cast<HICON>(SendDlgItemMessageA(hwnd, kBoxIconId, STM_GETICON, 0, 0));
    box.exclamationIcon = icon && icon == LoadIconA(nullptr, IDI_EXCLAMATION);
    box.stopIcon = icon && icon == LoadIconA(nullptr, IDI_HAND);
    seenBoxes->push_back(box);
    PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
    return TRUE;
}

void CALLBACK VisitBoxes(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), VisitBox, 0);
}

}  // namespace

std::vector<SeenBox> BoxesDuring(const std::function<void()>& action) {
    std::vector<SeenBox> boxes;
    std::vector<SeenBox>* outer = seenBoxes;
    seenBoxes = &boxes;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, VisitBoxes);
    action();
    KillTimer(nullptr, timer);
    seenBoxes = outer;
    return boxes;
}

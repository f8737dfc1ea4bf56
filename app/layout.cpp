#include "app/layout.h"

#include <array>

#include "app/monitor.h"
#include "runtime/runtime.h"

namespace {

constexpr uint32_t kTabStop = WS_TABSTOP;
constexpr uint32_t kLogStyle = WS_BORDER | WS_VSCROLL | ES_READONLY | ES_MULTILINE;

struct ControlSpec {
    int32_t id;
    int32_t type;
    const char* text;
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
    uint32_t style;
};

// In creation order, which is also the Tab order.
constexpr std::array<ControlSpec, 9> kControls{{
    {ID_TARGET_LABEL, CT_LABEL, "Ip Address", 10, 10, 100, 25, 0},
    {ID_TARGET, CT_EDIT, "", 110, 10, 200, 25, kTabStop},
    {ID_INTERVAL_LABEL, CT_LABEL, "Interval", 10, 45, 100, 25, 0},
    {ID_INTERVAL, CT_EDIT, "", 110, 45, 40, 25, kTabStop},
    {ID_FAILURE_MESSAGE, CT_CHECKBOX, "Failure message", 10, 80, 150, 25, kTabStop},
    {ID_START, CT_BUTTON, "Start", 100, 120, 60, 25, kTabStop},
    {ID_STOP, CT_BUTTON, "Stop", 170, 120, 60, 25, kTabStop},
    {ID_EXIT, CT_BUTTON, "Exit", 240, 120, 60, 25, kTabStop},
    {ID_LOG, CT_RICHEDIT, "", 10, 160, 372, 200, kLogStyle},
}};

constexpr std::array<int32_t, 3> kBlackOnWhite{ID_TARGET_LABEL, ID_INTERVAL_LABEL, ID_FAILURE_MESSAGE};

constexpr int32_t kAppIconResource = 1;

}  // namespace

int32_t BuildLayout() {
    for (const ControlSpec& c : kControls)
        CreateControl(&mainWindow, c.type, c.text, c.x, c.y, c.width, c.height, c.style, c.id);
    for (int32_t id : kBlackOnWhite)
        SetControlColors(&mainWindow, id, PackRGB(0, 0, 0), PackRGB(255, 255, 255));
    SetControlText(&mainWindow, ID_INTERVAL, kDefaultInterval);
    FocusControl(&mainWindow, ID_TARGET);
    SetDialogKeys(&mainWindow, 1);
    CenterWindow(&mainWindow);
    started = 0;
    // Without the resource the class icon becomes null and the platform
    // shows its default icon.
    appIcon = reinterpret_cast<HICON>(static_cast<uintptr_t>(LoadRuntimeImage(IntArg(kAppIconResource), IMG_ICON)));
    SetClassIcon(&mainWindow, appIcon);
    ShowWindowOrControl(&mainWindow, SW_SHOW, 0);
    return 1;
}

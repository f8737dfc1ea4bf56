#include "runtime/window/message_box.h"

#include <array>

HHOOK messageBoxHook;

namespace {

constexpr uint32_t kDefaultFlags = MB_ICONEXCLAMATION | MB_OK;
constexpr LONG kCentredStyles = static_cast<LONG>(WS_DLGFRAME | WS_POPUP);

// Windows placed at creation and not yet activated, with the window they
// were centred on. Under Wine (8.0) the place written into CREATESTRUCT is
// dropped (a CBT hook's changes there are not copied back), and its message
// box sizes and centres itself on the work area in WM_INITDIALOG anyway; so
// such a window is placed again, by the same rule and at its size by then,
// when it is first activated. Where the platform keeps the created place the
// second placing finds the window where it already is.
struct PlacedWindow {
    HWND window;
    HWND reference;
};
constexpr size_t kPlacedSlots = 16;
std::array<PlacedWindow, kPlacedSlots> placed;
size_t nextPlaced;

// Centre of the reference rectangle, held at 0 on the low side or else at
// the work area's far edge on the high side (so a window larger than the
// work area can end up at a negative place). Wrapping 32-bit arithmetic: a
// CW_USEDEFAULT size gives a meaningless but defined place.
int32_t CentredCoordinate(int32_t refLow, int32_t refHigh, int32_t size, int32_t workHigh) {
    const auto refSize = static_cast<int32_t>(static_cast<uint32_t>(refHigh) - static_cast<uint32_t>(refLow));
    const auto spare = static_cast<int32_t>(static_cast<uint32_t>(refSize) - static_cast<uint32_t>(size));
    const auto place = static_cast<int32_t>(static_cast<uint32_t>(spare / 2) + static_cast<uint32_t>(refLow));
    if (place < 0)
        return 0;
    if (static_cast<int64_t>(place) + size > workHigh)
        return static_cast<int32_t>(static_cast<uint32_t>(workHigh) - static_cast<uint32_t>(size));
    return place;
}

POINT CentredPlace(HWND reference, int32_t width, int32_t height) {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT ref{};
    GetWindowRect(reference ? reference : GetDesktopWindow(), &ref);
    return POINT{CentredCoordinate(ref.left, ref.right, width, work.right),
                 CentredCoordinate(ref.top, ref.bottom, height, work.bottom)};
}

void RememberPlaced(HWND window, HWND reference) {
    placed[nextPlaced] = PlacedWindow{window, reference};
    nextPlaced = (nextPlaced + 1) % kPlacedSlots;
}

void PlaceAgainOnFirstActivation(HWND window) {
    for (PlacedWindow& entry : placed) {
        if (entry.window != window)
            continue;
        entry.window = nullptr;
        RECT now{};
        if (!GetWindowRect(window, &now))
            return;
        const POINT place = CentredPlace(entry.reference, now.right - now.left, now.bottom - now.top);
        if (place.x != now.left || place.y != now.top)
            SetWindowPos(window, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
}

}  // namespace

LRESULT CALLBACK CenterHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (cs->style & kCentredStyles) {
            const POINT place = CentredPlace(cs->hwndParent, cs->cx, cs->cy);
            cs->x = place.x;
            cs->y = place.y;
            RememberPlaced(reinterpret_cast<HWND>(wParam), cs->hwndParent);
            return 0;
        }
    } else if (code == HCBT_ACTIVATE) {
        PlaceAgainOnFirstActivation(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(messageBoxHook, code, wParam, lParam);
}

int32_t ShowMessage(WindowRecord* owner, const char* text, const char* caption, uint32_t flags) {
    const HWND ownerWindow = owner ? owner->hwnd : nullptr;
    if (flags == 0)
        flags = kDefaultFlags;
    const HHOOK outer = messageBoxHook;
    const HHOOK mine = SetWindowsHookExA(WH_CBT, CenterHookProc, nullptr, GetCurrentThreadId());
    messageBoxHook = mine;
    const int result = MessageBoxA(ownerWindow, text, caption, flags);
    if (mine)
        UnhookWindowsHookEx(mine);
    messageBoxHook = outer;
    if (!outer)
        placed.fill(PlacedWindow{});
    return result;
}

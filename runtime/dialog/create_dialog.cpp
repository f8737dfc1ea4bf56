#include "runtime/dialog/create_dialog.h"

#include "runtime/control/controls.h"
#include "runtime/dialog/template_image.h"
#include "runtime/core/block_alloc.h"
#include "runtime/window/dialog_registry.h"
#include "runtime/window/gdi_guards.h"
#include "runtime/window/open_window.h"

namespace {

constexpr ATOM kSystemDialogAtom = 0x8002;
constexpr int kDialogWindowExtra = 30;   // DLGWINDOWEXTRA
constexpr uint32_t kDialogFrame = WS_POPUP | DS_MODALFRAME | DS_SETFONT;
constexpr size_t kCaptionMax = sizeof(DialogTemplate::caption) - 1;

// Copies at most kCaptionMax bytes without splitting a double-byte
// character; the field is zero-filled, so the copy stays terminated.
void CopyCaption(char* field, const char* caption) {
    if (!caption)
        return;
    size_t length = 0;
    while (caption[length]) {
        const size_t step = (IsDBCSLeadByte(static_cast<BYTE>(caption[length])) && caption[length + 1]) ? 2 : 1;
        if (length + step > kCaptionMax)
            break;
        length += step;
    }
    CopyMemory(field, caption, length);
}

// The pixel size of a dialog unit's base, measured as the dialog manager
// measures the template's font when it builds the dialog: the 8-point face
// at the screen's resolution, the mean width of the 52 letters, rounded, and
// the character height. A font of 8 pixels with tmAveCharWidth + 1 gave
// 5 and 8 where the dialog manager uses 7 and 13 under Wine at 96 dpi, and
// every dialog and control came out some 40% larger than asked.
bool MeasureBaseUnits(DialogTemplate* dialog) {
    MemoryDC dc(nullptr);
    if (!dc.get())
        return false;
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(kDialogPointSize, GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
    lf.lfWeight = FW_NORMAL;
    lstrcpynA(lf.lfFaceName, kDialogFaceName, LF_FACESIZE);
    GdiObject<HFONT> font(CreateFontIndirectA(&lf));
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    TEXTMETRICA metrics{};
    SIZE letters{};
    {
        Selected selected(dc.get(), font.get());
        if (!GetTextMetricsA(dc.get(), &metrics) ||
            !GetTextExtentPoint32A(dc.get(), kLetters, sizeof(kLetters) - 1, &letters))
            return false;
    }
    dialog->baseUnitX = (letters.cx / 26 + 1) / 2;
    dialog->baseUnitY = metrics.tmHeight;
    return true;
}

}  // namespace

ATOM RegisterDialogClass() {
    if (dialogClassAtom)
        return dialogClassAtom;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExA(nullptr, reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(kSystemDialogAtom)), &wc))
        return 0;
    wc.cbSize = sizeof(wc);
    wc.lpszClassName = kDialogClassName;
    wc.lpszMenuName = nullptr;
    wc.lpfnWndProc = DefDlgProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.style &= ~CS_GLOBALCLASS;
    wc.cbWndExtra = kDialogWindowExtra;
    wc.hIcon = nullptr;
    wc.hCursor = nullptr;
    wc.hIconSm = nullptr;
    dialogClassAtom = RegisterClassExA(&wc);
    return dialogClassAtom;
}

int32_t CreateDialogTemplate(WindowRecord* window, int32_t x, int32_t y, int32_t width, int32_t height,
                             uint32_t style, const WindowRecord* owner, const char* caption,
                             HandlerProc handler) {
    if (!window)
        return 0;
    RegisterDialogClass();
    auto* dialog = static_cast<DialogTemplate*>(AllocZeroed(AT_STRUCT, sizeof(DialogTemplate)));
    if (!dialog)
        return 0;
    // Without base units no rectangle converts and every control would be
    // refused: no template, and the record stays as it was.
    if (!MeasureBaseUnits(dialog)) {
        FreeBlock(dialog);
        return 0;
    }
    // A record described again keeps its one registry node; the template it
    // had goes now rather than twice at shutdown.
    if (IsDialogRecord(window))
        FreeDialogTemplate(window->dialogTemplate);

    window->handler = handler;
    window->hwnd = nullptr;
    window->paintDC = nullptr;
    window->drawDC = nullptr;
    window->drawDCDepth = 0;
    window->targetDC = nullptr;
    window->templateMode = 1;
    window->cursor = LoadCursorA(nullptr, IDC_ARROW);
    window->drawWordB = 1;
    window->drawWordA = 0;
    window->dialogKeys = 1;
    window->bkMode = 0;
    window->bkColor = 0;
    window->rop2 = 0;
    window->altSurface = nullptr;
    window->altSurfaceMode = 0;
    window->contentHost = nullptr;
    window->dialogTemplate = dialog;

    if (!(style & RF_HIDDEN))
        style |= WS_VISIBLE;
    dialog->style = (style & ~RF_HIDDEN) | kDialogFrame;
    dialog->owner = owner ? owner->hwnd : nullptr;
    CopyCaption(dialog->caption, caption);

    dialog->x = x;
    dialog->y = y;
    dialog->cx = width;
    dialog->cy = height;
    PixelsToDialogUnits(dialog, &dialog->x, &dialog->y, &dialog->cx, &dialog->cy);
    RegisterDialogRecord(window);
    return 1;
}

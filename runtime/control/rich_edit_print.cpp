#include "runtime/control/rich_edit_print.h"

#include <commdlg.h>
#include <richedit.h>

#include "runtime/control/controls.h"
#include "runtime/core/program.h"
#include "runtime/core/system_library.h"

namespace {

constexpr DWORD kPrintDialogFlags =
    PD_NOSELECTION | PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE;
static_assert(kPrintDialogFlags == 0x140104);
static_assert(sizeof(PRINTDLGA) == 66);
static_assert(sizeof(DOCINFOA) == 20);
static_assert(sizeof(FORMATRANGE) == 48);

constexpr int32_t kTwipsPerInch = 1440;
constexpr char kDocumentName[] = "(Untitled)";

// Messages go to the control through the runtime's sender, naming it by handle.
int32_t SendToControl(HWND control, UINT message, WPARAM wParam, const void* lParam) {
    const auto handle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(control));
    const auto address = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(lParam));
    return SendWindowMessage(TypedArg{handle, TY_DWORD}, message, static_cast<uint32_t>(wParam),
                             TypedArg{address, TY_DWORD}, 0);
}

// Whole inches only: an 8.27-inch width counts as 8 inches.
int32_t WholeInchesInTwips(HDC printer, int pixelsIndex, int pixelsPerInchIndex) {
    const int perInch = GetDeviceCaps(printer, pixelsPerInchIndex);
    return perInch > 0 ? GetDeviceCaps(printer, pixelsIndex) / perInch * kTwipsPerInch : 0;
}

// One page per pass, at least one, until the control has laid out its whole
// text. A page that takes no text would come back the same forever.
int32_t PrintPages(HWND control, HDC printer, FORMATRANGE& range) {
    const int32_t length = SendToControl(control, WM_GETTEXTLENGTH, 0, nullptr);
    for (;;) {
        StartPage(printer);
        const int32_t next = SendToControl(control, EM_FORMATRANGE, 1, &range);
        if (EndPage(printer) <= 0)
            return kPrintStopped;
        if (next >= length)
            return 0;
        if (next <= range.chrg.cpMin)
            return kPrintStopped;
        range.chrg.cpMin = next;
        range.chrg.cpMax = -1;
    }
}

// The print dialog's library is loaded the first time something prints:
// linked, it and what it pulls in (the shell's libraries, the spooler's) were
// loaded at every start of every program for a dialog most never open. It
// stays loaded once it is. FALSE, as PrintDlgA answers a cancel, when it
// cannot be found.
BOOL ShowPrintDialog(PRINTDLGA* dialog) {
    using PrintDialogProc = BOOL(WINAPI*)(PRINTDLGA*);
    static PrintDialogProc printDialog = nullptr;
    if (!printDialog) {
        HMODULE library = LoadSystemLibrary("comdlg32.dll");
        if (!library)
            return FALSE;
        printDialog = reinterpret_cast<PrintDialogProc>(
            reinterpret_cast<void*>(GetProcAddress(library, "PrintDlgA")));
        if (!printDialog) {
            FreeLibrary(library);
            return FALSE;
        }
    }
    return printDialog(dialog);
}

}  // namespace

int32_t PrintRichEdit(HWND control, int32_t marginTwips) {
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = control;
    dialog.Flags = kPrintDialogFlags;
    const BOOL chosen = ShowPrintDialog(&dialog);
    // The dialog loads the printer's driver, which may leave its own
    // floating-point settings behind.
    ResetFloatingPoint();
    // The dialog's copies of the printer settings are the caller's to free.
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    if (!chosen || !dialog.hDC)
        return 0;

    HDC printer = dialog.hDC;
    SetMapMode(printer, MM_TEXT);
    const int32_t width = WholeInchesInTwips(printer, HORZRES, LOGPIXELSX);
    const int32_t height = WholeInchesInTwips(printer, VERTRES, LOGPIXELSY);
    FORMATRANGE range{};
    range.hdc = printer;
    range.hdcTarget = printer;
    range.rcPage = RECT{0, 0, width, height};
    range.rc = RECT{marginTwips, marginTwips, width - marginTwips, height - marginTwips};
    range.chrg = CHARRANGE{0, -1};

    DOCINFOA document{};
    document.cbSize = sizeof(document);
    document.lpszDocName = kDocumentName;
    document.lpszOutput = nullptr;
    const bool started = StartDocA(printer, &document) > 0;
    const int32_t result = started ? PrintPages(control, printer, range) : 0;
    // The control drops what it kept for laying out on the printer.
    SendToControl(control, EM_FORMATRANGE, 0, nullptr);
    if (started)
        EndDoc(printer);
    DeleteDC(printer);
    return result;
}

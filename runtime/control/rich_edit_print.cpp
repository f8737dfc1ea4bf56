#include "runtime/control/rich_edit_print.h"

#include <commdlg.h>
#include <richedit.h>

#include <algorithm>

#include "runtime/control/controls.h"
#include "runtime/core/float_control.h"
#include "runtime/core/strings.h"
#include "runtime/core/system_library.h"
#include "runtime/window/gdi_guards.h"

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

// The control's default font at the printer's resolution; the caller deletes
// it.
HFONT PrinterFont(HWND control, HDC printer) {
    CHARFORMATA format{};
    format.cbSize = sizeof(format);
    SendToControl(control, EM_GETCHARFORMAT, SCF_DEFAULT, &format);
    LOGFONTA font{};
    font.lfHeight = -MulDiv(format.yHeight, GetDeviceCaps(printer, LOGPIXELSY), kTwipsPerInch);
    font.lfWeight = (format.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (format.dwEffects & CFE_ITALIC) ? TRUE : FALSE;
    font.lfCharSet = format.bCharSet;
    font.lfPitchAndFamily = format.bPitchAndFamily;
    lstrcpynA(font.lfFaceName, format.szFaceName, LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

// The colour of the character at position, black where the control uses the
// automatic colour. The selection moves there.
COLORREF ColourAt(HWND control, int32_t position) {
    const CHARRANGE at{position, position + 1};
    SendToControl(control, EM_EXSETSEL, 0, &at);
    CHARFORMATA format{};
    format.cbSize = sizeof(format);
    SendToControl(control, EM_GETCHARFORMAT, SCF_SELECTION, &format);
    return (format.dwEffects & CFE_AUTOCOLOR) ? RGB(0, 0, 0) : format.crTextColor;
}

int32_t TwipsToPixels(int32_t twips, HDC printer, int pixelsPerInchIndex) {
    return MulDiv(twips, GetDeviceCaps(printer, pixelsPerInchIndex), kTwipsPerInch);
}

// Draws the text, whose first character is the control's position from, line
// by line in the DC's font and each line's colour, wrapped at a space where it
// is wider than the area. Starts on the page already started and ends every
// page. kPrintStopped when the area holds no line or the printer refused a
// page.
int32_t DrawTextPages(HWND control, HDC printer, const RECT& area, const char* text, int32_t from) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(printer, &metrics);
    const int32_t lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    if (area.right <= area.left || area.top + lineHeight > area.bottom) {
        EndPage(printer);
        return kPrintStopped;
    }
    SetBkMode(printer, TRANSPARENT);
    int32_t y = area.top;
    for (const char* line = text; *line; y += lineHeight) {
        if (y + lineHeight > area.bottom) {
            if (EndPage(printer) <= 0 || StartPage(printer) <= 0)
                return kPrintStopped;
            y = area.top;
        }
        int32_t count = 0;
        while (line[count] && line[count] != '\r' && line[count] != '\n')
            ++count;
        int fit = 0;
        SIZE size{};
        GetTextExtentExPointA(printer, line, count, area.right - area.left, &fit, nullptr, &size);
        int32_t drawn = count == 0 ? 0 : std::max(fit, 1);
        for (int32_t space = drawn; drawn < count && space > 0; --space)
            if (line[space] == ' ') {
                drawn = space;
                break;
            }
        if (drawn > 0) {
            SetTextColor(printer, ColourAt(control, from + static_cast<int32_t>(line - text)));
            ExtTextOutA(printer, area.left, y, ETO_CLIPPED, &area, line, static_cast<UINT>(drawn), nullptr);
        }
        line += drawn;
        if (drawn < count)
            line += *line == ' ' ? 1 : 0;
        else if (*line == '\r')
            line += line[1] == '\n' ? 2 : 1;
        else if (*line == '\n')
            ++line;
    }
    return EndPage(printer) > 0 ? 0 : kPrintStopped;
}

// Where the control lays out nothing on a printer: its text from cpMin on,
// drawn in its default font in the area of the range, from the page already
// started on. The control's selection and scroll position are put back.
int32_t PrintTextPages(HWND control, HDC printer, const FORMATRANGE& range, int32_t length) {
    const int32_t from = range.chrg.cpMin;
    char* text = AllocString(length - from);
    if (!text) {
        EndPage(printer);
        return kPrintStopped;
    }
    TEXTRANGEA wanted{CHARRANGE{from, length}, text};
    SendToControl(control, EM_GETTEXTRANGE, 0, &wanted);
    CHARRANGE selection{};
    POINT scroll{};
    SendToControl(control, EM_EXGETSEL, 0, &selection);
    SendToControl(control, EM_GETSCROLLPOS, 0, &scroll);
    const RECT area{TwipsToPixels(range.rc.left, printer, LOGPIXELSX), TwipsToPixels(range.rc.top, printer, LOGPIXELSY),
                    TwipsToPixels(range.rc.right, printer, LOGPIXELSX),
                    TwipsToPixels(range.rc.bottom, printer, LOGPIXELSY)};
    GdiObject<HFONT> font(PrinterFont(control, printer));
    int32_t result = 0;
    {
        Selected chosen(printer, font.get());
        result = DrawTextPages(control, printer, area, text, from);
    }
    SendToControl(control, EM_EXSETSEL, 0, &selection);
    SendToControl(control, EM_SETSCROLLPOS, 0, &scroll);
    FreeString(text);
    return result;
}

// One page per pass, at least one, until the whole text is laid out. A page
// that takes no text would come back the same forever: there the text is
// printed line by line instead.
int32_t PrintPages(HWND control, HDC printer, FORMATRANGE& range) {
    const int32_t length = SendToControl(control, WM_GETTEXTLENGTH, 0, nullptr);
    for (;;) {
        if (StartPage(printer) <= 0)
            return kPrintStopped;
        const int32_t next = SendToControl(control, EM_FORMATRANGE, 1, &range);
        if (next <= range.chrg.cpMin && next < length)
            return PrintTextPages(control, printer, range, length);
        if (EndPage(printer) <= 0)
            return kPrintStopped;
        if (next >= length)
            return 0;
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
    int32_t result = kPrintStopped;
    if (StartDocA(printer, &document) > 0) {
        result = PrintPages(control, printer, range);
        // The control drops what it kept for laying out on the printer.
        SendToControl(control, EM_FORMATRANGE, 0, nullptr);
        EndDoc(printer);
    }
    DeleteDC(printer);
    return result;
}

// Prints rich edit documents through the print command on a real Wine
// printer: a PostScript printer of Wine's own driver (wineps) whose port is a
// Unix file, installed here for the run and removed again. Each case answers
// the print dialog as a user would and records the FORMATRANGE the control
// receives, through a subclass that lays out pages and through the control as
// it is; every printed job is kept as <mode>-<case>.ps for PostScript readers
// outside Wine (rich_edit_print_check.sh), listed in printed.txt with the
// pages and ink (red, black, - unchecked) it must hold, its text in .txt.
//   rich_edit_print_writer.exe <folder, Windows path> <same folder, Unix path>
// Findings go to report.txt in the folder; exit code 0 when every case
// behaved, else 1.
#include <windows.h>
#include <richedit.h>
#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/control/control_commands.h"
#include "runtime/control/controls.h"
#include "runtime/control/rich_edit_print.h"
#include "runtime/core/strings.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"

namespace {

constexpr int32_t kRichId = 10;
constexpr char kPrinterName[] = "Reachlet Letter PS";
constexpr char kDriverName[] = "Reachlet Letter PostScript";
constexpr int kPrinterComboId = 0x473;   // the print dialog's printer list (cmb4)

// One paper, US Letter, printable to its edges: 8.5 by 11 inches at 300 dpi,
// so a page counts as 8 by 11 whole inches.
constexpr char kLetterPpd[] = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "LETTER.PPD"
*Manufacturer: "Reachlet"
*Product: "(Reachlet test printer)"
*ModelName: "Reachlet Letter PS"
*ShortNickName: "Reachlet Letter PS"
*NickName: "Reachlet Letter PS"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*TTRasterizer: Type42
*OpenUI *PageSize/Media Size: PickOne
*DefaultPageSize: Letter
*PageSize Letter/Letter: "<</PageSize[612 792]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*DefaultPageRegion: Letter
*PageRegion Letter/Letter: "<</PageSize[612 792]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: Letter
*ImageableArea Letter/Letter: "0 0 612 792"
*DefaultPaperDimension: Letter
*PaperDimension Letter/Letter: "612 792"
*OpenUI *Resolution/Resolution: PickOne
*DefaultResolution: 300dpi
*Resolution 300dpi/300 DPI: "<</HWResolution[300 300]>>setpagedevice"
*CloseUI: *Resolution
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
*Font Helvetica: Standard "(001.006S)" Standard ROM
*Font Times-Roman: Standard "(001.007S)" Standard ROM
)ppd";

// Whole-inch page of that paper, in twips.
constexpr RECT kLetterPage{0, 0, 8 * 1440, 11 * 1440};

FILE* report;
int failures;

void Note(const std::string& line) {
    std::fprintf(report, "%s\n", line.c_str());
    std::fflush(report);
}

void Check(bool ok, const std::string& what) {
    if (!ok) {
        ++failures;
        Note("FAIL: " + what);
    }
}

std::string RectText(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

// What the control received: every EM_FORMATRANGE, with its answer.
struct FormatCall {
    bool render = false;
    bool hasRange = false;
    FORMATRANGE range{};
    LRESULT next = 0;
};
std::vector<FormatCall> formatCalls;
WNDPROC controlProc;
bool laysOutPages;

// Each line of the cases' texts is as long as every other, "Line 0001 of the
// printed log" and its line break, so pages of characters are pages of lines.
constexpr int32_t kLineChars = 30;
constexpr int32_t kLaidOutLines = 40;

// A page holds kLaidOutLines lines where its area is a quarter inch high or
// more, and nothing where it is not.
LRESULT LayOutPage(HWND hwnd, const FORMATRANGE& range) {
    if (range.rc.bottom - range.rc.top < 360 || range.rc.right <= range.rc.left)
        return range.chrg.cpMin;
    return std::min<LRESULT>(range.chrg.cpMin + kLaidOutLines * kLineChars, GetWindowTextLengthA(hwnd));
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result =
        message == EM_FORMATRANGE && laysOutPages
            ? (wParam && lParam ? LayOutPage(hwnd, *reinterpret_cast<const FORMATRANGE*>(lParam)) : 0)
            : CallWindowProcA(controlProc, hwnd, message, wParam, lParam);
    if (message == EM_FORMATRANGE) {
        FormatCall call;
        call.render = wParam != 0;
        call.hasRange = lParam != 0;
        if (lParam)
            call.range = *reinterpret_cast<const FORMATRANGE*>(lParam);
        call.next = result;
        formatCalls.push_back(call);
    }
    return result;
}

// The print dialog, answered from a thread timer inside its own modal loop.
struct Answer {
    int button = IDOK;
    std::vector<std::string> dialogs;   // caption and chosen printer of each dialog seen
};
Answer* answer;

BOOL CALLBACK AnswerDialog(HWND hwnd, LPARAM) {
    char className[32] = {};
    GetClassNameA(hwnd, className, sizeof(className));
    if (std::string(className) != "#32770" || !IsWindowVisible(hwnd) || GetPropA(hwnd, "ANSWERED"))
        return TRUE;
    SetPropA(hwnd, "ANSWERED", reinterpret_cast<HANDLE>(1));
    char caption[128] = {};
    char printer[128] = {};
    GetWindowTextA(hwnd, caption, sizeof(caption));
    GetDlgItemTextA(hwnd, kPrinterComboId, printer, sizeof(printer));
    answer->dialogs.push_back(std::string(caption) + "|" + printer);
    // A click on the button, as the user gives it.
    PostMessageA(GetDlgItem(hwnd, answer->button), BM_CLICK, 0, 0);
    return TRUE;
}

void CALLBACK VisitDialogs(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), AnswerDialog, 0);
}

std::string Lines(int32_t count) {
    std::string text;
    char line[kLineChars + 1];
    for (int32_t i = 1; i <= count; ++i) {
        std::snprintf(line, sizeof(line), "%sLine %04d of the printed log", i > 1 ? "\r\n" : "", i);
        text += line;
    }
    return text;
}

// Lines the whole-inch Letter page takes at a margin of one inch, as the
// control lays them out for this printer: the cases' texts are measured in
// pages. Measured (wParam 0), then rendered onto the printer DC outside any
// document; 0 when neither lays out a line (Wine 8.0's rich edit answers 0 to
// both: "fixme:richedit:editor_handle_message EM_FORMATRANGE: stub").
int32_t LinesPerPage(HWND control) {
    HDC printer = CreateDCA("WINSPOOL", kPrinterName, nullptr, nullptr);
    if (!printer)
        return 0;
    SetWindowTextA(control, Lines(400).c_str());
    int32_t lines = 0;
    for (WPARAM render = 0; render <= 1 && lines <= 4; ++render) {
        FORMATRANGE range{};
        range.hdc = range.hdcTarget = printer;
        range.rcPage = kLetterPage;
        range.rc = RECT{1440, 1440, kLetterPage.right - 1440, kLetterPage.bottom - 1440};
        range.chrg = CHARRANGE{0, -1};
        const LRESULT next = SendMessageA(control, EM_FORMATRANGE, render, reinterpret_cast<LPARAM>(&range));
        SendMessageA(control, EM_FORMATRANGE, 0, 0);
        lines = static_cast<int32_t>(SendMessageA(control, EM_EXLINEFROMCHAR, 0, next));
        Note("measuring with wParam " + std::to_string(render) + ": next " + std::to_string(next) + " of " +
             std::to_string(GetWindowTextLengthA(control)) + ", line " + std::to_string(lines));
    }
    DeleteDC(printer);
    return lines;
}

// Where the control lays out nothing, the print command prints the text line
// by line in the control's default font at its size on the printer: the
// lines of that font the area, one inch in from every side, holds.
int32_t TextLinesPerPage(HWND control) {
    HDC printer = CreateDCA("WINSPOOL", kPrinterName, nullptr, nullptr);
    CHARFORMATA format{sizeof(CHARFORMATA), 0, 0, 0, 0, 0, 0, 0, {}};
    SendMessageA(control, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    const int dpi = GetDeviceCaps(printer, LOGPIXELSY);
    HGDIOBJ previous = SelectObject(printer, CreateFontA(-MulDiv(format.yHeight, dpi, 1440), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                                         format.bCharSet, 0, 0, 0, format.bPitchAndFamily, format.szFaceName));
    TEXTMETRICA metrics{};
    GetTextMetricsA(printer, &metrics);
    DeleteObject(SelectObject(printer, previous));
    DeleteDC(printer);
    return (kLetterPage.bottom - 2 * 1440) * dpi / 1440 / (metrics.tmHeight + metrics.tmExternalLeading);
}

// A file where the spooler keeps its jobs' folder: no job can be spooled, so
// no document starts. Undone by a second call.
void BlockSpoolFolder(bool block) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string folder = std::string(system) + "\\spool\\printers";
    if (block) {
        MoveFileA(folder.c_str(), (folder + ".away").c_str());
        CloseHandle(CreateFileA(folder.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    } else {
        DeleteFileA(folder.c_str());
        MoveFileA((folder + ".away").c_str(), folder.c_str());
    }
}

std::string SpoolLeftovers() {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    const std::string pattern = std::string(folder) + "\\spool\\printers\\*.SPL";
    std::string names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            names += std::string(found.cFileName) + " ";
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return names;
}

// Ports of the local port monitor are added and removed through its
// transceive channel, with the port's name in UTF-16.
bool LocalPortCommand(const wchar_t* command, const std::string& port) {
    PRINTER_DEFAULTSA access{nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
    HANDLE monitor = nullptr;
    if (!OpenPrinterA(const_cast<char*>(",XcvMonitor Local Port"), &monitor, &access))
        return false;
    std::wstring name(port.begin(), port.end());
    DWORD needed = 0;
    DWORD status = ERROR_INVALID_FUNCTION;
    const BOOL sent = XcvDataW(monitor, command, reinterpret_cast<BYTE*>(name.data()),
                               static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)), nullptr, 0, &needed, &status);
    ClosePrinter(monitor);
    return sent && (status == ERROR_SUCCESS || status == ERROR_ALREADY_EXISTS);
}

// The print processor and data type a job of this driver needs. Since
// Wine 9 the PostScript driver renders from EMF spool files through a print
// processor of its own, "wineps": a printer on "WinPrint" with "RAW" never
// starts a document (seen under Wine 10: StartDocA fails). Wine 8 has that
// processor too, but its driver writes RAW PostScript, and an EMF printer
// there gets empty jobs (seen under Wine 8.0).
struct PrintProcessor {
    const char* name;
    const char* dataType;
};

PrintProcessor ProcessorForDriver() {
    using VersionRoutine = const char*(CDECL*)();
    const auto version = reinterpret_cast<VersionRoutine>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
    if (version && std::atoi(version()) >= 9)
        return {"wineps", "NT EMF 1.003"};
    return {"WinPrint", "RAW"};
}

bool InstallPrinter(const std::string& folder, const std::string& port) {
    const std::string ppd = folder + "\\letter.ppd";
    FILE* file = std::fopen(ppd.c_str(), "wb");
    if (!file)
        return false;
    std::fputs(kLetterPpd, file);
    std::fclose(file);

    const PrintProcessor processor = ProcessorForDriver();
    Note(std::string("print processor: ") + processor.name);
    // Wine's driver for every PostScript printer, wineps.drv, with this PPD
    // as its data file; copied into the driver folder as Wine's own printer
    // set-up does it.
    DRIVER_INFO_3A driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>(kDriverName);
    driver.pDriverPath = const_cast<char*>("wineps.drv");
    driver.pDataFile = const_cast<char*>(ppd.c_str());
    driver.pConfigFile = const_cast<char*>("wineps.drv");
    driver.pDefaultDataType = const_cast<char*>(processor.dataType);
    if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver),
                             APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY)) {
        Note("AddPrinterDriverExA failed: " + std::to_string(GetLastError()));
        return false;
    }
    if (!LocalPortCommand(L"AddPort", port)) {
        Note("the local port " + port + " could not be added: " + std::to_string(GetLastError()));
        return false;
    }
    PRINTER_INFO_2A info{};
    info.pPrinterName = const_cast<char*>(kPrinterName);
    info.pPortName = const_cast<char*>(port.c_str());
    info.pDriverName = const_cast<char*>(kDriverName);
    info.pPrintProcessor = const_cast<char*>(processor.name);
    info.pDatatype = const_cast<char*>(processor.dataType);
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer) {
        Note("AddPrinterA failed: " + std::to_string(GetLastError()));
        return false;
    }
    ClosePrinter(printer);
    if (!SetDefaultPrinterA(kPrinterName)) {
        Note("SetDefaultPrinterA failed: " + std::to_string(GetLastError()));
        return false;
    }
    return true;
}

void RemovePrinter(const std::string& port) {
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (OpenPrinterA(const_cast<char*>(kPrinterName), &printer, &access)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
    DeletePrinterDriverA(nullptr, nullptr, const_cast<char*>(kDriverName));
    LocalPortCommand(L"DeletePort", port);
}

constexpr int32_t kDefault = -2;   // no margin given to the command

struct PrintCase {
    const char* name;
    int32_t pagesOfText;   // in quarter pages of lines; 0 = the text below
    const char* text;
    int32_t margin;
    int button;
    int32_t result;
    int32_t pages;   // 0: nothing printed, no job file
    bool red;
    bool spoolBlocked;
};
constexpr PrintCase kCases[] = {
    {"empty", 0, "", 1440, IDOK, 0, 1, false, false},
    {"default-margin", 0,
     "One line under the default margin, in red, and longer than the page is wide: it goes on to the next line "
     "at a space, and every word of it reaches the paper in its order, from the first to the last, which is "
     "this one, the word after the comma: farewell",
     kDefault, IDOK, 0, 1, true, false},
    {"two-and-a-half-pages", 10, nullptr, 1440, IDOK, 0, 3, false, false},
    {"two-full-pages", 8, nullptr, 1440, IDOK, 0, 2, false, false},
    {"no-room", 0, "Margins leave no room for this", 7900, IDOK, kPrintStopped, 1, false, false},
    {"cancelled", 0, "Never printed", 1440, IDCANCEL, 0, 0, false, false},
    {"document-refused", 0, "Never started", 1440, IDOK, kPrintStopped, 0, false, true},
};

// byLines: the control lays out no text on a printer (Wine 8.0's rich edit
// answers 0 to every EM_FORMATRANGE, "EM_FORMATRANGE: stub"), so the print
// command renders one page through it and prints the rest line by line.
void RunCase(WindowRecord& window, HWND control, const PrintCase& c, const std::string& mode, int32_t linesPerPage,
             bool byLines, const std::string& folder, const std::string& port, FILE* printed) {
    const std::string name = mode + "-" + c.name;
    const std::string text = c.text ? std::string(c.text) : Lines(linesPerPage * c.pagesOfText / 4);
    SetWindowTextA(control, text.c_str());
    CHARFORMATA colour{sizeof(CHARFORMATA), CFM_COLOR, c.red ? 0u : CFE_AUTOCOLOR, 0, 0, RGB(255, 0, 0), 0, 0, {}};
    SendMessageA(control, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&colour));
    CHARRANGE before{2, 5};
    SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&before));
    SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&before));
    DeleteFileA(port.c_str());
    formatCalls.clear();

    Answer answered;
    answered.button = c.button;
    answer = &answered;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, VisitDialogs);
    if (c.spoolBlocked)
        BlockSpoolFolder(true);
    const int32_t result = c.margin == kDefault
                               ? SendControlCommand(&window, kRichId, CC_ED_PRINT)
                               : SendControlCommand(&window, kRichId, CC_ED_PRINT, IntArg(c.margin));
    if (c.spoolBlocked)
        BlockSpoolFolder(false);
    KillTimer(nullptr, timer);
    answer = nullptr;
    CHARRANGE after{};
    SendMessageA(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&after));
    Check(after.cpMin == before.cpMin && after.cpMax == before.cpMax, name + ": the selection put back");

    std::string seen;
    for (const std::string& dialog : answered.dialogs)
        seen += "[" + dialog + "]";
    Note(name + ": result " + std::to_string(result) + ", dialogs " + seen + ", EM_FORMATRANGE calls " +
         std::to_string(formatCalls.size()));
    Check(answered.dialogs.size() == 1 && answered.dialogs[0] == std::string("Print|") + kPrinterName,
          name + ": one print dialog, on the test printer");
    Check(result == c.result, name + ": result " + std::to_string(result) + ", wanted " + std::to_string(c.result));

    // Pages rendered, then the one call that lets the control drop its
    // printer layout.
    std::vector<FormatCall> renders;
    for (const FormatCall& call : formatCalls) {
        if (call.render)
            renders.push_back(call);
        Note(name + ":   EM_FORMATRANGE(" + std::to_string(call.render) + ") cpMin " +
             std::to_string(call.hasRange ? call.range.chrg.cpMin : -99) + " -> " + std::to_string(call.next));
    }
    const int32_t wantedRenders = byLines ? std::min(c.pages, 1) : c.pages;
    Check(static_cast<int32_t>(renders.size()) == wantedRenders,
          name + ": " + std::to_string(renders.size()) + " pages rendered, wanted " + std::to_string(wantedRenders));
    const size_t releases = formatCalls.size() - renders.size();
    Check(releases == (c.pages ? 1u : 0u) && (!c.pages || !formatCalls.back().hasRange),
          name + ": the printer layout released once, last");
    const int32_t margin = c.margin == kDefault ? kDefaultPrintMargin : c.margin;
    const RECT area{margin, margin, kLetterPage.right - margin, kLetterPage.bottom - margin};
    LONG from = 0;
    for (const FormatCall& page : renders) {
        Check(SameRect(page.range.rcPage, kLetterPage) && SameRect(page.range.rc, area),
              name + ": page " + RectText(page.range.rcPage) + " area " + RectText(page.range.rc) + ", wanted " +
                  RectText(kLetterPage) + " " + RectText(area));
        Check(page.range.hdc && page.range.hdc == page.range.hdcTarget, name + ": one printer DC as hdc and target");
        Check(page.range.chrg.cpMin == from && page.range.chrg.cpMax == -1,
              name + ": page starts at " + std::to_string(page.range.chrg.cpMin) + ", wanted " + std::to_string(from));
        from = static_cast<LONG>(page.next);
    }

    // The job went through the spooler to the port before the command
    // returned: the file is complete now, and no spool file is left behind.
    const bool written = GetFileAttributesA(port.c_str()) != INVALID_FILE_ATTRIBUTES;
    Check(written == (c.pages > 0), name + (written ? ": a job was written" : ": no job was written"));
    const std::string leftovers = SpoolLeftovers();
    Check(leftovers.empty(), name + ": spool files left: " + leftovers);
    if (written) {
        const std::string kept = folder + "\\" + name + ".ps";
        DeleteFileA(kept.c_str());
        Check(MoveFileA(port.c_str(), kept.c_str()) != FALSE, name + ": job file kept");
        const bool inked = !laysOutPages && c.result == 0;
        std::fprintf(printed, "%s.ps %d %s\n", name.c_str(), c.pages, !inked || text.empty() ? "-" : c.red ? "red" : "black");
        FILE* expected = inked ? std::fopen((folder + "\\" + name + ".txt").c_str(), "wb") : nullptr;
        if (expected) {
            std::fputs(text.c_str(), expected);
            std::fclose(expected);
        }
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3 || CreateStringHeap() != 1)
        return 1;
    const std::string folder = __argv[1];
    const std::string port = std::string(__argv[2]) + "/port.ps";   // a Unix path: Wine writes the job there
    const std::string portWindows = folder + "\\port.ps";
    report = std::fopen((folder + "\\report.txt").c_str(), "w");
    FILE* printed = std::fopen((folder + "\\printed.txt").c_str(), "w");
    if (!report || !printed)
        return 1;

    WindowRecord window{};
    if (OpenWindow(&window, 0, 0, 500, 300, RF_HIDDEN, nullptr, "print", nullptr) != 1)
        return 1;
    CreateControl(&window, CT_RICHEDIT, "", 0, 0, 480, 280, ES_MULTILINE, kRichId);
    HWND control = GetDlgItem(window.hwnd, kRichId);
    if (!control)
        return 1;

    RemovePrinter(port);   // what an interrupted run left
    if (InstallPrinter(folder, port)) {
        const int32_t laidOutLines = LinesPerPage(control);
        const bool byLines = laidOutLines <= 4;
        const int32_t linesPerPage = byLines ? TextLinesPerPage(control) : laidOutLines;
        Note("lines per page: " + std::to_string(linesPerPage));
        if (byLines)
            Note("NOTE: this rich edit lays out no text on a printer; the print command prints its lines itself");
        controlProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
        for (const bool laysOut : {true, false}) {
            laysOutPages = laysOut;
            for (const PrintCase& c : kCases)
                RunCase(window, control, c, laysOut ? "laid-out" : "control", laysOut ? kLaidOutLines : linesPerPage,
                        byLines && !laysOut, folder, portWindows, printed);
        }
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc));
    } else {
        Check(false, "the test printer could not be installed");
    }
    RemovePrinter(port);
    CloseWindow(&window);
    std::fclose(printed);
    Note(failures ? "FAILURES: " + std::to_string(failures) : "all cases behaved");
    std::fclose(report);
    return failures ? 1 : 0;
}

#include "runtime/window/window_proc.h"

#include <commctrl.h>

#include "runtime/window/accelerators.h"
#include "runtime/window/handler_tables.h"
#include "runtime/window/mdi_refit.h"
#include "runtime/window/open_window.h"
#include "runtime/window/paint_window.h"

MessageRecord messageRecord;

namespace {

// A menu command concerns the active MDI child (or the window's top child)
// when that child is a runtime window; a control's window long 0 is its own
// data, not a record, so only runtime windows are taken.
WindowRecord* MenuTarget(WindowRecord* record) {
    HWND child = nullptr;
    if (!GetTopWindow(record->hwnd))
        return record;
    if (record->mdiClient)
        child = GetTopWindow(record->mdiClient);
    if (!child)
        child = GetTopWindow(record->hwnd);
    WindowRecord* target = RecordOfWindow(child);
    return target ? target : record;
}

void RunMdiCommand(WindowRecord* record, int32_t command) {
    if (!record->mdiClient)
        return;
    switch (command) {
    case ID_WINDOW_TILE:
        SendMessageA(record->mdiClient, WM_MDITILE, MDITILE_HORIZONTAL, 0);
        break;
    case ID_WINDOW_CASCADE:
        SendMessageA(record->mdiClient, WM_MDICASCADE, 0, 0);
        break;
    case ID_WINDOW_ARRANGE:
        SendMessageA(record->mdiClient, WM_MDIICONARRANGE, 0, 0);
        break;
    default:
        break;
    }
}

// Sets the event code and the fields the message's translation names.
int32_t TranslateEvent(WindowRecord* record, uint32_t message, uint32_t wParam, int32_t lParam) {
    MessageRecord& m = messageRecord;
    switch (message) {
    case WM_CLOSE:
        return EV_CLOSE_WINDOW;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        m.lParam = static_cast<int32_t>(wParam);
        m.mouseX = LOWORD(lParam);
        m.mouseY = HIWORD(lParam);
        return static_cast<int32_t>(message);
    case WM_HSCROLL:
    case WM_VSCROLL:
        m.controlId = lParam ? GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) : 0;
        m.wParam = LOWORD(wParam);
        m.lParam = HIWORD(wParam);
        return static_cast<int32_t>(message);
    case WM_COMMAND:
    case static_cast<uint32_t>(EV_CONTROL):
        if (lParam) {
            m.controlId = LOWORD(wParam);
            m.notifyCode = HIWORD(wParam);
            return EV_CONTROL;
        }
        m.menuId = LOWORD(wParam);
        m.window = MenuTarget(record);
        RunMdiCommand(record, m.menuId);
        return EV_MENU;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header) {
            m.notifyCode = static_cast<int32_t>(header->code);
            m.controlId = static_cast<int32_t>(header->idFrom);
        }
        return EV_CONTROL;
    }
    case static_cast<uint32_t>(EV_SIZE):
        m.lParam = static_cast<int32_t>(reinterpret_cast<uintptr_t>(record->hwnd));
        return EV_SIZE;
    default:
        return static_cast<int32_t>(message);
    }
}

// The record this thread routed to last, its low bit set for a frame.
// Asking the window manager for a window's class and record took three
// calls, a third of routing one event; the record names its window, so a
// hit is checked without any. A thread's windows run their procedure on
// that thread, and the window's last message drops it, so the record
// cannot be freed while it is kept here.
DWORD lastRoutedSlot = TLS_OUT_OF_INDEXES;
constexpr uintptr_t kFrameBit = 1;
static_assert(alignof(WindowRecord) > kFrameBit);

struct RoutedWindow {
    WindowRecord* record;
    bool frame;
};

RoutedWindow LookUpWindow(HWND hwnd) {
    const auto last = reinterpret_cast<uintptr_t>(
        lastRoutedSlot == TLS_OUT_OF_INDEXES ? nullptr : TlsGetValue(lastRoutedSlot));
    auto* kept = reinterpret_cast<WindowRecord*>(last & ~kFrameBit);
    if (kept && kept->hwnd == hwnd)
        return {kept, (last & kFrameBit) != 0};
    const ATOM atom = static_cast<ATOM>(GetClassWord(hwnd, GCW_ATOM));
    const bool frame = atom == frameClassAtom;
    WindowRecord* record = nullptr;
    if (frame || atom == windowClassAtom)
        record = reinterpret_cast<WindowRecord*>(static_cast<uintptr_t>(GetWindowLongA(hwnd, 0)));
    // The creation messages come before the record is set, and are not kept.
    if (record && lastRoutedSlot != TLS_OUT_OF_INDEXES) {
        const uintptr_t tagged = reinterpret_cast<uintptr_t>(record) | (frame ? kFrameBit : 0);
        TlsSetValue(lastRoutedSlot, reinterpret_cast<void*>(tagged));
    }
    return {record, frame};
}

void ForgetRoutedWindow(HWND hwnd) {
    if (lastRoutedSlot == TLS_OUT_OF_INDEXES)
        return;
    const auto last = reinterpret_cast<uintptr_t>(TlsGetValue(lastRoutedSlot));
    auto* kept = reinterpret_cast<WindowRecord*>(last & ~kFrameBit);
    if (kept && kept->hwnd == hwnd)
        TlsSetValue(lastRoutedSlot, nullptr);
}

LRESULT DefaultProcedure(HWND hwnd, WindowRecord* record, bool frame, UINT message, WPARAM wParam,
                         LPARAM lParam) {
    if (frame && record) {
        if (message == WM_SIZE && wParam != SIZE_MINIMIZED && RefitMdiClient(hwnd, record->mdiClient))
            return 0;
        return DefFrameProcA(hwnd, record->mdiClient, message, wParam, lParam);
    }
    if (IsMdiChild(hwnd))
        return DefMDIChildProcA(hwnd, message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

void PrepareRouting() {
    if (lastRoutedSlot == TLS_OUT_OF_INDEXES)
        lastRoutedSlot = TlsAlloc();
}

bool IsControlColorMessage(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    default:
        return false;
    }
}

int32_t RouteEvent(WindowRecord* record, uint32_t message, uint32_t wParam, int32_t lParam) {
    MessageRecord& m = messageRecord;
    const MessageRecord saved = m;

    // Read before the handler runs: a handler may close its own window and
    // release the record, so nothing after it may touch the record.
    HandlerProc handler = record->handler;
    HWND hwnd = record->hwnd;
    m.wParam = wParam;
    m.lParam = lParam;
    m.window = record;
    const int32_t code = TranslateEvent(record, message, wParam, lParam);
    m.eventCode = code;

    int32_t result = handler ? handler() : 0;
    result |= DispatchHandlerTables(hwnd, code);

    const int32_t menuId = m.menuId;   // the last menu command outlives the event
    m = saved;
    m.menuId = menuId;
    return result;
}

LRESULT EraseBackground(HWND hwnd, HDC dc, LPARAM lParam) {
    if (!hwnd)
        return 1;
    WindowRecord* record = RecordOfWindow(hwnd);
    if (record && (record->altSurfaceMode || record->contentHost))
        return 1;
    const COLORREF color = record ? record->fillColor : GetSysColor(COLOR_WINDOW);

    HBRUSH brush = CreateSolidBrush(color);
    HGDIOBJ previous = SelectObject(dc, brush);
    RECT clip{};
    GetClipBox(dc, &clip);
    PatBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, PATCOPY);
    SelectObject(dc, previous);
    DeleteObject(brush);

    if (record) {
        SaveDC(dc);
        record->paintDC = dc;
        RouteEvent(record, EV_ERASE_BACKGROUND, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(dc)),
                   static_cast<int32_t>(lParam));
        record->paintDC = nullptr;
        RestoreDC(dc, -1);
    }
    return 1;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const RoutedWindow routed = hwnd ? LookUpWindow(hwnd) : RoutedWindow{};
    WindowRecord* record = routed.record;
    LRESULT result = 0;

    switch (message) {
    case WM_PAINT:
        result = PaintWindow(hwnd, wParam, lParam);
        break;
    case WM_ERASEBKGND:
        result = EraseBackground(hwnd, reinterpret_cast<HDC>(wParam), lParam);
        break;
    case WM_DRAWITEM:
        if (wParam)
            return SendMessageA(GetDlgItem(hwnd, static_cast<int>(wParam)), WM_DRAWITEM, wParam, lParam);
        break;
    default:
        if (IsControlColorMessage(message)) {
            if (lParam)
                return SendMessageA(reinterpret_cast<HWND>(lParam), kReflectedColorMessage, wParam, lParam);
            break;
        }
        if (!record) {
            if (WindowUnderCreation) {
                WindowUnderCreation->hwnd = hwnd;
                result = RouteEvent(WindowUnderCreation, message, static_cast<uint32_t>(wParam),
                                    static_cast<int32_t>(lParam));
            }
            break;
        }
        switch (message) {
        case WM_SIZE:
            if (record->surfaceMode & SURFACE_CLIENT_SIZED)
                InvalidateRect(hwnd, nullptr, FALSE);
            RouteEvent(record, EV_SIZE, static_cast<uint32_t>(wParam), static_cast<int32_t>(lParam));
            break;
        case WM_SIZING:
            RouteEvent(record, EV_SIZE, static_cast<uint32_t>(wParam), static_cast<int32_t>(lParam));
            break;
        case WM_CLOSE:
            // No default procedure acts on EV_CLOSE_WINDOW, so a runtime window
            // closes only when the program calls CloseWindow.
            message = EV_CLOSE_WINDOW;
            break;
        case WM_LBUTTONDOWN:
            SetFocus(hwnd);
            SetActiveWindow(hwnd);
            break;
        default:
            break;
        }
        result = RouteEvent(record, message, static_cast<uint32_t>(wParam), static_cast<int32_t>(lParam));
        break;
    }
    // A window destroyed with its parent, or by anyone but CloseWindow,
    // takes its tables with it; the WM_DESTROY routines have run.
    if (message == WM_DESTROY) {
        FreeWindowHandlerTables(hwnd);
        ReleaseWindowAccelerators(hwnd);
    }
    if (message == WM_NCDESTROY)
        ForgetRoutedWindow(hwnd);

    if (result)
        return result;
    result = DefaultProcedure(hwnd, record, routed.frame, message, wParam, lParam);

    if (message == WM_SETCURSOR && result == 0 && record && LOWORD(lParam) == HTCLIENT &&
        reinterpret_cast<HWND>(wParam) == record->hwnd)
        SetCursor(record->cursor);
    if (message == WM_SIZE && record && record->contentHost) {
        auto* host = static_cast<ContentHost*>(record->contentHost);
        if (host->resize)
            host->resize(hwnd, LOWORD(lParam), HIWORD(lParam));
    }
    return result;
}

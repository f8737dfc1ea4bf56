#include "runtime/window/open_window.h"

#include "runtime/window/surface.h"
#include "runtime/window/window_proc.h"

ATOM windowClassAtom;
ATOM frameClassAtom;
ATOM dialogClassAtom;
ATOM MdiClientAtom;
WindowRecord* WindowUnderCreation;

namespace {

constexpr ATOM kNoClassAtom = 0xFFFF;
constexpr int32_t kClassIconResource = 101;
constexpr uint32_t kRuntimeFlagBits = 0x7F0;   // RF_NO_SURFACE to RF_TOPMOST

ATOM RegisterRuntimeClass(const char* name, UINT style, HBRUSH background) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = WindowProc;
    wc.cbWndExtra = 4;   // the WindowRecord pointer
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kClassIconResource));
    if (!wc.hIcon)
        wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassExA(&wc);
}

void BuildFrameFurniture(WindowRecord* record, HINSTANCE instance) {
    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, ID_WINDOW_CASCADE, "&Cascade");
    AppendMenuA(popup, MF_STRING, ID_WINDOW_TILE, "&Tile");
    AppendMenuA(popup, MF_STRING, ID_WINDOW_ARRANGE, "&Arrange Icons");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Window");
    SetMenu(record->hwnd, bar);

    RECT client{};
    GetClientRect(record->hwnd, &client);
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = popup;
    ccs.idFirstChild = MDI_FIRST_CHILD_ID;
    record->mdiClient = CreateWindowExA(
        0, "MDICLIENT", "", WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0,
        client.right - client.left, client.bottom - client.top, record->hwnd,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(MDI_CLIENT_ID)), instance, &ccs);
    if (!record->mdiClient) {
        MdiClientAtom = 0;
        return;
    }
    MdiClientAtom = static_cast<ATOM>(GetClassWord(record->mdiClient, GCW_ATOM));
    ShowWindow(record->mdiClient, SW_SHOW);
}

// Copies the drawing state of a fresh memory DC into the record.
void ReadDrawingState(WindowRecord* record, HDC memory) {
    POINT position{};
    GetCurrentPositionEx(memory, &position);
    record->penX = position.x;
    record->penY = position.y;
    if (HGDIOBJ current = GetCurrentObject(memory, OBJ_PEN)) {
        LOGPEN lp{};
        GetObjectA(current, sizeof(lp), &lp);
        record->pen = CreatePenIndirect(&lp);
    }
    if (HGDIOBJ current = GetCurrentObject(memory, OBJ_FONT)) {
        LOGFONTA lf{};
        GetObjectA(current, sizeof(lf), &lf);
        record->font = CreateFontIndirectA(&lf);
    }
    record->bkMode = GetBkMode(memory);
    record->bkColor = GetBkColor(memory);
    record->rop2 = GetROP2(memory);
}

void PrepareDrawingState(WindowRecord* record, uint32_t flags, int32_t width, int32_t height,
                         HandlerProc handler) {
    const int32_t screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int32_t screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HDC windowDC = GetDC(record->hwnd);
    if (!windowDC)
        return;
    HDC memory = CreateCompatibleDC(windowDC);
    record->fillColor = GetSysColor(COLOR_WINDOW);

    HBITMAP surface = nullptr;
    int32_t fillWidth = width;
    int32_t fillHeight = height;
    if (record->surfaceMode == 0) {
        FillSolid(windowDC, 0, 0, width, height, record->fillColor);
    } else if (flags & RF_SURFACE_CLIENT) {
        RECT client{};
        GetClientRect(record->hwnd, &client);
        fillWidth = client.right - client.left;
        fillHeight = client.bottom - client.top;
        surface = CreateCompatibleBitmap(windowDC, fillWidth, fillHeight);
    } else if (flags & RF_SURFACE_WINDOW) {
        surface = CreateCompatibleBitmap(windowDC, width + 1, height + 1);
    } else {
        fillWidth = screenWidth;
        fillHeight = screenHeight;
        surface = CreateCompatibleBitmap(windowDC, screenWidth, screenHeight);
    }

    HGDIOBJ previous = nullptr;
    if (surface) {
        previous = SelectObject(memory, surface);
        FillSolid(memory, 0, 0, fillWidth, fillHeight, record->fillColor);
        record->surfaceBitmap = surface;
    }
    ReadDrawingState(record, memory);
    record->cursor = LoadCursorA(nullptr, IDC_ARROW);
    record->drawWordB = 1;
    record->drawWordA = 0;
    record->dialogKeys = 0;
    record->handler = handler;

    if (surface)
        SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(record->hwnd, windowDC);
}

}  // namespace

int32_t RegisterWindowClasses() {
    PrepareRouting();
    if (!windowClassAtom)
        windowClassAtom = RegisterRuntimeClass(kWindowClassName, CS_DBLCLKS | CS_BYTEALIGNCLIENT,
                                               static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (!frameClassAtom)
        frameClassAtom = RegisterRuntimeClass(kFrameClassName, CS_DBLCLKS | CS_BYTEALIGNWINDOW,
                                              reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
    return 0;
}

int32_t OpenWindow(WindowRecord* record, int32_t left, int32_t top, int32_t width, int32_t height,
                   uint32_t flags, WindowRecord* parent, const char* caption, HandlerProc handler) {
    if (!record)
        return 0;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterWindowClasses();

    HWND parentHandle = parent ? parent->hwnd : nullptr;
    const bool frame = (flags & RF_FRAME) != 0;
    record->surfaceMode = (flags & RF_NO_SURFACE) ? 0 : 1;
    if (flags & RF_SURFACE_CLIENT)
        record->surfaceMode |= SURFACE_CLIENT_SIZED;

    uint32_t style = flags & ~kRuntimeFlagBits;
    if (!(flags & RF_HIDDEN))
        style |= WS_VISIBLE;
    style &= ~RF_HIDDEN;

    uint32_t exStyle = 0;
    if (parentHandle) {
        if (parent->mdiClient) {
            exStyle |= WS_EX_MDICHILD;
            parentHandle = parent->mdiClient;
        }
        style |= WS_CHILD | WS_CLIPSIBLINGS;
    } else {
        style |= WS_POPUP | WS_CLIPCHILDREN;
    }
    if (!(flags & RF_NO_CAPTION))
        style |= WS_CAPTION | WS_SYSMENU;
    if (flags & RF_TOOLWINDOW)
        exStyle |= WS_EX_TOOLWINDOW;
    if (flags & RF_TOPMOST)
        exStyle |= WS_EX_TOPMOST;

    record->handler = handler;
    record->paintDC = nullptr;
    record->drawDC = nullptr;
    record->drawDCDepth = 0;
    record->templateMode = 0;
    record->mdiClient = nullptr;
    record->targetDC = nullptr;
    record->altSurface = nullptr;
    record->altSurfaceMode = 0;
    record->contentHost = nullptr;
    // CloseWindow deleted these; a reopened record must not hand them to
    // DeleteObject a second time.
    record->surfaceBitmap = nullptr;
    record->pen = nullptr;
    record->font = nullptr;

    WindowUnderCreation = record;
    record->hwnd = CreateWindowExA(exStyle, frame ? kFrameClassName : kWindowClassName, caption,
                                   style, left, top, width, height, parentHandle, nullptr, instance,
                                   nullptr);
    WindowUnderCreation = nullptr;
    record->handler = nullptr;
    if (!record->hwnd)
        return 0;

    if (style & WS_MAXIMIZE)
        ShowWindow(record->hwnd, SW_SHOWMAXIMIZED);
    else if (style & WS_MINIMIZE)
        ShowWindow(record->hwnd, SW_MINIMIZE);

    if (frame)
        BuildFrameFurniture(record, instance);
    else if (MdiClientAtom == 0)
        MdiClientAtom = kNoClassAtom;

    PrepareDrawingState(record, flags, width, height, handler);
    // Without a window DC the drawing state stays unset, but the window still
    // delivers its events.
    record->handler = handler;
    SetWindowLongA(record->hwnd, 0, static_cast<LONG>(reinterpret_cast<uintptr_t>(record)));
    return 1;
}

int32_t SetDialogKeys(WindowRecord* record, int32_t flag) {
    if (record && record->hwnd)
        record->dialogKeys = flag ? 1 : 0;
    return 0;
}

bool IsRuntimeClassAtom(ATOM atom) {
    return atom != 0 && (atom == windowClassAtom || atom == frameClassAtom || atom == dialogClassAtom);
}

WindowRecord* RecordOfWindow(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    const ATOM atom = static_cast<ATOM>(GetClassWord(hwnd, GCW_ATOM));
    if (atom == 0 || (atom != windowClassAtom && atom != frameClassAtom))
        return nullptr;
    return reinterpret_cast<WindowRecord*>(static_cast<uintptr_t>(GetWindowLongA(hwnd, 0)));
}

bool IsMdiChild(HWND hwnd) {
    HWND parent = GetParent(hwnd);
    return parent && MdiClientAtom != 0 && GetClassWord(parent, GCW_ATOM) == MdiClientAtom;
}

#pragma once
// The window record a program keeps for each runtime window, and the
// process-wide record of the event being delivered.

#include <windows.h>

#include <cstddef>
#include <cstdint>

// A routine without arguments that reads MessageRecord; non-zero = handled.
using HandlerProc = int32_t (*)();

// 26 consecutive 32-bit words; the program owns the storage.
struct WindowRecord {
    HWND hwnd;               // 0 while no window exists
    HBITMAP surfaceBitmap;   // persistent drawing surface, 0 when none
    HFONT font;              // owned; deleted by CloseWindow
    HPEN pen;                // owned; deleted by CloseWindow
    HWND mdiClient;          // MDI client of a frame window, else 0
    int32_t penX;
    int32_t penY;
    int32_t bkMode;
    int32_t rop2;
    int32_t drawWordA;       // no reader; 0
    int32_t drawWordB;       // no reader; 1
    COLORREF bkColor;
    COLORREF fillColor;
    uint32_t surfaceMode;    // 0 none, else surface; bit 0x10 client-sized
    int32_t dialogKeys;      // non-zero: messages go through IsDialogMessageA
    HCURSOR cursor;
    HDC paintDC;             // DC of a paint or erase event in progress
    HDC drawDC;              // DC acquired for drawing outside paint events
    int32_t drawDCDepth;
    int32_t templateMode;    // record describes an in-memory dialog template
    void* dialogTemplate;
    int32_t altSurfaceMode;
    void* altSurface;
    HandlerProc handler;
    void* contentHost;       // ContentHost block, or 0
    HDC targetDC;            // when set, receives all drawing
};

static_assert(sizeof(void*) == 4, "the runtime's records are 32-bit layouts");
static_assert(sizeof(WindowRecord) == 26 * 4);
static_assert(offsetof(WindowRecord, hwnd) == 0 * 4);
static_assert(offsetof(WindowRecord, surfaceBitmap) == 1 * 4);
static_assert(offsetof(WindowRecord, font) == 2 * 4);
static_assert(offsetof(WindowRecord, pen) == 3 * 4);
static_assert(offsetof(WindowRecord, mdiClient) == 4 * 4);
static_assert(offsetof(WindowRecord, penX) == 5 * 4);
static_assert(offsetof(WindowRecord, penY) == 6 * 4);
static_assert(offsetof(WindowRecord, bkMode) == 7 * 4);
static_assert(offsetof(WindowRecord, rop2) == 8 * 4);
static_assert(offsetof(WindowRecord, drawWordA) == 9 * 4);
static_assert(offsetof(WindowRecord, drawWordB) == 10 * 4);
static_assert(offsetof(WindowRecord, bkColor) == 11 * 4);
static_assert(offsetof(WindowRecord, fillColor) == 12 * 4);
static_assert(offsetof(WindowRecord, surfaceMode) == 13 * 4);
static_assert(offsetof(WindowRecord, dialogKeys) == 14 * 4);
static_assert(offsetof(WindowRecord, cursor) == 15 * 4);
static_assert(offsetof(WindowRecord, paintDC) == 16 * 4);
static_assert(offsetof(WindowRecord, drawDC) == 17 * 4);
static_assert(offsetof(WindowRecord, drawDCDepth) == 18 * 4);
static_assert(offsetof(WindowRecord, templateMode) == 19 * 4);
static_assert(offsetof(WindowRecord, dialogTemplate) == 20 * 4);
static_assert(offsetof(WindowRecord, altSurfaceMode) == 21 * 4);
static_assert(offsetof(WindowRecord, altSurface) == 22 * 4);
static_assert(offsetof(WindowRecord, handler) == 23 * 4);
static_assert(offsetof(WindowRecord, contentHost) == 24 * 4);
static_assert(offsetof(WindowRecord, targetDC) == 25 * 4);

// Routines of an object hosted in a window. The runtime uses words 1, 2, 3,
// 6 and 7; the others are the host's own.
struct ContentHost {
    void (*teardown)(HWND);
    int32_t (*pretranslate)(HWND, MSG*);
    void (*resize)(HWND, int32_t width, int32_t height);
    uint32_t reserved4;
    uint32_t reserved5;
    void* hostData;
    void (*detach)(HWND, void* hostData);
};
static_assert(sizeof(ContentHost) == 7 * 4);
static_assert(offsetof(ContentHost, pretranslate) == 1 * 4);
static_assert(offsetof(ContentHost, resize) == 2 * 4);
static_assert(offsetof(ContentHost, hostData) == 5 * 4);
static_assert(offsetof(ContentHost, detach) == 6 * 4);

// Process-wide record of the event being delivered; valid during a handler.
struct MessageRecord {
    int32_t eventCode;
    uint32_t wParam;
    int32_t lParam;
    int32_t mouseX;
    int32_t mouseY;
    WindowRecord* window;
    int32_t controlId;
    int32_t menuId;
    int32_t notifyCode;
};
static_assert(sizeof(MessageRecord) == 9 * 4);
static_assert(offsetof(MessageRecord, eventCode) == 0 * 4);
static_assert(offsetof(MessageRecord, wParam) == 1 * 4);
static_assert(offsetof(MessageRecord, lParam) == 2 * 4);
static_assert(offsetof(MessageRecord, mouseX) == 3 * 4);
static_assert(offsetof(MessageRecord, mouseY) == 4 * 4);
static_assert(offsetof(MessageRecord, window) == 5 * 4);
static_assert(offsetof(MessageRecord, controlId) == 6 * 4);
static_assert(offsetof(MessageRecord, menuId) == 7 * 4);
static_assert(offsetof(MessageRecord, notifyCode) == 8 * 4);

// Event codes; every other event carries its own Windows message number.
enum : int32_t {
    EV_CLOSE_WINDOW = 0x8002,
    EV_MENU = 0x8003,
    EV_CONTROL = 0x8004,
    EV_SIZE = 0x8009,
    EV_ERASE_BACKGROUND = 0x800F,
};

// Bits 0x10 to 0x800 of OpenWindow's flags word carry the runtime's meaning.
enum : uint32_t {
    RF_NO_SURFACE = 0x10,
    RF_FRAME = 0x20,
    RF_NO_CAPTION = 0x40,
    RF_SURFACE_WINDOW = 0x80,
    RF_SURFACE_CLIENT = 0x100,
    RF_TOOLWINDOW = 0x200,
    RF_TOPMOST = 0x400,
    RF_HIDDEN = 0x800,
};

// surfaceMode bit: surface made at the client area's size.
constexpr uint32_t SURFACE_CLIENT_SIZED = 0x10;

// The MDI frame's Window menu.
enum : int32_t {
    ID_WINDOW_CASCADE = 32773,
    ID_WINDOW_TILE = 32774,
    ID_WINDOW_ARRANGE = 32775,
};
constexpr int32_t MDI_CLIENT_ID = 0xCAC;
constexpr int32_t MDI_FIRST_CHILD_ID = 0x4050;

extern MessageRecord messageRecord;  // the event being delivered

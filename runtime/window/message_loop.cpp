#include "runtime/window/message_loop.h"

#include <windows.h>

#include <ole2.h>

#include "runtime/core/block_alloc.h"
#include "runtime/window/accelerators.h"
#include "runtime/window/handler_tables.h"
#include "runtime/window/open_window.h"

namespace {

// The record of a runtime window: window long 0 for the window classes;
// for the dialog class that word is the dialog manager's, so the record is
// the one the dialog keeps in its property.
WindowRecord* RecordOfRuntimeWindow(HWND hwnd, ATOM atom) {
    if (atom == dialogClassAtom)
        return static_cast<WindowRecord*>(GetPropA(hwnd, kDialogRecordProperty));
    return reinterpret_cast<WindowRecord*>(static_cast<uintptr_t>(GetWindowLongA(hwnd, 0)));
}

// The runtime window a message belongs to: its own window or the first
// ancestor (or owner) of a runtime class.
WindowRecord* FindMessageRecord(HWND hwnd) {
    for (HWND w = hwnd; w; w = GetParent(w)) {
        const ATOM atom = static_cast<ATOM>(GetClassWord(w, GCW_ATOM));
        if (IsRuntimeClassAtom(atom))
            return RecordOfRuntimeWindow(w, atom);
    }
    return nullptr;
}

bool ShouldDispatch(MSG& msg) {
    WindowRecord* record = FindMessageRecord(msg.hwnd);
    if (!record || !record->hwnd) {
        HWND active = GetActiveWindow();
        if (active && (GetWindowLongA(active, GWL_EXSTYLE) & WS_EX_CONTROLPARENT))
            return !IsDialogMessageA(active, &msg);
        return true;
    }
    // A message the accelerator table turned into a command is not also
    // dispatched as the key it came from.
    if (HACCEL table = WindowAccelerators(record->hwnd))
        if (TranslateAcceleratorA(record->hwnd, table, &msg))
            return false;
    if (record->dialogKeys && IsDialogMessageA(record->hwnd, &msg))
        return false;
    if (record->contentHost && msg.message == WM_KEYDOWN) {
        auto* host = static_cast<ContentHost*>(record->contentHost);
        if (host->pretranslate && host->pretranslate(record->hwnd, &msg))
            return false;
    }
    return true;
}

}  // namespace

int32_t WaitEvents(int32_t noWait) {
    if (noWait == 0)
        WaitMessage();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (ShouldDispatch(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return 0;
}

int32_t CloseWindow(WindowRecord* record) {
    if (!record || !record->hwnd || record->templateMode)
        return 0;
    HWND hwnd = record->hwnd;

    if (record->contentHost) {
        auto* host = static_cast<ContentHost*>(record->contentHost);
        if (host->detach)
            host->detach(hwnd, host->hostData);
        if (host->teardown)
            host->teardown(hwnd);
        OleUninitialize();
        FreeBlock(host);
        record->contentHost = nullptr;
    }
    ReleaseWindowAccelerators(hwnd);
    FreeHandlerTables(record);

    HBITMAP surface = record->surfaceBitmap;
    HPEN pen = record->pen;
    HFONT font = record->font;

    if (IsMdiChild(hwnd))
        SendMessageA(GetParent(hwnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd), 0);
    else
        DestroyWindow(hwnd);
    record->hwnd = nullptr;

    if (surface)
        DeleteObject(surface);
    if (pen)
        DeleteObject(pen);
    if (font)
        DeleteObject(font);
    return 0;
}

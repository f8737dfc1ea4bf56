#pragma once
// A dialog record opened through the real dialog manager, with a handler
// that logs every event it sees and then answers as the test says.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "runtime/control/controls.h"
#include "runtime/core/strings.h"
#include "runtime/dialog/create_dialog.h"
#include "runtime/dialog/open_dialog.h"
#include "runtime/window/dialog_registry.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "tests/support/test_support.h"

// Messages of the tests' own, clear of the runtime's event codes (0x8002 and
// up). The handler posts WM_CUE at WM_INITDIALOG: it arrives once the modal
// loop (or the test's pumping) runs, with the dialog open.
constexpr UINT WM_CUE = WM_APP + 0x100;
// A modal dialog that a failing test leaves open ends this long after it
// opened, with kRescued.
constexpr UINT_PTR kRescueTimer = 0xD1A;
constexpr UINT kRescueMs = 60000;
constexpr int32_t kRescued = -77;

struct SeenEvent {
    int32_t eventCode;
    uint32_t wParam;
    int32_t lParam;
    int32_t controlId;
    bool visible;   // the dialog, when the event arrived
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        current = this;
        ASSERT_EQ(CreateStringHeap(), 1);
    }
    void TearDown() override {
        if (dialog.hwnd)
            DestroyWindow(dialog.hwnd);
        PumpMessages();
        FreeDialogRecords();
        current = nullptr;
    }

    void Describe(int32_t width, int32_t height, uint32_t style = WS_CAPTION | WS_SYSMENU,
                  const char* caption = "dialog", const WindowRecord* owner = nullptr) {
        ASSERT_EQ(CreateDialogTemplate(&dialog, 40, 30, width, height, style, owner, caption, Handler), 1);
    }
    int32_t RunModal(const WindowRecord* owner = nullptr) {
        rescue = true;
        const int32_t result = RunModalDialog(&dialog, owner);
        rescue = false;
        EXPECT_NE(result, kRescued) << "nothing ended the dialog";
        return result;
    }
    HWND OpenModeless() {
        HWND handle = OpenModelessDialog(&dialog, nullptr);
        PumpMessages();
        return handle;
    }
    DialogTemplate* Template() const { return static_cast<DialogTemplate*>(dialog.dialogTemplate); }
    HWND Control(int32_t id) const { return GetDlgItem(dialog.hwnd, id); }
    bool Saw(int32_t eventCode) const {
        for (const SeenEvent& e : events)
            if (e.eventCode == eventCode)
                return true;
        return false;
    }

    WindowRecord dialog{};
    std::vector<SeenEvent> events;
    // The handler's answer to each event, after the event is logged.
    std::function<int32_t(const MessageRecord&)> react;

private:
    static int32_t Handler() { return current ? current->OnEvent(messageRecord) : 0; }
    int32_t OnEvent(const MessageRecord& m) {
        HWND hwnd = m.window->hwnd;
        events.push_back({m.eventCode, m.wParam, m.lParam, m.controlId, hwnd && IsWindowVisible(hwnd)});
        if (m.eventCode == WM_INITDIALOG) {
            if (rescue)
                SetTimer(hwnd, kRescueTimer, kRescueMs, nullptr);
            PostMessageA(hwnd, WM_CUE, 0, 0);
        }
        if (m.eventCode == WM_TIMER && m.wParam == kRescueTimer) {
            EndDialog(hwnd, kRescued);
            return 1;
        }
        return react ? react(m) : 0;
    }
    static inline DialogTest* current;
    bool rescue = false;
};

// Reachlet Fleet's real windows in this process, probing through the
// scripted sensapi.dll beside the test program (real worker threads, real
// posts to the frame), and the shipped exe end to end.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "fleet/fleet.h"
#include "fleet/host_list.h"
#include "fleet/probe_workers.h"
#include "tests/support/box_watcher.h"
#include "tests/support/program_process.h"
#include "tests/support/test_support.h"

namespace {

void WriteText(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

// Pumps this thread's messages until done() or timeoutMs passed; the
// workers' answers arrive as posted messages.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        PumpMessages();
    }
    return true;
}

std::string RowText(int32_t row, int32_t column) {
    char text[300] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(GetDlgItem(overview.hwnd, ID_HOST_LIST), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::string HostsOf(const std::string& listFile) {
    std::string hosts;
    for (int32_t i = 0; i < HostCount(); ++i)
        hosts += std::string(HostAt(i)->name) + " " + std::to_string(HostAt(i)->intervalSeconds) + " " +
                 std::to_string(HostAt(i)->alert) + ";";
    return listFile + ": " + hosts;
}

// The Add and Edit dialog, answered from a thread timer inside its modal
// loop: each step fills the fields and presses a button once the dialog is
// enabled again (an error box disables it while open).
struct DialogStep {
    const char* name;
    const char* interval;
    int alert;
    int button;
};
std::vector<DialogStep> dialogSteps;
size_t dialogStep;

BOOL CALLBACK AnswerDialog(HWND hwnd, LPARAM) {
    char caption[64] = {};
    GetWindowTextA(hwnd, caption, sizeof(caption));
    if (std::string(caption) != "Add host" || !IsWindowEnabled(hwnd) || dialogStep >= dialogSteps.size())
        return TRUE;
    const DialogStep& step = dialogSteps[dialogStep++];
    SetDlgItemTextA(hwnd, 11, step.name);
    SetDlgItemTextA(hwnd, 12, step.interval);
    CheckDlgButton(hwnd, 13, step.alert ? BST_CHECKED : BST_UNCHECKED);
    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(step.button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, step.button)));
    return FALSE;
}
void CALLBACK VisitDialogs(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), AnswerDialog, 0); }

std::vector<SeenBox> AddThroughDialog(std::vector<DialogStep> steps) {
    dialogSteps = std::move(steps);
    dialogStep = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 15, VisitDialogs);
    auto boxes = BoxesDuring([] { SendMessageA(frame.hwnd, WM_COMMAND, ID_ADD_HOST, 0); });
    KillTimer(nullptr, timer);
    return boxes;
}

class FleetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CreateStringHeap(), 1);
        folder_ = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        script_ = folder_ + "\\sensapi.txt";
        list_ = folder_ + "\\hosts.txt";
        SetEnvironmentVariableA("FAKE_SENSAPI_SCRIPT", script_.c_str());
        WriteText(script_, "reachable 127.0.0.1\nreachable 127.0.0.2\ndefault 0\n");
    }
    void TearDown() override {
        if (frame.hwnd) {
            EXPECT_EQ(CloseFleet(), 0);
        }
    }
    void Open(const std::string& list) {
        WriteText(list_, list);
        ASSERT_EQ(OpenFleet(list_.c_str()), 1);
    }
    Host* Named(const char* name) {
        for (int32_t i = 0; i < HostCount(); ++i)
            if (std::string(HostAt(i)->name) == name)
                return HostAt(i);
        return nullptr;
    }
    std::string folder_, script_, list_;
};

// One entry each: the list file, the host dialog, probing, the shipped exe.
class FleetListTest : public FleetTest {};
class FleetDialogTest : public FleetTest {};
class FleetProbeTest : public FleetTest {};
class FleetProgramTest : public FleetTest {};

TEST(HostListTest, LinesAreReadAsTheListDescribesThem) {
    const std::string tooLong = std::string(256, 'a') + " 10 1";
    struct Case {
        const char* line;
        LineKind kind;
        const char* name;
        int32_t interval;
        int32_t alert;
    };
    const Case cases[] = {
        {"127.0.0.1 10 1", LINE_HOST, "127.0.0.1", 10, 1},
        {"  host.example\t600\t0  ", LINE_HOST, "host.example", 600, 0},
        {"", LINE_SKIPPED, "", 0, 0},
        {" \t ", LINE_SKIPPED, "", 0, 0},
        {"# 127.0.0.1 10 1", LINE_SKIPPED, "", 0, 0},
        {"127.0.0.1 9 1", LINE_BAD, "", 0, 0},       // the monitor's minimum interval
        {"127.0.0.1 10", LINE_BAD, "", 0, 0},
        {"127.0.0.1 10 2", LINE_BAD, "", 0, 0},
        {"127.0.0.1 10 1 more", LINE_BAD, "", 0, 0},
        {"127.0.0.1 1e3 1", LINE_BAD, "", 0, 0},
        {"127.0.0.1 -10 1", LINE_BAD, "", 0, 0},
        {tooLong.c_str(), LINE_BAD, "", 0, 0},
    };
    for (const Case& c : cases) {
        HostLine host{};
        EXPECT_EQ(ParseHostLine(c.line, &host), c.kind) << c.line;
        if (c.kind == LINE_HOST) {
            EXPECT_STREQ(host.name, c.name);
            EXPECT_EQ(host.intervalSeconds, c.interval);
            EXPECT_EQ(host.alert, c.alert);
        }
    }
}

TEST_F(FleetListTest, AListWithBadLinesLoadsTheGoodOnesAndNamesTheBadInOneBox) {
    const auto boxes = BoxesDuring([&] {
        Open("# watched\r\n127.0.0.1 10 0\r\nnot a host line\r\n\r\n127.0.0.2 x 1\r\n" + std::string(2000, 'z') +
             "\r\n127.0.0.3 30 1\r\n");
    });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Host list");
    EXPECT_NE(boxes[0].text.find("skipped: 3, 5, 6."), std::string::npos) << boxes[0].text;
    EXPECT_EQ(HostsOf(list_), list_ + ": 127.0.0.1 10 0;127.0.0.3 30 1;");
    EXPECT_EQ(SendMessageA(GetDlgItem(overview.hwnd, ID_HOST_LIST), LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(RowText(1, 0), "127.0.0.3");
    EXPECT_EQ(RowText(1, 1), "not yet");
}

TEST_F(FleetListTest, ATenThousandLineListLoadsAndSavesAsItWasRead) {
    std::string many;
    for (int i = 0; i < 10000; ++i)
        many += "127.0." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1) + " " + std::to_string(10 + i % 7) +
                " " + std::to_string(i % 2) + "\r\n";
    WriteText(script_, "default 1\n");
    Open(many);
    ASSERT_EQ(HostCount(), 10000);
    EXPECT_EQ(SendMessageA(GetDlgItem(overview.hwnd, ID_HOST_LIST), LVM_GETITEMCOUNT, 0, 0), 10000);
    EXPECT_EQ(RowText(9999, 0), "127.0.39.250");
    ASSERT_EQ(SaveList(), 1);
    const std::string saved = ReadWholeFile(list_);
    EXPECT_EQ(saved.substr(saved.find("\r\n") + 2), many);
    EXPECT_EQ(GetFileAttributesA((list_ + ".saving").c_str()), INVALID_FILE_ATTRIBUTES);

    // A list whose new copy cannot be written stays as it was.
    RemoveHostRow(HostAt(0)->id);
    RemoveHost(HostAt(0)->id);
    ASSERT_TRUE(CreateDirectoryA((list_ + ".saving").c_str(), nullptr));
    const auto boxes = BoxesDuring([] { EXPECT_EQ(SaveList(), 0); });
    RemoveDirectoryA((list_ + ".saving").c_str());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The host list could not be saved to " + list_);
    EXPECT_EQ(ReadWholeFile(list_), saved);
}

TEST_F(FleetDialogTest, TheDialogAddsAHostItsRulesRefuseBadInputAndCancelChangesNothing) {
    Open("");
    auto boxes = AddThroughDialog({{"127.0.0.9", "5", 1, IDOK}, {"", "10", 1, IDOK}, {"a b", "10", 1, IDOK},
                                   {"127.0.0.9", "10", 1, IDCANCEL}});
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "Minimum interval is 10 Seconds");
    EXPECT_EQ(boxes[1].text, "IP Address Or PC Name must be entered");
    EXPECT_EQ(boxes[2].text, "IP Address Or PC Name must not hold blanks or start with #");
    EXPECT_EQ(HostCount(), 0);

    boxes = AddThroughDialog({{"127.0.0.1", "12", 1, IDOK}});
    EXPECT_TRUE(boxes.empty());
    ASSERT_EQ(HostsOf(list_), list_ + ": 127.0.0.1 12 1;");
    EXPECT_EQ(RowText(0, 0), "127.0.0.1");
    // Started at once: its first answer comes through a worker.
    ASSERT_TRUE(PumpUntil([] { return QueueDueProbes(GetTickCount()) >= 0 && HostAt(0)->probes == 1; }));
    EXPECT_EQ(RowText(0, 1), "up");
    EXPECT_EQ(RowText(0, 3), "1");
    EXPECT_EQ(RowText(0, 5), "100");
}

// Two dead hosts with the failure message: both rows turn red, both fail
// in their logs, and one box names the first. The answers are posted as the
// workers post them, all before the first is taken: the second is then
// taken inside the first one's box (posted messages come before the timer
// that closes it).
TEST_F(FleetProbeTest, DeadHostsTurnTheirRowsRedAndOpenOneBox) {
    Open("127.0.0.1 10 1\r\n10.255.0.1 10 1\r\n10.255.0.2 10 1\r\n");
    Host* up = Named("127.0.0.1");
    Host* first = Named("10.255.0.1");
    Host* second = Named("10.255.0.2");
    for (Host* host : {up, first, second}) {
        host->inFlight = 1;
        PostMessageA(frame.hwnd, WM_PROBE_ANSWER, static_cast<WPARAM>(host->id),
                     PackAnswer(ProbeAnswer{host->epoch, host == up, 2}));
    }
    const auto boxes = BoxesDuring([&] {
        ASSERT_TRUE(PumpUntil([&] { return up->probes == 1 && first->probes == 1 && second->probes == 1; }));
    });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Failure");
    EXPECT_TRUE(boxes[0].stopIcon);
    EXPECT_EQ(boxes[0].text.rfind("No response from 10.255.0.1 at ", 0), 0u) << boxes[0].text;
    EXPECT_EQ(second->failures, 1);

    HWND list = GetDlgItem(overview.hwnd, ID_HOST_LIST);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    HDC dc = GetDC(list);
    auto redPixels = [&](int32_t row) {
        RECT bounds{LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
        int count = 0;
        for (int x = bounds.left; x < bounds.right; x += 3)
            count += GetPixel(dc, x, (bounds.top + bounds.bottom) / 2) == RGB(255, 160, 160);
        return count;
    };
    EXPECT_EQ(redPixels(RowOfHost(up->id)), 0);
    EXPECT_GT(redPixels(RowOfHost(first->id)), 50);
    EXPECT_GT(redPixels(RowOfHost(second->id)), 50);
    ReleaseDC(list, dc);

    // A click on the Failures header sorts by it; a second, the other way.
    auto clickHeader = [&](int column) {
        NMLISTVIEW click{};
        click.hdr = NMHDR{list, ID_HOST_LIST, static_cast<UINT>(LVN_COLUMNCLICK)};
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageA(overview.hwnd, WM_NOTIFY, ID_HOST_LIST, reinterpret_cast<LPARAM>(&click));
    };
    clickHeader(4);
    EXPECT_EQ(RowText(0, 0) + " " + RowText(2, 0), "127.0.0.1 10.255.0.2");
    clickHeader(4);
    EXPECT_EQ(RowText(0, 0) + " " + RowText(2, 0), "10.255.0.1 127.0.0.1");   // equal counts keep their order
}

// A host's window: its log so far in the monitor's words and colours, its
// strip of answers, its log saved as text.
TEST_F(FleetProbeTest, AHostsWindowShowsItsLogAndStripAndSavesTheLog) {
    Open("127.0.0.1 10 0\r\n");
    Host* host = HostAt(0);
    ASSERT_TRUE(PumpUntil([&] { QueueDueProbes(GetTickCount()); return host->probes == 1; }));
    WindowRecord* window = OpenHostWindow(host);
    ASSERT_NE(window, nullptr);
    host->nextDueTick = GetTickCount();
    ASSERT_TRUE(PumpUntil([&] { QueueDueProbes(GetTickCount()); return host->probes == 2; }));
    char text[400] = {};
    GetWindowTextA(HostLogControl(host), text, sizeof(text));
    const std::string log = text;
    // Newest first: two contacts (one streamed in as the window opened, one
    // added after), then the start.
    ASSERT_EQ(log.find("Contact successful at "), 0u) << log;
    EXPECT_NE(log.find("Contact successful at ", 10), std::string::npos) << log;
    EXPECT_NE(log.find("Ping started at "), std::string::npos) << log;

    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, window->surfaceBitmap);
    EXPECT_EQ(GetPixel(memory, 8 + 119 * 4 + 1, 12), RGB(0, 192, 0));   // the newest answer
    EXPECT_EQ(GetPixel(memory, 8 + 118 * 4 + 1, 12), RGB(0, 192, 0));
    EXPECT_EQ(GetPixel(memory, 8 + 117 * 4 + 1, 12), RGB(192, 192, 192));
    SelectObject(memory, previous);
    DeleteDC(memory);

    const std::string saved = folder_ + "\\log.txt";
    EXPECT_GT(SaveHostLog(host, saved.c_str(), 0), 0);
    EXPECT_EQ(ReadWholeFile(saved).substr(0, 22), "Contact successful at ");
}

// Stop and Remove act at once: an answer still out is dropped.
TEST_F(FleetProbeTest, AnswersForStoppedOrRemovedHostsAreDropped) {
    WriteText(script_, "default 1\nblock 600\n");
    Open("127.0.0.1 10 0\r\n127.0.0.2 10 0\r\n");
    Host* stopped = HostAt(0);
    const int32_t removedId = HostAt(1)->id;
    stopped->nextDueTick = HostAt(1)->nextDueTick = GetTickCount();
    ASSERT_EQ(QueueDueProbes(GetTickCount()), 2);
    StopHost(stopped);
    SendControlCommand(&overview, ID_HOST_LIST, CC_LV_SELECT_ITEM, IntArg(RowOfHost(removedId)));
    SendMessageA(frame.hwnd, WM_COMMAND, ID_REMOVE_HOST, 0);
    EXPECT_EQ(FindHost(removedId), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return stopped->inFlight == 0; }));
    EXPECT_EQ(stopped->probes, 0);
    EXPECT_EQ(HostCount(), 1);
    EXPECT_EQ(SendMessageA(GetDlgItem(overview.hwnd, ID_HOST_LIST), LVM_GETITEMCOUNT, 0, 0), 1);
}

// The shipped program with the scripted sensapi beside it: a list file with
// a bad line, a host added through the dialog, the list saved, the program
// closed and started again with the same hosts.
TEST_F(FleetProgramTest, TheProgramKeepsItsListAcrossARestart) {
    const std::string program = BuildPath("fakenet\\ReachletFleet.exe");
    WriteText(list_, "127.0.0.1 10 0\r\nbad\r\n");
    // Waits for the box to open.
    auto findBox = [](DWORD process, const char* caption) {
        for (int i = 0; i < 3000; ++i, Sleep(20)) {
            HWND box = FindWindowA("#32770", caption);
            DWORD owner = 0;
            GetWindowThreadProcessId(box, &owner);
            if (box && owner == process)
                return box;
        }
        return HWND{};
    };
    {
        ProgramProcess fleet;
        ASSERT_TRUE(fleet.Start(program, "\"" + list_ + "\""));
        HWND box = findBox(fleet.Id(), "Host list");
        ASSERT_NE(box, nullptr);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        HWND main = fleet.FindMainWindow("CorvaneFrameClass");
        ASSERT_NE(main, nullptr);
        PostMessageA(main, WM_COMMAND, ID_ADD_HOST, 0);
        // Shown once its controls are made and filled.
        HWND dialog = nullptr;
        for (int i = 0; i < 3000 && !((dialog = FindWindowA(nullptr, "Add host")) && IsWindowVisible(dialog)); ++i)
            Sleep(20);
        ASSERT_NE(dialog, nullptr);
        SetDlgItemTextA(dialog, 11, "127.0.0.2");
        SetDlgItemTextA(dialog, 12, "20");
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        // The host is added once the dialog's loop has ended; a message
        // sent before could be taken inside that loop.
        for (int i = 0; i < 3000 && IsWindow(dialog); ++i)
            Sleep(20);
        SendMessageA(main, WM_NULL, 0, 0);
        SendMessageA(main, WM_COMMAND, ID_SAVE_LIST, 0);
        SendMessageA(main, WM_CLOSE, 0, 0);
        DWORD code = 1;
        ASSERT_TRUE(fleet.WaitForExit(15000, &code));
        EXPECT_EQ(code, 0u);
    }
    const std::string saved = ReadWholeFile(list_);
    EXPECT_NE(saved.find("\r\n127.0.0.1 10 0\r\n127.0.0.2 20 0\r\n"), std::string::npos) << saved;
    ProgramProcess again;
    ASSERT_TRUE(again.Start(program, "\"" + list_ + "\""));
    HWND main = again.FindMainWindow("CorvaneFrameClass");
    ASSERT_NE(main, nullptr);
    // Answered once the list is read: the frame shows before its overview.
    SendMessageA(main, WM_NULL, 0, 0);
    HWND list = FindWindowExA(FindWindowExA(GetDlgItem(main, 0xCAC), nullptr, "CorvaneWndClass", "Hosts"), nullptr,
                              WC_LISTVIEWA, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);
    // A box about the list would have opened before that answer.
    EXPECT_EQ(FindWindowA("#32770", "Host list"), nullptr);
    SendMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(again.WaitForExit(15000, &code));
}

}  // namespace

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>

#include "fleet/fleet.h"

WindowRecord overview;

namespace {

struct Column {
    const char* caption;
    int32_t width;
};
constexpr std::array<Column, 8> kColumns{{
    {"Host", 150},
    {"State", 80},
    {"Since", 70},
    {"Probes", 60},
    {"Failures", 60},
    {"Availability %", 90},
    {"Last ms", 60},
    {"Average ms", 75},
}};

constexpr const char* kStateText[] = {"not yet", "up", "down"};
constexpr COLORREF kDownText = RGB(128, 0, 0);
constexpr COLORREF kDownBack = RGB(255, 160, 160);

int32_t sortColumn = -1;   // none until a header is clicked
bool sortDescending;

HWND List() { return GetDlgItem(overview.hwnd, ID_HOST_LIST); }

int32_t Compare(const Host* a, const Host* b, int32_t column) {
    auto order = [](int64_t x, int64_t y) { return x < y ? -1 : x > y ? 1 : 0; };
    switch (column) {
    case 0: return lstrcmpiA(a->name, b->name);
    case 1: return order(a->state, b->state);
    case 2: return lstrcmpA(a->since, b->since);
    case 3: return order(a->probes, b->probes);
    case 4: return order(a->failures, b->failures);
    case 5: return order(AvailabilityPercent(a), AvailabilityPercent(b));
    case 6: return order(a->lastMs, b->lastMs);
    case 7: return order(AverageMs(a), AverageMs(b));
    default: return 0;
    }
}

// The rows in the order shown: the list view is virtual (LVS_OWNERDATA) and
// asks for a row's cells as it draws it, so a host's change redraws one row
// and thousands of hosts go in with one call. Each host keeps its row number.
Host** rows;
int32_t rowCount;
int32_t rowCapacity;

bool Ordered(const Host* a, const Host* b) {
    int32_t result = Compare(a, b, sortColumn);
    if (result == 0)
        return a->id < b->id;   // equal keys keep the order they were added in
    return sortDescending ? result > 0 : result < 0;
}

void NumberRows(int32_t from) {
    for (int32_t i = from; i < rowCount; ++i)
        rows[i]->row = i;
}

void ShowRowCount() {
    SendMessageA(List(), LVM_SETITEMCOUNT, static_cast<WPARAM>(rowCount), LVSICF_NOSCROLL);
}

Host* HostOfRow(int32_t row) { return row >= 0 && row < rowCount ? rows[row] : nullptr; }

int32_t OnColumnClick() {
    const auto* click = reinterpret_cast<const NMLISTVIEW*>(messageRecord.lParam);
    sortDescending = click->iSubItem == sortColumn ? !sortDescending : false;
    sortColumn = click->iSubItem;
    SortRows();
    return 1;
}

int32_t OnDoubleClick() {
    const auto* activate = reinterpret_cast<const NMITEMACTIVATE*>(messageRecord.lParam);
    if (Host* host = HostOfRow(activate->iItem))
        OpenHostWindow(host);
    return 1;
}

// A row's cell or icon, asked for as the list view draws it.
int32_t OnGetCell() {
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(messageRecord.lParam);
    const Host* host = HostOfRow(info->item.iItem);
    if (!host)
        return 0;
    if (info->item.mask & LVIF_IMAGE)
        info->item.iImage = host->state;
    if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
        char number[16] = "";
        const char* text = number;
        const int32_t figures[] = {0, 0, 0, host->probes, host->failures, AvailabilityPercent(host), host->lastMs,
                                   AverageMs(host)};
        switch (info->item.iSubItem) {
        case 0: text = host->name; break;
        case 1: text = kStateText[host->state]; break;
        case 2: text = host->since; break;
        default:
            // Figures of a host never probed are left empty but its count.
            if (info->item.iSubItem <= 4 || host->probes > 0)
                wsprintfA(number, "%d", figures[info->item.iSubItem & 7]);
            break;
        }
        lstrcpynA(info->item.pszText, text, info->item.cchTextMax);
    }
    return 1;
}

// Rows of hosts that are down are drawn red.
int32_t OnCustomDraw() {
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(messageRecord.lParam);
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        const Host* host = HostOfRow(static_cast<int32_t>(draw->nmcd.dwItemSpec));
        if (host && host->state == HOST_DOWN) {
            draw->clrText = kDownText;
            draw->clrTextBk = kDownBack;
            return CDRF_NEWFONT;
        }
    }
    return CDRF_DODEFAULT;
}

// The overview's own handler: it fills the MDI child, and closing it only
// minimises it (the frame's Window menu brings it back).
int32_t OverviewHandler() {
    switch (messageRecord.eventCode) {
    case EV_SIZE: {
        int32_t x = 0, y = 0, width = 0, height = 0;
        if (GetClientSize(&overview, &x, &y, &width, &height))
            MoveControl(&overview, ID_HOST_LIST, 0, 0, width, height);
        return 0;
    }
    case EV_CLOSE_WINDOW:
        ShowWindow(overview.hwnd, SW_MINIMIZE);
        return 1;
    default:
        return 0;
    }
}

}  // namespace

int32_t OpenOverview() {
    int32_t x = 0, y = 0, width = 0, height = 0;
    GetClientSize(&frame, &x, &y, &width, &height);
    constexpr uint32_t kFlags = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN | RF_NO_SURFACE;
    if (!OpenWindow(&overview, 0, 0, 720, 300, kFlags, &frame, "Hosts", OverviewHandler))
        return 0;
    CreateControl(&overview, CT_LISTVIEW, "", 0, 0, 700, 280,
                  LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_OWNERDATA, ID_HOST_LIST);
    HWND list = List();
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (size_t i = 0; i < kColumns.size(); ++i) {
        SendControlCommand(&overview, ID_HOST_LIST, CC_LV_INSERT_COLUMN, IntArg(static_cast<int32_t>(i)),
                           StrArg(kColumns[i].caption));
        SendControlCommand(&overview, ID_HOST_LIST, CC_LV_SET_COLUMN_WIDTH, IntArg(static_cast<int32_t>(i)),
                           IntArg(kColumns[i].width));
    }
    // The state icons: green, red and grey dots from the program's resources.
    // The list view owns the image list and destroys it with itself (no
    // LVS_SHAREIMAGELISTS); the bitmap is copied into it and deleted here.
    auto strip = reinterpret_cast<HBITMAP>(LoadRuntimeImage(IntArg(RES_STATE_IMAGES), IMG_BITMAP));
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 0);
    if (images && strip)
        ImageList_AddMasked(images, strip, RGB(255, 0, 255));
    if (strip)
        DeleteObject(strip);
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    (void)SetControlHandler(&overview, ID_HOST_LIST, LVN_COLUMNCLICK, OnColumnClick);
    (void)SetControlHandler(&overview, ID_HOST_LIST, NM_DBLCLK, OnDoubleClick);
    (void)SetControlHandler(&overview, ID_HOST_LIST, NM_CUSTOMDRAW, OnCustomDraw);
    (void)SetControlHandler(&overview, ID_HOST_LIST, LVN_GETDISPINFOA, OnGetCell);
    MoveControl(&overview, 0, 0, 0, width > 40 ? width : 720, height > 40 ? height * 3 / 5 : 300);
    return 1;
}

int32_t RowOfHost(int32_t hostId) {
    const Host* host = FindHost(hostId);
    return host && host->row < rowCount && rows[host->row] == host ? host->row : -1;
}

int32_t AddHostRow(Host* host, bool show) {
    if (rowCount == rowCapacity) {
        const int32_t capacity = rowCapacity ? rowCapacity * 2 : 256;
        const SIZE_T bytes = sizeof(Host*) * static_cast<SIZE_T>(capacity);
        void* grown = rows ? HeapReAlloc(GetProcessHeap(), 0, rows, bytes) : HeapAlloc(GetProcessHeap(), 0, bytes);
        if (!grown)
            return -1;
        rows = static_cast<Host**>(grown);
        rowCapacity = capacity;
    }
    host->row = rowCount;
    rows[rowCount++] = host;
    if (show)
        ShowRowCount();
    return host->row;
}

int32_t ShowAllRows() {
    ShowRowCount();
    return 0;
}

int32_t UpdateHostRow(const Host* host) {
    const int32_t row = RowOfHost(host->id);
    if (row < 0)
        return 0;
    SendMessageA(List(), LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
    return 1;
}

int32_t RemoveHostRow(int32_t hostId) {
    const int32_t row = RowOfHost(hostId);
    if (row < 0)
        return 0;
    MoveMemory(rows + row, rows + row + 1, sizeof(Host*) * static_cast<SIZE_T>(rowCount - row - 1));
    --rowCount;
    NumberRows(row);
    ShowRowCount();
    InvalidateRect(List(), nullptr, TRUE);
    return 1;
}

int32_t RemoveAllRows() {
    rowCount = 0;
    ShowRowCount();
    return 0;
}

int32_t SortRows() {
    if (sortColumn < 0 || rowCount == 0)
        return 0;
    // The selected host stays selected wherever it moves.
    Host* selected = SelectedHost();
    std::sort(rows, rows + rowCount, Ordered);   // a total order: ids break ties
    NumberRows(0);
    if (selected) {
        LVITEMA unselect{};
        unselect.stateMask = LVIS_SELECTED;
        SendMessageA(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&unselect));
        SendControlCommand(&overview, ID_HOST_LIST, CC_LV_SELECT_ITEM, IntArg(selected->row));
    }
    InvalidateRect(List(), nullptr, FALSE);
    return 0;
}

Host* SelectedHost() {
    return HostOfRow(static_cast<int32_t>(SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
}

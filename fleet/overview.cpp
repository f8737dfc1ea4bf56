#include <windows.h>
#include <commctrl.h>

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

// LVM_SORTITEMS hands over the rows' parameters: the hosts' ids.
int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM column) {
    const Host* a = FindHost(static_cast<int32_t>(first));
    const Host* b = FindHost(static_cast<int32_t>(second));
    if (!a || !b)
        return 0;
    int32_t result = Compare(a, b, static_cast<int32_t>(column));
    if (result == 0)
        result = a->id < b->id ? -1 : 1;   // equal keys keep the order they were added in
    return sortDescending ? -result : result;
}

int32_t OnColumnClick() {
    const auto* click = reinterpret_cast<const NMLISTVIEW*>(messageRecord.lParam);
    sortDescending = click->iSubItem == sortColumn ? !sortDescending : false;
    sortColumn = click->iSubItem;
    SortRows();
    return 1;
}

int32_t OnDoubleClick() {
    const auto* activate = reinterpret_cast<const NMITEMACTIVATE*>(messageRecord.lParam);
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = activate->iItem;
    if (activate->iItem >= 0 && SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        if (Host* host = FindHost(static_cast<int32_t>(item.lParam)))
            OpenHostWindow(host);
    return 1;
}

// Rows of hosts that are down are drawn red.
int32_t OnCustomDraw() {
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(messageRecord.lParam);
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        const Host* host = FindHost(static_cast<int32_t>(draw->nmcd.lItemlParam));
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

void SetRowImageAndParam(int32_t row, const Host* host, UINT mask) {
    LVITEMA item{};
    item.mask = mask;
    item.iItem = row;
    item.iImage = host->state;
    item.lParam = host->id;
    SendMessageA(List(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

int32_t OpenOverview() {
    int32_t x = 0, y = 0, width = 0, height = 0;
    GetClientSize(&frame, &x, &y, &width, &height);
    constexpr uint32_t kFlags = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN | RF_NO_SURFACE;
    if (!OpenWindow(&overview, 0, 0, 720, 300, kFlags, &frame, "Hosts", OverviewHandler))
        return 0;
    CreateControl(&overview, CT_LISTVIEW, "", 0, 0, 700, 280, LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                  ID_HOST_LIST);
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
    MoveControl(&overview, 0, 0, 0, width > 40 ? width : 720, height > 40 ? height * 3 / 5 : 300);
    return 1;
}

int32_t RowOfHost(int32_t hostId) {
    LVFINDINFOA find{};
    find.flags = LVFI_PARAM;
    find.lParam = hostId;
    return static_cast<int32_t>(SendMessageA(List(), LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

int32_t AddHostRow(const Host* host) {
    const int32_t count = SendControlCommand(&overview, ID_HOST_LIST, CC_LV_GET_ITEM_COUNT);
    const int32_t row = SendControlCommand(&overview, ID_HOST_LIST, CC_LV_INSERT_ITEM, IntArg(count), StrArg(host->name));
    if (row < 0)
        return -1;
    SetRowImageAndParam(row, host, LVIF_PARAM | LVIF_IMAGE);
    UpdateHostRow(host);
    return row;
}

int32_t UpdateHostRow(const Host* host) {
    const int32_t row = RowOfHost(host->id);
    if (row < 0)
        return 0;
    char cells[8][16];
    wsprintfA(cells[3], "%d", host->probes);
    wsprintfA(cells[4], "%d", host->failures);
    wsprintfA(cells[5], "%d", AvailabilityPercent(host));
    wsprintfA(cells[6], "%d", host->lastMs);
    wsprintfA(cells[7], "%d", AverageMs(host));
    const char* texts[8] = {host->name, kStateText[host->state], host->since, cells[3], cells[4], cells[5], cells[6], cells[7]};
    if (host->probes == 0)
        texts[5] = texts[6] = texts[7] = "";
    for (int32_t column = 0; column < 8; ++column)
        SendControlCommand(&overview, ID_HOST_LIST, CC_LV_SET_ITEM_TEXT, IntArg(row), IntArg(column), StrArg(texts[column]));
    SetRowImageAndParam(row, host, LVIF_IMAGE);
    return 1;
}

int32_t RemoveHostRow(int32_t hostId) {
    const int32_t row = RowOfHost(hostId);
    return row < 0 ? 0 : SendControlCommand(&overview, ID_HOST_LIST, CC_LV_DELETE_ITEM, IntArg(row));
}

int32_t SortRows() {
    if (sortColumn >= 0)
        SendMessageA(List(), LVM_SORTITEMS, static_cast<WPARAM>(sortColumn), reinterpret_cast<LPARAM>(CompareRows));
    return 0;
}

Host* SelectedHost() {
    const auto row = static_cast<int32_t>(SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0)
        return nullptr;
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return FindHost(static_cast<int32_t>(item.lParam));
}

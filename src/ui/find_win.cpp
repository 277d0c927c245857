// The find window: an edit field over an owner-drawn list without data of its own (the rows are the
// index's hits), one class, made once and hidden when closed so the hotkey shows it at once.
#include "ui/find_win.h"

#include <commctrl.h>

#include <algorithm>

#include "base/process_win.h"
#include "inventory/inventory_win.h"
#include "ui/find_match.h"

FindHost g_findHost;
void (*g_findOpen)(const std::wstring& path) = OpenItem;
HWND g_findWnd = nullptr;

namespace {

const wchar_t kFindClass[] = L"BrindlecotFind";
const wchar_t kFindTitle[] = L"查找";
constexpr int kWidth = 560;
constexpr int kEditHeight = 34;
constexpr int kRowHeight = 34;
constexpr int kRowsShown = 10;
constexpr int kPad = 6;

FindIndex g_index;
bool g_indexStale = true;
std::vector<int> g_hits;
std::wstring g_lastQuery; // what g_hits answer
HFONT g_font = nullptr;
HFONT g_smallFont = nullptr;

HINSTANCE Instance() { return g_hInst ? g_hInst : GetModuleHandleW(nullptr); }
HWND Edit() { return GetDlgItem(g_findWnd, kFindEditId); }
HWND List() { return GetDlgItem(g_findWnd, kFindListId); }

int Scaled(int px) {
    HDC dc = GetDC(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return MulDiv(px, dpi, 96);
}

HFONT MakeFont(int px) {
    return CreateFontW(-Scaled(px), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Microsoft YaHei UI");
}

void RebuildIndex() {
    g_index.Clear();
    const size_t boxes = g_findHost.boxCount ? g_findHost.boxCount() : 0;
    for (size_t b = 0; b < boxes; ++b) {
        const std::vector<Item>* items = g_findHost.items(b);
        if (!items) continue;
        for (size_t i = 0; i < items->size(); ++i)
            g_index.Add(FindEntry{(*items)[i].name, static_cast<int>(b), static_cast<int>(i)});
    }
    g_indexStale = false;
    g_lastQuery.clear();
    g_hits.clear();
}

// The item a hit stands for, while its box still holds it there.
const Item* ItemOf(int hit) {
    if (hit < 0 || static_cast<size_t>(hit) >= g_index.Size() || !g_findHost.items) return nullptr;
    const FindEntry& e = g_index.At(static_cast<size_t>(hit));
    const std::vector<Item>* items = g_findHost.items(static_cast<size_t>(e.box));
    if (!items || static_cast<size_t>(e.item) >= items->size()) return nullptr;
    const Item& item = (*items)[static_cast<size_t>(e.item)];
    return item.name == e.name ? &item : nullptr;
}

void MarkHits() {
    if (!g_findHost.mark) return;
    std::vector<std::vector<int>> marks(g_findHost.boxCount ? g_findHost.boxCount() : 0);
    for (int hit : g_hits) {
        const FindEntry& e = g_index.At(static_cast<size_t>(hit));
        if (static_cast<size_t>(e.box) < marks.size()) marks[static_cast<size_t>(e.box)].push_back(e.item);
    }
    for (auto& m : marks)
        std::sort(m.begin(), m.end());
    g_findHost.mark(marks);
}

std::wstring EditText() {
    HWND edit = Edit();
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(edit, &text[0], static_cast<int>(text.size()))));
    return text;
}

// The list follows the field: from the last hits when the text only grew at its end.
void RunQuery() {
    if (g_indexStale) RebuildIndex();
    const std::wstring query = EditText();
    const bool narrower = !g_lastQuery.empty() && !g_hits.empty() && query.size() > g_lastQuery.size() &&
                          query.compare(0, g_lastQuery.size(), g_lastQuery) == 0 &&
                          query.find_first_not_of(L" \t") != std::wstring::npos;
    g_hits = g_index.Find(query, narrower ? &g_hits : nullptr);
    g_lastQuery = query;
    HWND list = List();
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_SETCOUNT, g_hits.size(), 0);
    SendMessageW(list, LB_SETCURSEL, g_hits.empty() ? static_cast<WPARAM>(-1) : 0, 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    MarkHits();
}

int Chosen() {
    const LRESULT row = SendMessageW(List(), LB_GETCURSEL, 0, 0);
    return row >= 0 && static_cast<size_t>(row) < g_hits.size() ? g_hits[static_cast<size_t>(row)] : -1;
}

void MoveChoice(int by) {
    if (g_hits.empty()) return;
    const int count = static_cast<int>(g_hits.size());
    int row = static_cast<int>(SendMessageW(List(), LB_GETCURSEL, 0, 0)) + by;
    row = std::max(0, std::min(row, count - 1));
    SendMessageW(List(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

void OpenChosen() {
    const Item* item = ItemOf(Chosen());
    if (!item) return;
    const std::wstring path = item->path;
    CloseFindWindow();
    g_findOpen(path);
}

void RevealChosen() {
    const int hit = Chosen();
    if (!ItemOf(hit) || !g_findHost.reveal) return;
    const FindEntry e = g_index.At(static_cast<size_t>(hit));
    CloseFindWindow();
    g_findHost.reveal(static_cast<size_t>(e.box), e.item);
}

LRESULT CALLBACK EditKeys(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_KEYDOWN) {
        switch (wParam) {
        case VK_DOWN:
            MoveChoice(1);
            return 0;
        case VK_UP:
            MoveChoice(-1);
            return 0;
        case VK_NEXT:
            MoveChoice(kRowsShown);
            return 0;
        case VK_PRIOR:
            MoveChoice(-kRowsShown);
            return 0;
        case VK_ESCAPE:
            CloseFindWindow();
            return 0;
        default:
            break;
        }
    }
    // Enter types a carriage return, Ctrl+Enter a line feed; Esc's character would only beep.
    if (msg == WM_CHAR && wParam == L'\r') {
        OpenChosen();
        return 0;
    }
    if (msg == WM_CHAR && wParam == L'\n') {
        RevealChosen();
        return 0;
    }
    if (msg == WM_CHAR && wParam == 0x1B) return 0;
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void DrawRow(const DRAWITEMSTRUCT* dis) {
    if (dis->itemID == static_cast<UINT>(-1)) return;
    const bool chosen = (dis->itemState & ODS_SELECTED) != 0;
    HDC dc = dis->hDC;
    RECT r = dis->rcItem;
    FillRect(dc, &r, GetSysColorBrush(chosen ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (dis->itemID >= g_hits.size()) return;
    const int hit = g_hits[dis->itemID];
    const Item* item = ItemOf(hit);
    if (!item) return;
    const int icon = Scaled(24);
    if (HICON h = GetFileIcon(item->path)) // the boxes' icon cache: a type looked up once
        DrawIconEx(dc, r.left + kPad, r.top + (r.bottom - r.top - icon) / 2, h, icon, icon, 0, nullptr, DI_NORMAL);
    SetBkMode(dc, TRANSPARENT);
    const int textLeft = r.left + kPad * 2 + icon;
    const int boxWidth = Scaled(150);
    RECT name = {textLeft, r.top, r.right - boxWidth - kPad, r.bottom};
    SetTextColor(dc, GetSysColor(chosen ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    HGDIOBJ old = SelectObject(dc, g_font);
    DrawTextW(dc, item->name.c_str(), -1, &name, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    const std::wstring title = g_findHost.title ? g_findHost.title(static_cast<size_t>(g_index.At(static_cast<size_t>(hit)).box)) : L"";
    RECT box = {r.right - boxWidth, r.top, r.right - kPad, r.bottom};
    SetTextColor(dc, GetSysColor(chosen ? COLOR_HIGHLIGHTTEXT : COLOR_GRAYTEXT));
    SelectObject(dc, g_smallFont);
    DrawTextW(dc, title.c_str(), -1, &box, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, old);
}

void Layout(HWND hwnd) {
    RECT c = {};
    GetClientRect(hwnd, &c);
    const int edit = Scaled(kEditHeight);
    MoveWindow(Edit(), kPad, kPad, c.right - 2 * kPad, edit, TRUE);
    MoveWindow(List(), 0, edit + 2 * kPad, c.right, c.bottom - edit - 2 * kPad, TRUE);
}

void OnCreate(HWND hwnd) {
    g_font = MakeFont(16);
    g_smallFont = MakeFont(13);
    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 0, 0,
                                hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFindEditId)), Instance(), nullptr);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), FALSE);
    SetWindowSubclass(edit, EditKeys, 1, 0);
    HWND list = CreateWindowExW(0, L"LISTBOX", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_NOTIFY |
                                    LBS_NOINTEGRALHEIGHT,
                                0, 0, 0, 0, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFindListId)),
                                Instance(), nullptr);
    SendMessageW(list, LB_SETITEMHEIGHT, 0, Scaled(kRowHeight));
    Layout(hwnd);
}

LRESULT CALLBACK FindProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        g_findWnd = hwnd;
        OnCreate(hwnd);
        return 0;
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(Scaled(kRowHeight));
        return TRUE;
    case WM_DRAWITEM:
        DrawRow(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == kFindEditId && HIWORD(wParam) == EN_CHANGE) RunQuery();
        if (LOWORD(wParam) == kFindListId && HIWORD(wParam) == LBN_DBLCLK) OpenChosen();
        if (LOWORD(wParam) == kFindListId && HIWORD(wParam) == LBN_SELCHANGE) SetFocus(Edit());
        return 0;
    case WM_ACTIVATE: // a click elsewhere closes it
        if (LOWORD(wParam) == WA_INACTIVE) {
            CloseFindWindow();
        } else {
            SetFocus(Edit());
        }
        return 0;
    case WM_CLOSE:
        CloseFindWindow();
        return 0;
    case WM_DESTROY:
        g_findWnd = nullptr;
        DeleteObject(g_font);
        DeleteObject(g_smallFont);
        g_font = g_smallFont = nullptr;
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

bool MakeWindow() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(Instance(), kFindClass, &wc)) {
        wc.lpfnWndProc = FindProc;
        wc.hInstance = Instance();
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kFindClass;
        RegisterClassExW(&wc);
    }
    const int width = Scaled(kWidth);
    const int height = Scaled(kEditHeight) + 2 * kPad + Scaled(kRowHeight) * kRowsShown + 2;
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + (work.right - work.left - width) / 2;
    const int y = work.top + (work.bottom - work.top) / 5;
    CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kFindClass, kFindTitle, WS_POPUP | WS_BORDER, x, y, width, height,
                    g_hMainWnd, nullptr, Instance(), nullptr);
    return g_findWnd != nullptr;
}

} // namespace

void ShowFindWindow() {
    if (!g_findWnd && !MakeWindow()) return;
    if (g_indexStale) RebuildIndex();
    ShowWindow(g_findWnd, SW_SHOW);
    SetForegroundWindow(g_findWnd);
    SetFocus(Edit());
}

void CloseFindWindow() {
    static bool closing = false; // hiding it deactivates it, which closes it
    if (closing || !g_findWnd || !IsWindowVisible(g_findWnd)) return;
    closing = true;
    ShowWindow(g_findWnd, SW_HIDE);
    SetWindowTextW(Edit(), L""); // its change empties the list and the outlines
    closing = false;
}

bool FindWindowOpen() { return g_findWnd && IsWindowVisible(g_findWnd); }

void FindBoxesChanged() {
    g_indexStale = true;
    if (FindWindowOpen()) RunQuery();
}

bool FindRow(int row, std::wstring* name, std::wstring* boxTitle, std::wstring* path) {
    if (row < 0 || static_cast<size_t>(row) >= g_hits.size()) return false;
    const int hit = g_hits[static_cast<size_t>(row)];
    const Item* item = ItemOf(hit);
    if (!item) return false;
    if (name) *name = item->name;
    if (path) *path = item->path;
    if (boxTitle && g_findHost.title) *boxTitle = g_findHost.title(static_cast<size_t>(g_index.At(static_cast<size_t>(hit)).box));
    return true;
}

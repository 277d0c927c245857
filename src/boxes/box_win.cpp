// Box records and their windows: creation, the rebuild after the desktop changed, and the window
// procedure's non-mouse messages.
#include "boxes/box_win.h"

#include <windowsx.h>

#include "app/app_win.h"
#include "boxes/box_rules.h"
#include "boxes/drop_target_win.h"
#include "boxes/interaction_win.h"
#include "inventory/inventory_win.h"
#include "render/metrics.h"
#include "render/render_win.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"
#include "settings/lists.h"
#include "settings/settings.h"

std::vector<BoxWin*> g_boxes;
bool g_intentionalHide = false;

namespace {

constexpr int kAccentCount = 8;
// Remembered positions keep the corner only; the rest of the rectangle is a nominal size.
constexpr int kCachedWidth = 240;
constexpr int kCachedHeight = 360;

BoxWin* BoxFromHwnd(HWND hwnd) {
    return reinterpret_cast<BoxWin*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

} // namespace

int BoxIndex(const BoxWin* box) {
    for (size_t i = 0; i < g_boxes.size(); ++i)
        if (g_boxes[i] == box) return static_cast<int>(i);
    return -1;
}

void ShowBoxWindow(HWND hwnd, bool shown) {
    g_intentionalHide = !shown;
    ShowWindow(hwnd, shown ? SW_SHOW : SW_HIDE);
    g_intentionalHide = false;
}

void CreateBox(const std::wstring& key, const std::vector<Item>& items, int index) {
    BoxWin* box = new BoxWin;
    box->key = key;
    box->items = items;
    box->colorIdx = ((index % kAccentCount) + kAccentCount) % kAccentCount;

    Size size = DefaultBoxSize(g_cellW, g_cellH, items.size());
    size.h = CapDefaultHeight(size.h, PrimaryWorkArea().Height()); // the rest of a long group scrolls
    Point pos = DefaultBoxPos(index);
    const auto cached = g_posCache.find(key);
    if (cached != g_posCache.end()) pos = {cached->second.left, cached->second.top};
    if (!g_iniPath.empty()) {
        const std::wstring section = SizeSectionFor(key);
        const int mostW = GetSystemMetrics(SM_CXVIRTUALSCREEN), mostH = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        size.w = StoredLength(IniGetInt(section.c_str(), L"w", 0), kMinBoxWidth, size.w, mostW);
        size.h = StoredLength(IniGetInt(section.c_str(), L"h", 0), kMinBoxHeight, size.h, mostH);
    }
    box->width = size.w;
    box->height = size.h;

    // A tool window: no taskbar button and no Alt+Tab entry while the box is top-level.
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, WND_CLASS, key.c_str(), WS_POPUP, pos.x, pos.y, size.w, size.h,
                                nullptr, nullptr, g_hInst, nullptr);
    if (!hwnd) {
        // A record without a window would be walked by every layout pass and painted nowhere.
        LogDbg(L"CreateBox: no window for [" + key + L"]");
        delete box;
        return;
    }
    box->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box));
    g_boxes.push_back(box);
    RegisterBoxDropTarget(box);

    if (InitBoxDComp(box)) {
        ShowBoxOnDesktop(hwnd);
        DrawBox(box);
    } else {
        InitBoxFallback(box);
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        DrawBox(box);
    }
}

void DestroyAllBoxes() {
    EndBoxInteractions(); // a resize, press, drag or ghost may not point at a record once it is gone
    for (BoxWin* box : g_boxes) {
        RevokeBoxDropTarget(box);
        ReleaseBoxRender(box);
        SetWindowLongPtrW(box->hwnd, GWLP_USERDATA, 0);
        DestroyWindow(box->hwnd);
        delete box;
    }
    g_boxes.clear();
}

void RefreshBoxes() {
    // A position that cannot be read is not remembered (the box keeps its older one). Whatever
    // interaction is under way ends with the boxes it points to (DestroyAllBoxes).
    for (BoxWin* box : g_boxes) {
        RECT r = {};
        if (!box->hwnd || !GetWindowRect(box->hwnd, &r)) continue;
        g_posCache[box->key] = Rect{r.left, r.top, r.left + kCachedWidth, r.top + kCachedHeight};
    }
    DestroyAllBoxes();
    ScanAll();
    for (size_t i = 0; i < g_groups.size(); ++i)
        CreateBox(g_groups[i].first, g_groups[i].second, static_cast<int>(i));
    ResolveOverlaps(nullptr);
    KeepBoxesReachable();
}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    BoxWin* box = BoxFromHwnd(hwnd);
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        if (box) PaintBoxWindow(box, hdc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_WINDOWPOSCHANGING: {
        // Only the program's own hides (delete box, hide all) may hide a box.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if ((pos->flags & SWP_HIDEWINDOW) && !g_intentionalHide)
            pos->flags &= ~static_cast<UINT>(SWP_HIDEWINDOW);
        return 0;
    }
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) return 0;
        break;
    case WM_CLOSE:
        return 0; // Alt+F4 or a taskbar close: only the program ends a box, with its record
    case WM_SETCURSOR:
        if (OnBoxSetCursor(hwnd, lParam)) return TRUE;
        break;
    case WM_MOUSEMOVE:
        if (!box) break;
        OnBoxMouseMove(hwnd, box, x, y);
        return 0;
    case WM_MOUSELEAVE:
        OnBoxMouseLeave(hwnd, box);
        return 0;
    case WM_LBUTTONDOWN:
        if (!box) break;
        OnBoxLButtonDown(hwnd, box, x, y);
        return 0;
    case WM_LBUTTONUP:
        OnBoxLButtonUp(hwnd, box, x, y);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnBoxDoubleClick(hwnd, box, x, y);
        if (!box) break;
        return 0;
    case WM_RBUTTONUP:
        if (!box) break;
        OnBoxRButtonUp(hwnd, box, x, y);
        return 0;
    case WM_MOUSEWHEEL:
        if (!box) break;
        OnBoxWheel(hwnd, box, GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_CAPTURECHANGED:
        OnBoxCaptureChanged(hwnd, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_DROPFILES:
        OnBoxDropFiles(hwnd, box, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_DESTROY:
        RevokeDropTargetOf(hwnd); // when the window goes some other way than through its rebuild
        return 0;                 // the record is freed by whoever destroyed the window
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

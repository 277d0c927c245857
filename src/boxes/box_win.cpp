// Box records and their windows: creation, the rebuild after the desktop changed, and the window
// procedure's non-mouse messages.
#include "boxes/box_win.h"

#include <windowsx.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <utility>

#include "base/dpi_win.h"
#include "base/log_win.h"
#include "base/process_win.h"
#include "base/strutil.h"
#include "base/screen_win.h"
#include "boxes/box_classes_win.h"
#include "boxes/box_input.h"
#include "boxes/box_mouse_win.h"
#include "boxes/box_rules.h"
#include "boxes/desktop_attach_win.h"
#include "boxes/drop_target_win.h"
#include "boxes/hover_open_win.h"
#include "boxes/item_drag_win.h"
#include "boxes/layout.h"
#include "boxes/layout_fit.h"
#include "boxes/layout_win.h"
#include "boxes/name_tip_win.h"
#include "inventory/inventory_win.h"
#include "render/box_record_win.h"
#include "render/devices_win.h"
#include "render/fallback_win.h"
#include "render/paint_win.h"
#include "render/skins.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"
#include "settings/lists.h"
#include "settings/metrics.h"
#include "settings/settings.h"
#include "ui/find_win.h"

bool g_intentionalHide = false;

namespace {

int g_boxListHolds = 0;
bool g_rebuildDeferred = false;
bool g_remakeAll = false; // the next rebuild keeps no box
bool g_holdNewBoxes = false;    // new boxes wait unseen until ShowHeldBoxes
std::vector<HWND> g_heldBoxes; // their windows

BoxWin* BoxFromHwnd(HWND hwnd) {
    return reinterpret_cast<BoxWin*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

} // namespace

void ShowBoxWindow(HWND hwnd, bool shown) {
    g_intentionalHide = !shown;
    ShowWindow(hwnd, shown ? SW_SHOW : SW_HIDE);
    g_intentionalHide = false;
}

BoxListHold::BoxListHold() {
    ++g_boxListHolds;
}

BoxListHold::~BoxListHold() {
    if (--g_boxListHolds > 0 || !g_rebuildDeferred) return;
    g_rebuildDeferred = false;
    RequestBoxRefresh(); // from the main loop, with nothing held
}

bool BoxListHeld() {
    return g_boxListHolds > 0;
}

namespace {

// Where a box for a group is made and how large: its remembered corner (or its default place), its
// stored size (or the default for its items), its bottom edge within reach of a work area.
struct BoxPlan {
    Point pos;
    Size size;
    bool kept = false; // the box of the last build for this group: place, size, fold and scroll stay
    bool own = false;  // at a remembered place: the user's, kept while its title band is within reach
    bool collapsed = false;
    int scrollY = 0;
    int dpi = kBaseDpi; // of the monitor holding most of the box: the size is at it
};

BoxPlan PlanBox(const std::wstring& key, size_t itemCount, int index, const std::vector<Rect>& workAreas) {
    Point pos = DefaultBoxPos(index);
    const auto cached = g_posCache.find(key);
    const bool placed = cached != g_posCache.end();
    if (placed) pos = {cached->second.left, cached->second.top};
    // Measured for the monitor its nominal rectangle lies on most.
    const int dpi = DpiForRect(RECT{pos.x, pos.y, pos.x + kNominalBoxWidth, pos.y + kNominalBoxHeight});
    const BoxMetrics m = BoxMetricsAt(dpi);
    Size size = DefaultBoxSize(m.cellW, m.cellH, itemCount, dpi);
    size.h = CapDefaultHeight(size.h, PrimaryWorkArea().Height(), m.minH); // the rest of a long group scrolls
    bool storedHeight = false;
    if (!g_iniPath.empty()) {
        // A stored size is in pixels of the DPI it was saved at (96 when the file does not say).
        const std::wstring section = SizeSectionFor(key);
        const int savedAt = IniGetInt(section.c_str(), kSizeDpiKey, kBaseDpi);
        const Rect all = VirtualScreen();
        const int h = RescaleLen(IniGetInt(section.c_str(), L"h", 0), savedAt, dpi);
        size.w = StoredLength(RescaleLen(IniGetInt(section.c_str(), L"w", 0), savedAt, dpi), m.minW, size.w, all.Width());
        size.h = StoredLength(h, m.minH, size.h, all.Height());
        storedHeight = h >= m.minH;
    }
    const Rect box{pos.x, pos.y, pos.x + size.w, pos.y + size.h};
    BoxPlan plan;
    if (!placed) {
        // Its bottom edge within reach: a long group scrolls rather than runs off the screen.
        const Rect r = InReach(box, workAreas, kReachBottom, kMinBoxHeight);
        plan = {{r.left, r.top}, {size.w, r.Height()}};
    } else {
        // A remembered place is the user's: it is kept as a move's end keeps it, with the whole title
        // band within reach. A height the items gave is cut to the room below it (not below the
        // minimum); a height the user gave stays.
        Rect r = InReach(box, workAreas, kReachBand, kMinBoxHeight);
        if (!storedHeight) {
            const Rect area = AreaOf(r, workAreas);
            r.bottom = r.top + std::max(std::min(r.Height(), area.bottom - r.top), std::min(m.minH, r.Height()));
        }
        plan = {{r.left, r.top}, {size.w, r.Height()}};
        plan.own = true;
    }
    plan.dpi = dpi;
    return plan;
}

// The plan of a box that the last build showed for this key: where it is and how large, folded or
// not, scrolled as far as it was. None when there was no such box.
std::optional<BoxPlan> PlanFromShown(const std::vector<BoxWin*>& shown, const std::wstring& key) {
    for (const BoxWin* box : shown) {
        RECT r = {};
        if (box->key != key || !box->hwnd || !GetWindowRect(box->hwnd, &r)) continue;
        // A box open only while the pointer rests on it comes back folded.
        BoxPlan plan{{r.left, r.top}, {r.right - r.left, box->hoverOpen ? ScaleLen(kCollapsedHeight, box->dpi) : r.bottom - r.top}};
        plan.kept = true;
        plan.collapsed = box->collapsed;
        plan.scrollY = box->scrollY;
        plan.dpi = box->dpi;
        return plan;
    }
    return std::nullopt;
}

// A record as a box for the group starts: its items, its accent, nothing hovered; folded and
// scrolled as the plan says (a new box: neither).
void StartRecord(BoxWin* box, const std::vector<Item>& items, int index, const BoxPlan& plan) {
    box->items = items;
    box->colorIdx = ((index % kAccentColors) + kAccentColors) % kAccentColors;
    box->hoverIdx = -1;
    box->marked.clear();
    box->collapsed = plan.collapsed;
    box->dpi = plan.dpi;
    const BoxMetrics m = BoxMetricsOf(box);
    const int most = MaxScrollY(items.size(), plan.size.w, plan.size.h, m.cellW, m.cellH, m.dpi);
    box->scrollY = std::max(0, std::min(plan.scrollY, most));
}

// A tool window: no taskbar button and no Alt+Tab entry while the box is top-level. As a child of the
// shell's window it tells the shell nothing when it comes or goes: a hung shell never holds us up.
bool MakeBoxWindow(BoxWin* box, const BoxPlan& plan, DWORD exStyle) {
    box->hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOPARENTNOTIFY | exStyle, WND_CLASS, box->key.c_str(), WS_POPUP, plan.pos.x,
                                plan.pos.y, plan.size.w, plan.size.h, nullptr, nullptr, g_hInst, nullptr);
    return box->hwnd != nullptr;
}

void MakeBox(const std::wstring& key, const std::vector<Item>& items, int index, const BoxPlan& plan) {
    // Attaching the window waits on the shell, which lets messages of other threads and processes
    // in: a rebuild they ask for waits until this box is complete.
    BoxListHold hold;
    BoxWin* box = new BoxWin;
    box->key = key;
    StartRecord(box, items, index, plan);
    box->width = plan.size.w;
    box->height = plan.size.h;

    // A box that composes has a window without a redirection surface: nothing unpainted lies under its
    // translucent pixels while it is top-level. Where composition cannot be set up, the box is drawn
    // into a bitmap shown by a window of its own that has one.
    const bool composed = CompositionReady() && MakeBoxWindow(box, plan, WS_EX_NOREDIRECTIONBITMAP) && InitBoxDComp(box);
    if (!composed) {
        if (box->hwnd) {
            ReleaseBoxRender(box);
            DestroyWindow(std::exchange(box->hwnd, nullptr));
        }
        if (!MakeBoxWindow(box, plan, 0)) {
            // A record without a window would be walked by every layout pass and painted nowhere.
            LogDbg(L"CreateBox: no window for [" + key + L"]");
            delete box;
            return;
        }
    }
    HWND hwnd = box->hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box));
    g_boxes.push_back(box);
    RegisterBoxDropTarget(box);

    // Either drawing path: the bitmap one is attached as a layered child.
    if (!composed) InitBoxFallback(box);
    if (g_holdNewBoxes) {
        g_heldBoxes.push_back(hwnd);
        return;
    }
    ShowBoxOnDesktop(hwnd);
    // The shell may have ended meanwhile and taken the window with its desktop window.
    box = LiveBox(hwnd);
    if (!box || !IsWindow(hwnd)) return;
    DrawBox(box);
}

void DestroyBoxes(const std::vector<BoxWin*>& boxes) {
    for (BoxWin* box : boxes) {
        RevokeBoxDropTarget(box);
        ReleaseBoxRender(box);
        SetWindowLongPtrW(box->hwnd, GWLP_USERDATA, 0);
        DestroyWindow(box->hwnd);
        delete box;
    }
}

// A box of the last build that a group of this one can keep: same key, a window still shown, and
// the size a new box would get (its surface fits as it is). Taken out of `old`; null for none.
BoxWin* TakeKeptBox(std::vector<BoxWin*>& old, const std::wstring& key, const BoxPlan& plan) {
    for (auto it = old.begin(); it != old.end(); ++it) {
        BoxWin* box = *it;
        if (box->key != key) continue;
        if (!box->hwnd || !IsWindowVisible(box->hwnd) || box->width != plan.size.w || box->height != plan.size.h)
            return nullptr;
        RECT client = {};
        if (!GetClientRect(box->hwnd, &client) || client.right != plan.size.w || client.bottom != plan.size.h)
            return nullptr;
        old.erase(it);
        return box;
    }
    return nullptr;
}

// A kept box becomes what a new one would be: the same record, window, surface and drop target,
// with the group's items at the planned place. Its picture is drawn again only when what it shows
// changed.
void RenewBox(BoxWin* box, const std::vector<Item>& items, int index, const BoxPlan& plan) {
    StartRecord(box, items, index, plan);
    if (RenewBoxFormats(box)) ForgetBoxPicture(box);
    SetBoxPos(box->hwnd, plan.pos.x, plan.pos.y, 0, 0, SWP_NOSIZE);
    g_boxes.push_back(box);
    DrawBox(box);
}

} // namespace

void CreateBox(const std::wstring& key, const std::vector<Item>& items, int index) {
    MakeBox(key, items, index, PlanBox(key, items.size(), index, MonitorWorkAreas()));
}

void DestroyAllBoxes() {
    EndBoxInteractions(); // a resize, press, drag or ghost may not point at a record once it is gone
    DestroyBoxes(g_boxes);
    g_boxes.clear();
}

namespace {

void Rebuild(bool scan) {
    if (BoxListHeld()) {
        g_rebuildDeferred = true; // runs once the records in use are let go
        return;
    }
    BoxListHold hold; // nothing dispatched while boxes are made rebuilds in the middle of it
    const bool remake = std::exchange(g_remakeAll, false);
    const auto started = std::chrono::steady_clock::now();
    // A position that cannot be read is not remembered (the box keeps its older one).
    for (BoxWin* box : g_boxes) {
        RECT r = {};
        if (!box->hwnd || !GetWindowRect(box->hwnd, &r)) continue;
        g_posCache[box->key] = Rect{r.left, r.top, r.left + kNominalBoxWidth, r.top + kNominalBoxHeight};
    }
    // Whatever interaction is under way ends, as with boxes made anew.
    EndBoxInteractions();
    if (scan) ScanAll();
    const std::vector<Rect> workAreas = MonitorWorkAreas();
    std::vector<BoxPlan> plans;
    plans.reserve(g_groups.size());
    // A box shown before keeps its place and size (entries it cannot hold scroll); only a new one is
    // placed.
    for (size_t i = 0; i < g_groups.size(); ++i) {
        const auto shown = PlanFromShown(g_boxes, g_groups[i].first);
        plans.push_back(shown ? *shown
                              : PlanBox(g_groups[i].first, g_groups[i].second.size(), static_cast<int>(i), workAreas));
    }
    // The result is that of every box made anew; only what would come out the same is kept. Boxes
    // that go are destroyed before any is made.
    std::vector<BoxWin*> old;
    old.swap(g_boxes);
    std::vector<BoxWin*> kept(g_groups.size(), nullptr);
    for (size_t i = 0; i < g_groups.size() && !remake; ++i) kept[i] = TakeKeptBox(old, g_groups[i].first, plans[i]);
    DestroyBoxes(old);
    for (size_t i = 0; i < g_groups.size(); ++i) {
        const int index = static_cast<int>(i);
        if (kept[i]) {
            RenewBox(kept[i], g_groups[i].second, index, plans[i]);
        } else {
            MakeBox(g_groups[i].first, g_groups[i].second, index, plans[i]);
        }
    }
    // New boxes find their places around the boxes that were there, which stay as they are.
    std::vector<BoxWin*> staying, own;
    for (BoxWin* box : g_boxes)
        for (size_t i = 0; i < g_groups.size(); ++i) {
            if (g_groups[i].first != box->key) continue;
            if (plans[i].kept) staying.push_back(box);
            if (plans[i].own) own.push_back(box);
        }
    SettleBoxes(staying, own);
    for (BoxWin* box : g_boxes) FollowBoxDpi(box); // one that settled onto a monitor of another scale
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    LogDbg(L"REBUILD boxes=" + std::to_wstring(g_boxes.size()) + L" ms=" + std::to_wstring(ms.count()));
    FindBoxesChanged(); // an open find window finds among what the boxes now hold
}

} // namespace

void RefreshBoxes() { Rebuild(true); }

void RebuildBoxesFromGroups() { Rebuild(false); }

bool TakeNewItems(const std::wstring& key, const std::vector<Item>& items) {
    const auto it = std::find_if(g_boxes.begin(), g_boxes.end(), [&](const BoxWin* b) { return b->key == key; });
    if (it == g_boxes.end()) return false;
    BoxWin* box = *it;
    box->items = items;
    RECT client = {};
    if (!box->hwnd || !GetClientRect(box->hwnd, &client)) client = {0, 0, box->width, box->height};
    const BoxMetrics m = BoxMetricsOf(box);
    const int most = MaxScrollY(items.size(), client.right, client.bottom, m.cellW, m.cellH, m.dpi);
    box->scrollY = std::max(0, std::min(box->scrollY, most));
    const int hovered = box->hoverIdx;
    if (box->hoverIdx >= static_cast<int>(items.size())) box->hoverIdx = -1;
    if (hovered >= 0) FollowHoverWithNameTip(box, box->hoverIdx); // the tooltip names the entry there now
    // The picture tells items apart by their list and count alone: a rename keeps both.
    ForgetBoxPicture(box);
    MarkBoxDirty(box);
    return true;
}

void SaveBoxSize(const BoxWin* box) {
    const std::wstring section = SizeSectionFor(box->key);
    IniWrite(section.c_str(), L"w", IntToW(box->width));
    IniWrite(section.c_str(), L"h", IntToW(box->height));
    // Absent means 96: a file written on a 96-dpi monitor stays as it always was.
    if (box->dpi != kBaseDpi) {
        IniWrite(section.c_str(), kSizeDpiKey, IntToW(box->dpi));
    } else {
        IniDeleteKey(section.c_str(), kSizeDpiKey);
    }
}

void FollowBoxDpi(BoxWin* box) {
    if (!box || !box->hwnd) return;
    const int dpi = DpiForWindowRect(box->hwnd);
    RECT r = {};
    if (dpi == box->dpi || !GetWindowRect(box->hwnd, &r)) return;
    const int was = box->dpi;
    LogDbg(L"DPI [" + box->key + L"] " + std::to_wstring(was) + L" -> " + std::to_wstring(dpi));
    box->dpi = dpi;
    const BoxMetrics m = BoxMetricsOf(box);
    // The same size to the eye: the lengths follow the scale, a folded box keeps its folded height.
    const int w = std::max(RescaleLen(box->width, was, dpi), m.minW);
    const int h = box->collapsed ? m.collapsedH : std::max(RescaleLen(box->height, was, dpi), m.minH);
    const int most = MaxScrollY(box->items.size(), w, h, m.cellW, m.cellH, m.dpi);
    box->scrollY = std::max(0, std::min(RescaleLen(box->scrollY, was, dpi), most));
    RebuildBoxFormats(box);
    SetBoxPos(box->hwnd, r.left, r.top, w, h, 0);
    ResizeBoxRender(box, w, h);
    MarkBoxDirty(box);
}

void FollowAllBoxesDpi() {
    const std::vector<BoxWin*> boxes = g_boxes; // resizing dispatches nothing that rebuilds: holds below
    BoxListHold hold;
    for (BoxWin* box : boxes) FollowBoxDpi(box);
}

void HoldNewBoxes() { g_holdNewBoxes = true; }

void ShowHeldBoxes() {
    g_holdNewBoxes = false;
    std::vector<HWND> held;
    held.swap(g_heldBoxes);
    for (HWND hwnd : held) {
        if (!LiveBox(hwnd)) continue; // destroyed meanwhile by a rebuild
        ShowBoxOnDesktop(hwnd);
        // The shell may have ended meanwhile and taken the window with its desktop window. A picture
        // drawn while it was held went with its layered style when it was attached.
        BoxWin* box = LiveBox(hwnd);
        if (!box || !IsWindow(hwnd)) continue;
        ForgetBoxPicture(box);
        DrawBox(box);
    }
}

void RemakeAllBoxes() {
    g_remakeAll = true;
    RefreshBoxes();
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
    case WM_TIMER:
        if (OnHoverOpenTimer(box, static_cast<UINT_PTR>(wParam))) return 0;
        break;
    case WM_CAPTURECHANGED:
        OnBoxCaptureChanged(hwnd, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_DPICHANGED:            // a top-level box (moved by its title) entered another monitor
    case WM_DPICHANGED_AFTERPARENT: // the desktop window holding it changed scale
        if (box) FollowBoxDpi(box);
        return 0;
    case WM_DROPFILES:
        OnBoxDropFiles(hwnd, box, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_DESTROY:
        RevokeDropTargetOf(hwnd); // when the window goes some other way than through its rebuild
        if (box) OnBoxWindowLost(box); // a rebuild lets go of the record first: someone else did it
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

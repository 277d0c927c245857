// The live box windows as a desk for the layout decisions: rectangles from the windows, moves
// through SetBoxPos, every new position saved at once.
#include "boxes/layout_win.h"

#include <algorithm>

#include "base/dpi_win.h"
#include "base/screen_win.h"
#include "boxes/box_rules.h"
#include "boxes/box_win.h"
#include "boxes/desktop_attach_win.h"
#include "boxes/display_set.h"
#include "boxes/layout.h"
#include "boxes/layout_fit.h"
#include "render/box_record_win.h"
#include "render/paint_win.h"
#include "settings/ini_win.h"
#include "settings/lists.h"
#include "settings/lists_win.h"
#include "settings/metrics.h"
#include "settings/settings.h"

namespace {

// Moving a window of the desktop layer can wait on the shell: the desk holds the box list.
class LiveDesk : public BoxDesk {
  public:
    int Count() const override { return static_cast<int>(g_boxes.size()); }
    Rect RectOf(int i) const override {
        RECT r = {};
        GetWindowRect(g_boxes[static_cast<size_t>(i)]->hwnd, &r);
        return FromRECT(r);
    }
    void Move(int i, int x, int y) override {
        BoxWin* box = g_boxes[static_cast<size_t>(i)];
        SetBoxPos(box->hwnd, x, y, 0, 0, SWP_NOSIZE);
        SavePos(box->key, x, y);
    }
    void Place(int i, const Rect& r) override {
        BoxWin* box = g_boxes[static_cast<size_t>(i)];
        SetBoxPos(box->hwnd, r.left, r.top, r.Width(), r.Height(), 0);
        if (box->width != r.Width() || box->height != r.Height()) {
            box->width = r.Width();
            box->height = r.Height();
            const BoxMetrics m = BoxMetricsOf(box);
            const int most = MaxScrollY(box->items.size(), box->width, box->height, m.cellW, m.cellH, m.dpi);
            box->scrollY = std::max(0, std::min(box->scrollY, most));
            ResizeBoxRender(box, box->width, box->height);
        }
        SavePos(box->key, r.left, r.top);
    }
    Size Screen() const override { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

  private:
    BoxListHold hold_;
    IniBatch ini_; // the places it saves are written once per box at its end
};

} // namespace

void PlaceNewBox(const std::wstring& key) {
    if (g_posCache.count(key)) return;
    std::vector<Rect> others;
    for (const BoxWin* box : g_boxes) {
        RECT r = {};
        if (GetWindowRect(box->hwnd, &r)) others.push_back(FromRECT(r));
    }
    const Rect area = PrimaryWorkArea();
    const BoxMetrics m = BoxMetricsAt(DpiForRect(RECT{area.left, area.top, area.right, area.bottom}));
    const auto at = FreePlaceIn(others, DefaultBoxSize(m.cellW, m.cellH, 0, m.dpi), area);
    if (at) g_posCache[key] = Rect{at->x, at->y, at->x + kNominalBoxWidth, at->y + kNominalBoxHeight};
}

bool KeepTitleInReach(HWND hwnd) {
    RECT r = {};
    if (!GetWindowRect(hwnd, &r)) return false;
    const Rect now = FromRECT(r);
    const Rect to = InReach(now, MonitorWorkAreas(), kReachBand, kMinBoxHeight);
    if (to == now) return false;
    SetBoxPos(hwnd, to.left, to.top, 0, 0, SWP_NOSIZE);
    return true;
}

bool OverlapsAnyExcept(const RECT& r, BoxWin* box) {
    LiveDesk desk;
    return OverlapsAnyExcept(desk, FromRECT(r), BoxIndex(box));
}

bool OverlapsAnyExcept2(const RECT& r, BoxWin* b1, BoxWin* b2, int margin) {
    LiveDesk desk;
    return OverlapsAnyExcept2(desk, FromRECT(r), BoxIndex(b1), BoxIndex(b2), margin);
}

bool FindFreeSpot(BoxWin* box) {
    LiveDesk desk;
    return FindFreeSpot(desk, BoxIndex(box));
}

bool PushBoxAway(BoxWin* box, BoxWin* anchor) {
    LiveDesk desk;
    return PushBoxAway(desk, BoxIndex(box), BoxIndex(anchor));
}

namespace {

std::vector<Rect> MonitorRects(const std::vector<MonitorInfo>& monitors) {
    std::vector<Rect> out;
    for (const MonitorInfo& m : monitors) (m.primary ? out.insert(out.begin(), m.rect) : out.insert(out.end(), m.rect));
    return out;
}

std::vector<int> IndexesOf(const std::vector<BoxWin*>& boxes) {
    std::vector<int> out;
    for (const BoxWin* box : boxes)
        if (BoxIndex(box) >= 0) out.push_back(BoxIndex(box));
    return out;
}

} // namespace

void ResolveOverlaps(BoxWin* anchor) {
    if (!g_noOverlap) return;
    LiveDesk desk;
    const int at = anchor ? BoxIndex(anchor) : -1;
    const std::vector<MonitorInfo> monitors = Monitors();
    if (monitors.size() == 1) ResolveOverlaps(desk, at);
    // What the pushes and the free-spot search left over, and every box wholly on a work area: the
    // anchor keeps its place where it can.
    const std::vector<int> anchored = at >= 0 ? std::vector<int>{at} : std::vector<int>{};
    SettleBoxes(desk, WorkAreasOf(monitors), true, anchored, 0, anchored);
}

void PushBoxesLive(BoxWin* box) {
    LiveDesk desk;
    PushBoxesLive(desk, BoxIndex(box), MonitorRects(Monitors()));
}

void SettleBoxes(const std::vector<BoxWin*>& staying, const std::vector<BoxWin*>& own) {
    LiveDesk desk;
    const std::vector<int> first = IndexesOf(staying);
    SettleBoxes(desk, MonitorWorkAreas(), g_noOverlap, first, first.size(), IndexesOf(own));
}

void SettleStartedBoxes(const std::set<std::wstring>& storedKeys) {
    LiveDesk desk;
    const std::vector<MonitorInfo> monitors = Monitors();
    if (g_noOverlap && monitors.size() == 1) ResolveOverlaps(desk, -1);
    std::vector<int> own;
    for (size_t i = 0; i < g_boxes.size(); ++i)
        if (storedKeys.count(g_boxes[i]->key)) own.push_back(static_cast<int>(i));
    SettleBoxes(desk, WorkAreasOf(monitors), g_noOverlap, own, 0, own);
}

void ChangeDisplaysLive(const std::vector<std::optional<Point>>& saved, const std::vector<MonitorInfo>& from,
                        const std::vector<MonitorInfo>& to) {
    LiveDesk desk;
    ChangeDisplays(desk, saved, from, to, g_noOverlap);
}

void FitExpandedBox(BoxWin* box) {
    LiveDesk desk;
    FitExpanded(desk, BoxIndex(box), MonitorWorkAreas(), g_noOverlap);
}

void AutoArrange() {
    LiveDesk desk;
    // Columns that would run off the work area go to the next one, or all boxes get shorter.
    ArrangeToFit(desk, MonitorWorkAreas());
    RenderAll();
}

// The live box windows as a desk for the layout decisions: rectangles from the windows, moves
// through SetBoxPos, every new position saved at once.
#include "boxes/box_win.h"
#include "boxes/layout.h"
#include "render/render_win.h"
#include "settings/lists_win.h"

namespace {

Rect FromRECT(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

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
    Size Screen() const override { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }
};

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM out) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<Rect>*>(out)->push_back(FromRECT(info.rcWork));
    return TRUE;
}

// The primary monitor's work area (where boxes are brought back to) and every monitor's.
Rect HomeArea() {
    RECT r = {};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0) && r.right > r.left && r.bottom > r.top)
        return FromRECT(r);
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::vector<Rect> WorkAreas() {
    std::vector<Rect> areas;
    EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

int IndexOf(const BoxWin* box) {
    for (size_t i = 0; i < g_boxes.size(); ++i)
        if (g_boxes[i] == box) return static_cast<int>(i);
    return -1;
}

} // namespace

bool OverlapsAnyExcept(const RECT& r, BoxWin* box) {
    LiveDesk desk;
    return OverlapsAnyExcept(desk, FromRECT(r), IndexOf(box));
}

bool OverlapsAnyExcept2(const RECT& r, BoxWin* b1, BoxWin* b2, int margin) {
    LiveDesk desk;
    return OverlapsAnyExcept2(desk, FromRECT(r), IndexOf(b1), IndexOf(b2), margin);
}

bool FindFreeSpot(BoxWin* box) {
    LiveDesk desk;
    return FindFreeSpot(desk, IndexOf(box));
}

bool PushBoxAway(BoxWin* box, BoxWin* anchor) {
    LiveDesk desk;
    return PushBoxAway(desk, IndexOf(box), IndexOf(anchor));
}

void ResolveOverlaps(BoxWin* anchor) {
    LiveDesk desk;
    ResolveOverlaps(desk, anchor ? IndexOf(anchor) : -1);
}

void PushBoxesLive(BoxWin* box) {
    LiveDesk desk;
    PushBoxesLive(desk, IndexOf(box));
}

void KeepBoxesReachable() {
    LiveDesk desk;
    KeepBoxesReachable(desk, HomeArea(), WorkAreas());
}

void AutoArrange() {
    LiveDesk desk;
    AutoArrange(desk);
    // Columns that run out of screen on the left come back where a free place is.
    KeepBoxesReachable(desk, HomeArea(), WorkAreas());
    RenderAll();
}

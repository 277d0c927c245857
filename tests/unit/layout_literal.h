// The overlap and arrangement rules written out step by step, reading every rectangle afresh for
// every test and moving 1 pixel or one ring corner at a time. The fast versions must decide exactly
// as these do; the equivalence test and the benchmark compare the two.
#pragma once
#include <algorithm>
#include <vector>

#include "boxes/layout.h"
#include "settings/settings.h"

namespace literal {

inline bool FindFreeSpot(BoxDesk& desk, int box) {
    const Rect me = desk.RectOf(box);
    const int w = me.Width(), h = me.Height();
    const Size s = desk.Screen();
    for (int r = kRingStep; r <= s.w + s.h; r += kRingStep)
        for (int dy = -r; dy <= r; dy += kRingStep)
            for (int dx = -r; dx <= r; dx += kRingStep) {
                if (AbsI(dx) != r && AbsI(dy) != r) continue;
                const int x = me.left + dx, y = me.top + dy;
                if (x < 0 || y < 0 || x + w > s.w || y + h > s.h) continue;
                if (OverlapsAnyExcept(desk, Rect{x, y, x + w, y + h}, box)) continue;
                desk.Move(box, x, y);
                return true;
            }
    return false;
}

inline bool PushBoxAway(BoxDesk& desk, int box, int anchor) {
    const Rect me = desk.RectOf(box);
    const Rect an = desk.RectOf(anchor);
    const int w = me.Width(), h = me.Height();
    const Size s = desk.Screen();
    const int dx = (me.left + me.right) / 2 - (an.left + an.right) / 2;
    const int dy = (me.top + me.bottom) / 2 - (an.top + an.bottom) / 2;
    int sx = 0, sy = 0;
    if (AbsI(dx) >= AbsI(dy))
        sx = dx >= 0 ? 1 : -1;
    else
        sy = dy >= 0 ? 1 : -1;
    int x = me.left, y = me.top;
    for (;;) {
        const int nx = x + sx, ny = y + sy;
        if (nx < 0 || ny < 0 || nx + w > s.w || ny + h > s.h) break;
        if (OverlapsAnyExcept2(desk, Rect{nx, ny, nx + w, ny + h}, box, anchor, 0)) break;
        x = nx;
        y = ny;
    }
    if (!RectsOverlap(Rect{x, y, x + w, y + h}, desk.RectOf(anchor))) {
        if (x == me.left && y == me.top) return false; // never took a step
        desk.Move(box, x, y);
        return true;
    }
    auto tryAt = [&](int cx) {
        const Rect c{cx, 0, cx + w, h};
        if (OverlapsAnyExcept2(desk, c, box, anchor, 0) || RectsOverlap(c, desk.RectOf(anchor))) return false;
        desk.Move(box, cx, 0);
        return true;
    };
    for (int cx = an.right; cx >= 0 && cx + w <= s.w; ++cx)
        if (tryAt(cx)) return true;
    for (int cx = an.left - w; cx >= 0 && cx + w <= s.w; --cx)
        if (tryAt(cx)) return true;
    return false;
}

inline void ResolveOverlaps(BoxDesk& desk, int anchor) {
    if (!g_noOverlap) return;
    for (int pass = 0; pass < kResolvePasses; ++pass) {
        bool moved = false;
        for (int x = 0; x < desk.Count() && !moved; ++x) {
            if (x == anchor) continue;
            bool overlaps = false;
            for (int o = 0; o < desk.Count(); ++o)
                if (o != x && RectsOverlap(desk.RectOf(x), desk.RectOf(o))) overlaps = true;
            if (!overlaps) continue;
            if (anchor >= 0) moved = literal::PushBoxAway(desk, x, anchor);
            if (!moved) moved = literal::FindFreeSpot(desk, x);
        }
        if (!moved) return;
    }
}

inline void PushBoxesLive(BoxDesk& desk, int resized) {
    if (!g_noOverlap) return;
    const Size s = desk.Screen();
    for (int pass = 0; pass < kLivePushPasses; ++pass) {
        const Rect d = desk.RectOf(resized);
        bool moved = false;
        for (int o = 0; o < desk.Count(); ++o) {
            if (o == resized) continue;
            const Rect r = desk.RectOf(o);
            if (!RectsOverlap(r, d)) continue;
            const int iw = std::min(r.right, d.right) - std::max(r.left, d.left);
            const int ih = std::min(r.bottom, d.bottom) - std::max(r.top, d.top);
            const int ocx = r.left + r.Width() / 2, ocy = r.top + r.Height() / 2;
            const int dcx = (d.left + d.right) / 2, dcy = (d.top + d.bottom) / 2;
            int nx = r.left, ny = r.top;
            if (iw <= ih)
                nx = ocx >= dcx ? d.right : d.left - r.Width();
            else
                ny = ocy >= dcy ? d.bottom : d.top - r.Height();
            if (nx < 0) nx = 0;
            if (ny < 0) ny = 0;
            if (nx + r.Width() > s.w) nx = s.w - r.Width();
            if (ny + r.Height() > s.h) ny = s.h - r.Height();
            if (nx != r.left || ny != r.top) {
                desk.Move(o, nx, ny);
                moved = true;
            }
        }
        if (!moved) return;
    }
}

inline void AutoArrange(BoxDesk& desk) {
    std::vector<int> order;
    for (int i = 0; i < desk.Count(); ++i)
        order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const Rect ra = desk.RectOf(a), rb = desk.RectOf(b);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    const Size s = desk.Screen();
    int right = s.w, y = 0, colW = 0;
    bool empty = true;
    for (int i : order) {
        const Rect r = desk.RectOf(i);
        if (!empty && y + r.Height() > s.h) {
            right -= colW;
            y = 0;
            colW = 0;
            empty = true;
        }
        desk.Move(i, right - r.Width(), y);
        y += r.Height();
        colW = std::max(colW, r.Width());
        empty = false;
    }
}

} // namespace literal

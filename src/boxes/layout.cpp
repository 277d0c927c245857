#include "boxes/layout.h"

#include <algorithm>
#include <vector>

#include "boxes/layout_fit.h"
#include "settings/settings.h"

// Each operation reads every rectangle once (per pass where passes exist) and decides on that copy:
// only the operation itself moves boxes, and it ends its pass at the first move, so the copy is the
// state the windows are in. Searches that would test one candidate corner after another against
// every box instead compute, per blocking box, the whole range of corners it rules out.

bool RectsOverlap(const Rect& a, const Rect& b) {
    return a.right > b.left && a.left < b.right && a.bottom > b.top && a.top < b.bottom;
}

long long OverlapArea(const Rect& a, const Rect& b) {
    const long long w = std::min<long long>(a.right, b.right) - std::max<long long>(a.left, b.left);
    const long long h = std::min<long long>(a.bottom, b.bottom) - std::max<long long>(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

bool RectsOverlapGap(const Rect& a, const Rect& b, int m) {
    return a.right + m > b.left && a.left < b.right + m && a.bottom + m > b.top && a.top < b.bottom + m;
}

int AbsI(int v) {
    return v < 0 ? -v : v;
}

bool OverlapsAnyExcept(const BoxDesk& desk, const Rect& r, int except) {
    for (int i = 0; i < desk.Count(); ++i)
        if (i != except && RectsOverlap(r, desk.RectOf(i))) return true;
    return false;
}

bool OverlapsAnyExcept2(const BoxDesk& desk, const Rect& r, int b1, int b2, int m) {
    for (int i = 0; i < desk.Count(); ++i)
        if (i != b1 && i != b2 && RectsOverlapGap(r, desk.RectOf(i), m)) return true;
    return false;
}

namespace {

using Rects = std::vector<Rect>;

Rects ReadAll(const BoxDesk& desk) {
    Rects r(static_cast<size_t>(desk.Count()));
    for (int i = 0; i < desk.Count(); ++i)
        r[static_cast<size_t>(i)] = desk.RectOf(i);
    return r;
}

long long FloorDiv(long long a, long long b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
long long CeilDiv(long long a, long long b) {
    return -FloorDiv(-a, b);
}

// Closed range [lo, hi] of one coordinate; empty when lo > hi.
struct Span {
    long long lo;
    long long hi;
};

// Corners c (one axis) at which a box of length len starting at c overlaps [bLo, bHi): c + len > bLo
// and c < bHi.
Span BlockedCorners(int bLo, int bHi, int len) {
    return {static_cast<long long>(bLo) - len + 1, static_cast<long long>(bHi) - 1};
}

// ---- free-spot search ----

bool FindFreeSpotIn(BoxDesk& desk, const Rects& rects, int i, Size screen) {
    const Rect me = rects[static_cast<size_t>(i)];
    const long long w = me.Width(), h = me.Height();
    const long long kMax = FloorDiv(static_cast<long long>(screen.w) + screen.h, kRingStep);
    if (kMax < 1) return false;
    // Lattice corners (left + 16 ci, top + 16 cj) that keep the box on the screen, within the rings.
    const long long iMin = std::max(-kMax, CeilDiv(-static_cast<long long>(me.left), kRingStep));
    const long long iMax = std::min(kMax, FloorDiv(screen.w - w - me.left, kRingStep));
    const long long jMin = std::max(-kMax, CeilDiv(-static_cast<long long>(me.top), kRingStep));
    const long long jMax = std::min(kMax, FloorDiv(screen.h - h - me.top, kRingStep));
    if (iMin > iMax || jMin > jMax) return false;
    const long long ni = iMax - iMin + 1, nj = jMax - jMin + 1;

    // Count, per lattice corner, the boxes it would overlap (2-D difference array, then sums).
    std::vector<int> blocked(static_cast<size_t>((ni + 1) * (nj + 1)), 0);
    auto at = [&](long long ci, long long cj) -> int& {
        return blocked[static_cast<size_t>((cj - jMin) * (ni + 1) + (ci - iMin))];
    };
    for (size_t b = 0; b < rects.size(); ++b) {
        if (static_cast<int>(b) == i) continue;
        const Span xs = BlockedCorners(rects[b].left, rects[b].right, static_cast<int>(w));
        const Span ys = BlockedCorners(rects[b].top, rects[b].bottom, static_cast<int>(h));
        const long long i0 = std::max(iMin, CeilDiv(xs.lo - me.left, kRingStep));
        const long long i1 = std::min(iMax, FloorDiv(xs.hi - me.left, kRingStep));
        const long long j0 = std::max(jMin, CeilDiv(ys.lo - me.top, kRingStep));
        const long long j1 = std::min(jMax, FloorDiv(ys.hi - me.top, kRingStep));
        if (i0 > i1 || j0 > j1) continue;
        ++at(i0, j0);
        --at(i1 + 1, j0);
        --at(i0, j1 + 1);
        ++at(i1 + 1, j1 + 1);
    }
    for (long long cj = jMin; cj <= jMax; ++cj)
        for (long long ci = iMin; ci <= iMax; ++ci) {
            int v = at(ci, cj);
            if (ci > iMin) v += at(ci - 1, cj);
            if (cj > jMin) v += at(ci, cj - 1);
            if (ci > iMin && cj > jMin) v -= at(ci - 1, cj - 1);
            at(ci, cj) = v;
        }

    // Rings in order; rows top to bottom, each row left to right, only the ring's own corners.
    const long long reach = std::max(std::max(-iMin, iMax), std::max(-jMin, jMax));
    const long long kLast = std::min(kMax, reach);
    for (long long k = 1; k <= kLast; ++k) {
        const long long row0 = std::max(-k, jMin), row1 = std::min(k, jMax);
        for (long long cj = row0; cj <= row1; ++cj) {
            long long found = 0;
            bool hit = false;
            if (cj == -k || cj == k) {
                for (long long ci = std::max(-k, iMin); ci <= std::min(k, iMax) && !hit; ++ci)
                    if (at(ci, cj) == 0) hit = true, found = ci;
            } else {
                if (-k >= iMin && -k <= iMax && at(-k, cj) == 0)
                    hit = true, found = -k;
                else if (k >= iMin && k <= iMax && at(k, cj) == 0)
                    hit = true, found = k;
            }
            if (hit) {
                desk.Move(i, static_cast<int>(me.left + kRingStep * found),
                          static_cast<int>(me.top + kRingStep * cj));
                return true;
            }
        }
    }
    return false;
}

// ---- push away from an anchor ----

// Blocked corner ranges along one axis for a box that keeps its other axis at [cross0, cross0 + crossLen).
std::vector<Span> Blockers(const Rects& rects, int i, int anchor, bool horizontal, int cross0, int crossLen,
                           int len, bool withAnchor) {
    std::vector<Span> out;
    for (size_t b = 0; b < rects.size(); ++b) {
        const int bi = static_cast<int>(b);
        if (bi == i || (bi == anchor && !withAnchor)) continue;
        const Rect& r = rects[b];
        const int cLo = horizontal ? r.top : r.left, cHi = horizontal ? r.bottom : r.right;
        if (!(cross0 + crossLen > cLo && cross0 < cHi)) continue;
        const Span s =
            horizontal ? BlockedCorners(r.left, r.right, len) : BlockedCorners(r.top, r.bottom, len);
        if (s.lo <= s.hi) out.push_back(s);
    }
    return out;
}

// Where a 1-pixel slide from `start` in direction dir (+1 or -1) stops: the last corner before the
// first one that leaves [0, limit] (limit = screen length - box length) or falls into a blocker.
long long SlideEnd(long long start, int dir, long long limit, bool crossOnScreen,
                   const std::vector<Span>& blockers) {
    const long long first = start + dir;
    if (!crossOnScreen || first < 0 || first > limit) return start;
    long long stop = dir > 0 ? limit + 1 : -1; // first corner off the screen
    for (const Span& s : blockers) {
        if (dir > 0) {
            const long long c = std::max(first, s.lo);
            if (c <= s.hi) stop = std::min(stop, c);
        } else {
            const long long c = std::min(first, s.hi);
            if (c >= s.lo) stop = std::max(stop, c);
        }
    }
    return stop - dir;
}

// First corner from `start` in direction dir that lies in [0, limit] and in no blocker; -1 if none.
long long FirstFree(long long start, int dir, long long limit, const std::vector<Span>& blockers) {
    long long x = start;
    for (bool moved = true; moved;) {
        moved = false;
        for (const Span& s : blockers)
            if (x >= s.lo && x <= s.hi) {
                x = dir > 0 ? s.hi + 1 : s.lo - 1;
                moved = true;
            }
    }
    return (x >= 0 && x <= limit) ? x : -1;
}

bool PushBoxAwayIn(BoxDesk& desk, const Rects& rects, int i, int anchor, Size screen) {
    const Rect me = rects[static_cast<size_t>(i)];
    const Rect an = rects[static_cast<size_t>(anchor)];
    const int w = me.Width(), h = me.Height();
    const int dx = (me.left + me.right) / 2 - (an.left + an.right) / 2;
    const int dy = (me.top + me.bottom) / 2 - (an.top + an.bottom) / 2;
    const bool horizontal = AbsI(dx) >= AbsI(dy);
    const int dir = horizontal ? (dx >= 0 ? 1 : -1) : (dy >= 0 ? 1 : -1);

    int x = me.left, y = me.top;
    if (horizontal) {
        const bool crossOk = me.top >= 0 && me.top + h <= screen.h;
        x = static_cast<int>(SlideEnd(me.left, dir, static_cast<long long>(screen.w) - w, crossOk,
                                      Blockers(rects, i, anchor, true, me.top, h, w, false)));
    } else {
        const bool crossOk = me.left >= 0 && me.left + w <= screen.w;
        y = static_cast<int>(SlideEnd(me.top, dir, static_cast<long long>(screen.h) - h, crossOk,
                                      Blockers(rects, i, anchor, false, me.left, w, h, false)));
    }
    const Rect slid{x, y, x + w, y + h};
    if (!RectsOverlap(slid, an)) {
        // A slide that cannot take a single step has not moved the box away from anything.
        if (x == me.left && y == me.top) return false;
        desk.Move(i, x, y);
        return true;
    }

    // Fall back to the top edge of the screen, right of the anchor first, then left of it.
    const long long limit = static_cast<long long>(screen.w) - w;
    const std::vector<Span> top = Blockers(rects, i, anchor, true, 0, h, w, true);
    if (an.right >= 0 && an.right <= limit) {
        const long long c = FirstFree(an.right, 1, limit, top);
        if (c >= 0) {
            desk.Move(i, static_cast<int>(c), 0);
            return true;
        }
    }
    const long long leftStart = static_cast<long long>(an.left) - w;
    if (leftStart >= 0 && leftStart <= limit) {
        const long long c = FirstFree(leftStart, -1, limit, top);
        if (c >= 0) {
            desk.Move(i, static_cast<int>(c), 0);
            return true;
        }
    }
    return false;
}

bool Valid(const BoxDesk& desk, int i) {
    return i >= 0 && i < desk.Count();
}

} // namespace

bool FindFreeSpot(BoxDesk& desk, int i) {
    if (!Valid(desk, i)) return false;
    return FindFreeSpotIn(desk, ReadAll(desk), i, desk.Screen());
}

bool PushBoxAway(BoxDesk& desk, int i, int anchor) {
    if (!Valid(desk, i) || !Valid(desk, anchor) || i == anchor) return false;
    return PushBoxAwayIn(desk, ReadAll(desk), i, anchor, desk.Screen());
}

void ResolveOverlaps(BoxDesk& desk, int anchor) {
    if (!g_noOverlap) return;
    if (!Valid(desk, anchor)) anchor = -1;
    const Size screen = desk.Screen();
    for (int pass = 0; pass < kResolvePasses; ++pass) {
        const Rects rects = ReadAll(desk);
        const int n = static_cast<int>(rects.size());
        bool moved = false;
        for (int x = 0; x < n && !moved; ++x) {
            if (x == anchor) continue;
            bool overlaps = false;
            for (int o = 0; o < n && !overlaps; ++o)
                overlaps =
                    o != x && RectsOverlap(rects[static_cast<size_t>(x)], rects[static_cast<size_t>(o)]);
            if (!overlaps) continue;
            if (anchor >= 0) moved = PushBoxAwayIn(desk, rects, x, anchor, screen);
            if (!moved) moved = FindFreeSpotIn(desk, rects, x, screen);
        }
        if (!moved) return;
    }
}

void PushBoxesLive(BoxDesk& desk, int resized) {
    const Size screen = desk.Screen();
    PushBoxesLive(desk, resized, {Rect{0, 0, screen.w, screen.h}});
}

void PushBoxesLive(BoxDesk& desk, int resized, const std::vector<Rect>& screens) {
    if (!g_noOverlap || !Valid(desk, resized) || screens.empty()) return;
    for (int pass = 0; pass < kLivePushPasses; ++pass) {
        const Rects rects = ReadAll(desk);
        const Rect d = rects[static_cast<size_t>(resized)];
        bool moved = false;
        for (int o = 0; o < static_cast<int>(rects.size()); ++o) {
            const Rect r = rects[static_cast<size_t>(o)];
            if (o == resized || !RectsOverlap(r, d)) continue;
            const int iw = std::min(r.right, d.right) - std::max(r.left, d.left);
            const int ih = std::min(r.bottom, d.bottom) - std::max(r.top, d.top);
            const int ow = r.Width(), oh = r.Height();
            int nx = r.left, ny = r.top;
            if (iw <= ih) {
                nx = r.left + ow / 2 >= (d.left + d.right) / 2 ? d.right : d.left - ow;
            } else {
                ny = r.top + oh / 2 >= (d.top + d.bottom) / 2 ? d.bottom : d.top - oh;
            }
            const Rect screen = AreaOf(r, screens);
            if (nx < screen.left) nx = screen.left;
            if (ny < screen.top) ny = screen.top;
            if (nx + ow > screen.right) nx = screen.right - ow;
            if (ny + oh > screen.bottom) ny = screen.bottom - oh;
            if (nx != r.left || ny != r.top) {
                desk.Move(o, nx, ny);
                moved = true;
            }
        }
        if (!moved) return;
    }
}

void AutoArrange(BoxDesk& desk) {
    const Rects rects = ReadAll(desk);
    std::vector<int> order(rects.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const Rect& ra = rects[static_cast<size_t>(a)];
        const Rect& rb = rects[static_cast<size_t>(b)];
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    const Size screen = desk.Screen();
    int colRight = screen.w, y = 0, colWidth = 0;
    bool colEmpty = true;
    for (int i : order) {
        const int w = rects[static_cast<size_t>(i)].Width(), h = rects[static_cast<size_t>(i)].Height();
        if (!colEmpty && y + h > screen.h) {
            colRight -= colWidth;
            y = 0;
            colWidth = 0;
            colEmpty = true;
        }
        desk.Move(i, colRight - w, y);
        y += h;
        colWidth = std::max(colWidth, w);
        colEmpty = false;
    }
}

#include "boxes/layout_fit.h"

#include <algorithm>
#include <climits>

#include "boxes/box_rules.h"

// Each operation reads every rectangle once, decides all new rectangles on that copy, and then moves
// (or moves and sizes) only the boxes whose rectangle changed.

namespace {

using Rects = std::vector<Rect>;

Rects ReadAll(const BoxDesk& desk) {
    Rects r(static_cast<size_t>(desk.Count()));
    for (int i = 0; i < desk.Count(); ++i) r[static_cast<size_t>(i)] = desk.RectOf(i);
    return r;
}

void Apply(BoxDesk& desk, const Rects& before, const Rects& after) {
    for (size_t i = 0; i < after.size(); ++i) {
        const Rect& b = before[i];
        const Rect& a = after[i];
        if (a == b) continue;
        if (a.Width() == b.Width() && a.Height() == b.Height()) {
            desk.Move(static_cast<int>(i), a.left, a.top);
        } else {
            desk.Place(static_cast<int>(i), a);
        }
    }
}

Rect Sized(Point p, int w, int h) {
    return {p.x, p.y, p.x + w, p.y + h};
}

// The largest n in [lo, hi] for which fits(n) holds, searched as if fitting were monotone (a smaller
// box fits wherever a larger one does); none when not even lo fits.
template <class Fits>
std::optional<int> Largest(int lo, int hi, Fits fits) {
    if (lo > hi || !fits(lo)) return std::nullopt;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (fits(mid)) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    return lo;
}

// Work areas without repeats and without empty ones, in their order.
Rects UsableAreas(const Rects& areas) {
    Rects out;
    for (const Rect& a : areas)
        if (a.Width() > 0 && a.Height() > 0 && std::find(out.begin(), out.end(), a) == out.end()) out.push_back(a);
    return out;
}

// Where box r goes among `others`: the nearest free place at its size, else at the greatest height,
// then the greatest width, that has one.
std::optional<Rect> PlaceAmongIn(const Rects& others, const Rect& r, const Rects& areas) {
    const Point from{r.left, r.top};
    auto at = [&](int w, int h) -> std::optional<Rect> {
        const auto p = NearestFreePlace(others, {w, h}, from, areas);
        if (!p) return std::nullopt;
        return Sized(*p, w, h);
    };
    if (auto whole = at(r.Width(), r.Height())) return whole;
    const int minW = std::min(kMinBoxWidth, r.Width()), minH = std::min(kMinBoxHeight, r.Height());
    if (auto h = Largest(minH, r.Height() - 1, [&](int n) { return at(r.Width(), n).has_value(); }))
        return at(r.Width(), *h);
    if (auto w = Largest(minW, r.Width() - 1, [&](int n) { return at(n, minH).has_value(); })) return at(*w, minH);
    return std::nullopt;
}

// The same on the box's own work area first, then on all of them.
std::optional<Rect> PlaceAmong(const Rects& others, const Rect& r, const Rects& areas) {
    if (areas.size() > 1)
        if (auto home = PlaceAmongIn(others, r, {AreaOf(r, areas)})) return home;
    return PlaceAmongIn(others, r, areas);
}

// The settled rectangles; none when some box found no place apart from the others.
std::optional<Rects> Settled(Rects rects, const Rects& areas, bool noOverlap, const std::vector<int>& first,
                             size_t staying, const std::vector<int>& ownPlaces) {
    const int n = static_cast<int>(rects.size());
    std::vector<int> order;
    std::vector<bool> seen(rects.size(), false), stays(rects.size(), false);
    for (size_t k = 0; k < first.size(); ++k) {
        const int i = first[k];
        if (i < 0 || i >= n || seen[static_cast<size_t>(i)]) continue;
        seen[static_cast<size_t>(i)] = true;
        stays[static_cast<size_t>(i)] = k < staying;
        order.push_back(i);
    }
    for (int i = 0; i < n; ++i)
        if (!seen[static_cast<size_t>(i)]) order.push_back(i);

    Rects placed;
    for (int i : order) {
        Rect& r = rects[static_cast<size_t>(i)];
        if (!stays[static_cast<size_t>(i)]) {
            const bool own = std::find(ownPlaces.begin(), ownPlaces.end(), i) != ownPlaces.end();
            r = own ? InReach(r, areas, kReachBand, kMinBoxHeight) : IntoArea(r, AreaOf(r, areas));
            const bool over = std::any_of(placed.begin(), placed.end(), [&](const Rect& p) { return RectsOverlap(r, p); });
            if (noOverlap && over) {
                const auto to = PlaceAmong(placed, r, areas);
                if (!to) return std::nullopt;
                r = *to;
            }
        }
        placed.push_back(r);
    }
    return rects;
}

// Columns from the top-right corner of each work area in turn, every box cut to capW x capH at most;
// none when they run out of work areas, unless `cascade`, which puts the rest on the primary area in
// steps down and right from its corner.
std::optional<Rects> Stack(const Rects& rects, const std::vector<int>& order, const Rects& areas, int capW,
                           int capH, bool cascade) {
    constexpr int kCascadeStep = 32, kCascadeSteps = 8;
    Rects out = rects;
    size_t ai = 0;
    long long colRight = areas[0].right, y = areas[0].top, colWidth = 0;
    bool colEmpty = true;
    int spilled = 0;
    for (int i : order) {
        const Rect& r = rects[static_cast<size_t>(i)];
        bool fits = false;
        long long w = 0, h = 0;
        while (ai < areas.size()) {
            const Rect& a = areas[ai];
            w = std::min({r.Width(), capW, a.Width()});
            h = std::min({r.Height(), capH, a.Height()});
            if (!colEmpty && y + h > a.bottom) {
                colRight -= colWidth;
                y = a.top;
                colWidth = 0;
                colEmpty = true;
            }
            if (colRight - w >= a.left) {
                fits = true;
                break;
            }
            if (++ai < areas.size()) {
                colRight = areas[ai].right, y = areas[ai].top, colWidth = 0;
                colEmpty = true;
            }
        }
        if (!fits) {
            if (!cascade) return std::nullopt;
            const Rect& home = areas[0];
            const int step = kCascadeStep * (spilled++ % kCascadeSteps);
            const Rect cut{home.left + step, home.top + step, home.left + step + std::min({r.Width(), capW, home.Width()}),
                           home.top + step + std::min({r.Height(), capH, home.Height()})};
            out[static_cast<size_t>(i)] = IntoArea(cut, home);
            continue;
        }
        out[static_cast<size_t>(i)] = Rect{static_cast<int>(colRight - w), static_cast<int>(y),
                                           static_cast<int>(colRight), static_cast<int>(y + h)};
        y += h;
        colWidth = std::max(colWidth, w);
        colEmpty = false;
    }
    return out;
}

} // namespace

Rect AreaOf(const Rect& r, const std::vector<Rect>& areas) {
    if (areas.empty()) return r;
    const Rect* best = &areas.front();
    long long most = 0;
    for (const Rect& a : areas)
        if (OverlapArea(r, a) > most) most = OverlapArea(r, a), best = &a;
    return *best;
}

Rect IntoArea(const Rect& r, const Rect& area) {
    const int w = std::min(r.Width(), area.Width()), h = std::min(r.Height(), area.Height());
    const int x = std::clamp(r.left, area.left, area.right - w);
    const int y = std::clamp(r.top, area.top, area.bottom - h);
    return {x, y, x + w, y + h};
}

std::optional<Point> NearestFreePlace(const std::vector<Rect>& others, Size size, Point from,
                                      const std::vector<Rect>& areas) {
    const long long w = size.w, h = size.h;
    if (w <= 0 || h <= 0) return std::nullopt;
    std::optional<Point> best;
    double bestDist = 0;
    auto consider = [&](long long lo, long long hi, long long y) {
        if (lo > hi) return;
        const long long x = std::clamp<long long>(from.x, lo, hi);
        const double dx = static_cast<double>(x - from.x), dy = static_cast<double>(y - from.y);
        const double d = dx * dx + dy * dy;
        if (!best || d < bestDist) best = Point{static_cast<int>(x), static_cast<int>(y)}, bestDist = d;
    };
    struct Span {
        long long lo, hi; // corners x in [lo, hi] overlap a box
    };
    std::vector<Span> spans;
    for (const Rect& a : areas) {
        if (w > a.Width() || h > a.Height()) continue;
        const long long maxX = a.right - w, maxY = a.bottom - h;
        // A free place slides up to the area's top or a box's bottom, or down to the area's bottom
        // or a box's top, staying free: those rows hold every nearest place there is, or one near it.
        std::vector<long long> rows{a.top, maxY, std::clamp<long long>(from.y, a.top, maxY)};
        for (const Rect& o : others) rows.push_back(o.bottom), rows.push_back(o.top - h);
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        for (long long y : rows) {
            if (y < a.top || y > maxY) continue;
            spans.clear();
            for (const Rect& o : others)
                if (o.Width() > 0 && o.Height() > 0 && o.top < y + h && o.bottom > y)
                    spans.push_back({o.left - w + 1, o.right - 1LL});
            std::sort(spans.begin(), spans.end(), [](const Span& p, const Span& q) { return p.lo < q.lo; });
            long long x = a.left;
            for (const Span& s : spans) {
                if (x > maxX) break;
                if (s.lo > x) consider(x, std::min(s.lo - 1, maxX), y);
                x = std::max(x, s.hi + 1);
            }
            if (x <= maxX) consider(x, maxX, y);
        }
    }
    return best;
}

void SettleBoxes(BoxDesk& desk, const std::vector<Rect>& areas, bool noOverlap, const std::vector<int>& first,
                 size_t staying, const std::vector<int>& ownPlaces) {
    const Rects usable = UsableAreas(areas);
    if (usable.empty()) return;
    const Rects before = ReadAll(desk);
    const auto after = Settled(before, usable, noOverlap, first, staying, ownPlaces);
    if (!after) {
        ArrangeToFit(desk, usable); // no room for them all at their sizes: all get shorter
        return;
    }
    Apply(desk, before, *after);
}

void ArrangeToFit(BoxDesk& desk, const std::vector<Rect>& areas) {
    const Rects usable = UsableAreas(areas);
    if (usable.empty()) return;
    const Rects rects = ReadAll(desk);
    Rects out = rects;
    for (const Rect& area : usable) {
        // The boxes of this work area, each arranged where it is.
        std::vector<int> order;
        for (size_t i = 0; i < rects.size(); ++i)
            if (AreaOf(rects[i], usable) == area) order.push_back(static_cast<int>(i));
        if (order.empty()) continue;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const Rect& ra = rects[static_cast<size_t>(a)];
            const Rect& rb = rects[static_cast<size_t>(b)];
            return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
        });
        int tallest = 0, widest = 0;
        for (int i : order) {
            const Rect& r = rects[static_cast<size_t>(i)];
            tallest = std::max(tallest, r.Height()), widest = std::max(widest, r.Width());
        }
        const Rects one{area};
        auto stack = [&](int capW, int capH) { return Stack(rects, order, one, capW, capH, false); };
        auto fit = stack(INT_MAX, INT_MAX);
        if (!fit) {
            if (auto capH = Largest(kMinBoxHeight, tallest - 1, [&](int c) { return stack(INT_MAX, c).has_value(); }))
                fit = stack(INT_MAX, *capH);
        }
        if (!fit) {
            if (auto capW = Largest(kMinBoxWidth, widest - 1, [&](int c) { return stack(c, kMinBoxHeight).has_value(); }))
                fit = stack(*capW, kMinBoxHeight);
        }
        if (!fit) fit = Stack(rects, order, one, kMinBoxWidth, kMinBoxHeight, true);
        for (int i : order) out[static_cast<size_t>(i)] = (*fit)[static_cast<size_t>(i)];
    }
    Apply(desk, rects, out);
}

void FitExpanded(BoxDesk& desk, int i, const std::vector<Rect>& areas, bool noOverlap) {
    const Rects usable = UsableAreas(areas);
    if (usable.empty() || i < 0 || i >= desk.Count()) return;
    const Rects rects = ReadAll(desk);
    const Rect r = rects[static_cast<size_t>(i)];
    const Rect a = AreaOf(r, usable);
    long long bottom = a.bottom;
    bool blocked = r.left < a.left || r.right > a.right || r.top < a.top;
    for (size_t o = 0; o < rects.size() && noOverlap && !blocked; ++o) {
        const Rect& p = rects[o];
        if (static_cast<int>(o) == i || p.left >= r.right || p.right <= r.left || p.bottom <= r.top) continue;
        if (p.top <= r.top) {
            blocked = p.Height() > 0; // it covers the box's top: no height keeps them apart
        } else {
            bottom = std::min<long long>(bottom, p.top);
        }
    }
    const long long h = std::min<long long>(r.Height(), bottom - r.top);
    if (!blocked && h >= std::min(kMinBoxHeight, r.Height())) {
        Rects after = rects;
        after[static_cast<size_t>(i)].bottom = static_cast<int>(r.top + h);
        Apply(desk, rects, after);
        return;
    }
    std::vector<int> others;
    for (int o = 0; o < desk.Count(); ++o)
        if (o != i) others.push_back(o);
    SettleBoxes(desk, usable, noOverlap, others, others.size());
}

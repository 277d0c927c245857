// Keeping boxes within reach: the title band and the bottom edge of a box inside a work area, and
// the first free place for a new box.
#include <algorithm>
#include <optional>

#include "boxes/box_rules.h"
#include "boxes/layout.h"
#include "boxes/layout_fit.h"

namespace {

Rect TitleBandOf(const Rect& r) {
    return {r.left, r.top, r.right, r.top + std::min(kTitleBand, r.Height())};
}

// The highest, then leftmost corner in `home` at which a box of size w x h overlaps no rectangle of
// `rects` but its own (index self). A box larger than home on an axis may only take home's left or
// top edge there. Every free place can slide up until home's top or some box's bottom stops it, so
// those are the only rows to try; in a row the first free column is found by sweeping the columns
// each box rules out, in order.
std::optional<Point> FreePlace(const std::vector<Rect>& rects, int self, long long w, long long h,
                               const Rect& home) {
    const long long maxX = std::max<long long>(home.left, home.right - w);
    const long long maxY = std::max<long long>(home.top, home.bottom - h);
    std::vector<long long> rows{home.top};
    for (const Rect& r : rects)
        if (r.bottom > home.top && r.bottom <= maxY) rows.push_back(r.bottom);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

    struct Span {
        long long lo, hi; // corners x in [lo, hi] overlap the box
    };
    std::vector<Span> spans;
    for (long long y : rows) {
        spans.clear();
        for (size_t b = 0; b < rects.size(); ++b) {
            const Rect& r = rects[b];
            if (static_cast<int>(b) == self || r.Width() <= 0 || r.Height() <= 0) continue;
            if (r.top < y + h && r.bottom > y) spans.push_back({r.left - w + 1, r.right - 1LL});
        }
        std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.lo < b.lo; });
        long long x = home.left;
        for (const Span& s : spans) {
            if (s.lo > x) break;
            x = std::max(x, s.hi + 1);
        }
        if (x <= maxX) return Point{static_cast<int>(x), static_cast<int>(y)};
    }
    return std::nullopt;
}

} // namespace

std::optional<Point> FreePlaceIn(const std::vector<Rect>& others, Size size, const Rect& home) {
    return FreePlace(others, -1, size.w, size.h, home);
}

Rect InReach(const Rect& box, const std::vector<Rect>& areas, unsigned rules, int minHeight) {
    if (areas.empty()) return box;
    const Rect band = TitleBandOf(box);
    const Rect a = AreaOf(band, areas);
    const long long w = box.Width(), bandH = band.Height();
    // Wider than the area: the band covers it (the left edge between the area's right and left).
    long long x = box.left;
    if (rules & kReachBand)
        x = w <= a.Width() ? std::clamp<long long>(box.left, a.left, a.right - w)
                           : std::clamp<long long>(box.left, a.right - w, a.left);
    long long y = std::clamp<long long>(box.top, a.top, std::max<long long>(a.top, a.bottom - bandH));
    long long h = box.Height();
    if ((rules & kReachBottom) && y + h > a.bottom) {
        h = std::max<long long>(a.bottom - y, std::min<long long>(minHeight, h));
        if (y + h > a.bottom) y = std::max<long long>(a.top, a.bottom - h);
    }
    return Rect{static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + w), static_cast<int>(y + h)};
}

// Keeping every box within reach: a box whose title band no screen shows is brought onto the
// primary work area, into a free place where one is left.
#include <algorithm>
#include <optional>

#include "boxes/box_rules.h"
#include "boxes/layout.h"

namespace {

constexpr int kCascadeStep = 32; // corners of boxes placed where they may overlap
constexpr int kCascadeSteps = 8;

Rect TitleBandOf(const Rect& r) {
    return {r.left, r.top, r.right, r.top + std::min(kTitleBand, r.Height())};
}

bool Shows(const Rect& band, const Rect& home, const std::vector<Rect>& screens) {
    if (RectsOverlap(band, home)) return true;
    return std::any_of(screens.begin(), screens.end(), [&](const Rect& s) { return RectsOverlap(band, s); });
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
    const Rect* area = &areas.front();
    long long most = 0;
    for (const Rect& a : areas) {
        const long long w = std::min<long long>(band.right, a.right) - std::max<long long>(band.left, a.left);
        const long long h = std::min<long long>(band.bottom, a.bottom) - std::max<long long>(band.top, a.top);
        if (w > 0 && h > 0 && w * h > most) most = w * h, area = &a;
    }
    const Rect& a = *area;
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

void KeepBoxesReachable(BoxDesk& desk, const Rect& home, const std::vector<Rect>& screens) {
    if (home.Width() <= 0 || home.Height() <= 0) return;
    std::vector<Rect> rects(static_cast<size_t>(desk.Count()));
    for (int i = 0; i < desk.Count(); ++i)
        rects[static_cast<size_t>(i)] = desk.RectOf(i);
    int overlapping = 0;
    for (size_t i = 0; i < rects.size(); ++i) {
        const Rect r = rects[i];
        if (Shows(TitleBandOf(r), home, screens)) continue;
        const long long w = r.Width(), h = r.Height();
        auto place = FreePlace(rects, static_cast<int>(i), w, h, home);
        if (!place) {
            const long long step = kCascadeStep * (overlapping++ % kCascadeSteps);
            const long long x = std::min(home.left + step, std::max<long long>(home.left, home.right - w));
            const long long y = std::min(home.top + step, std::max<long long>(home.top, home.bottom - h));
            place = Point{static_cast<int>(x), static_cast<int>(y)};
        }
        desk.Move(static_cast<int>(i), place->x, place->y);
        rects[i] = desk.RectOf(static_cast<int>(i));
    }
    std::vector<Rect> areas{home};
    areas.insert(areas.end(), screens.begin(), screens.end());
    for (size_t i = 0; i < rects.size(); ++i) {
        const Rect fitted = InReach(rects[i], areas, kReachBottom, kMinBoxHeight);
        if (fitted != rects[i]) desk.Place(static_cast<int>(i), fitted);
    }
}

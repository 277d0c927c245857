#include "boxes/display_set.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <tuple>

#include "boxes/layout_fit.h"

namespace {

auto Order(const MonitorInfo& m) {
    return std::make_tuple(m.rect.left, m.rect.top, m.rect.right, m.rect.bottom, m.dpi);
}


// Squared length of the gap between two rectangles (0 when they touch or overlap).
long long Gap(const Rect& a, const Rect& b) {
    const long long dx = std::max<long long>({0, static_cast<long long>(b.left) - a.right, static_cast<long long>(a.left) - b.right});
    const long long dy = std::max<long long>({0, static_cast<long long>(b.top) - a.bottom, static_cast<long long>(a.top) - b.bottom});
    return dx * dx + dy * dy;
}

// The monitor of `set` that holds most of r; the primary one (else the first) where none holds any.
const MonitorInfo* HolderOf(const Rect& r, const std::vector<MonitorInfo>& set) {
    if (set.empty()) return nullptr;
    const MonitorInfo* best = &set.front();
    for (const MonitorInfo& m : set)
        if (m.primary) best = &m;
    long long most = 0;
    for (const MonitorInfo& m : set)
        if (OverlapArea(r, m.rect) > most) most = OverlapArea(r, m.rect), best = &m;
    return best;
}

// The monitor of `to` nearest to `gone`: the least gap, then the most shared area, then the primary.
const MonitorInfo& Nearest(const MonitorInfo& gone, const std::vector<MonitorInfo>& to) {
    const MonitorInfo* best = &to.front();
    for (const MonitorInfo& m : to) {
        const auto key = [&](const MonitorInfo& c) {
            return std::make_tuple(Gap(gone.rect, c.rect), -OverlapArea(gone.rect, c.rect), !c.primary);
        };
        if (key(m) < key(*best)) best = &m;
    }
    return *best;
}

// The corner on one axis at the same share of the room in [lo2, hi2) as `at` has in [lo, hi).
int SameShare(int at, int lo, int hi, int lo2, int hi2, int len) {
    const double room = static_cast<double>(hi) - lo - len, room2 = static_cast<double>(hi2) - lo2 - len;
    const double share = room > 0 ? std::clamp((static_cast<double>(at) - lo) / room, 0.0, 1.0) : 0.0;
    return lo2 + static_cast<int>(std::lround(share * std::max(0.0, room2)));
}

} // namespace

std::vector<MonitorInfo> SortedSet(std::vector<MonitorInfo> monitors) {
    std::stable_sort(monitors.begin(), monitors.end(),
                     [](const MonitorInfo& a, const MonitorInfo& b) { return Order(a) < Order(b); });
    return monitors;
}

bool SameSet(const std::vector<MonitorInfo>& a, const std::vector<MonitorInfo>& b) {
    if (a.size() != b.size()) return false;
    const auto sa = SortedSet(a), sb = SortedSet(b);
    for (size_t i = 0; i < sa.size(); ++i)
        if (Order(sa[i]) != Order(sb[i])) return false;
    return true;
}

std::wstring SetName(const std::vector<MonitorInfo>& monitors) {
    uint32_t h = 2166136261u; // FNV-1a over the sorted numbers
    auto mix = [&](int v) {
        for (int byte = 0; byte < 4; ++byte) {
            h ^= static_cast<uint32_t>(v) >> (8 * byte) & 0xFFu;
            h *= 16777619u;
        }
    };
    const auto sorted = SortedSet(monitors);
    mix(static_cast<int>(sorted.size()));
    for (const MonitorInfo& m : sorted) {
        const auto [l, t, r, b, dpi] = Order(m);
        for (int v : {l, t, r, b, dpi}) mix(v);
    }
    wchar_t text[16];
    std::swprintf(text, 16, L"%08x", h);
    return text;
}

std::wstring DescribeSet(const std::vector<MonitorInfo>& monitors) {
    std::wstring out;
    for (const MonitorInfo& m : SortedSet(monitors)) {
        wchar_t part[160];
        std::swprintf(part, 160, L"%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", m.rect.left, m.rect.top, m.rect.right,
                      m.rect.bottom, m.dpi, m.work.left, m.work.top, m.work.right, m.work.bottom, m.primary ? 1 : 0);
        if (!out.empty()) out += L';';
        out += part;
    }
    return out;
}

std::optional<std::vector<MonitorInfo>> ParseSet(const std::wstring& text) {
    std::vector<MonitorInfo> out;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find(L';', at), text.size());
        const std::wstring part = text.substr(at, end - at);
        MonitorInfo m;
        int p = 0, used = 0;
        if (std::swscanf(part.c_str(), L"%d,%d,%d,%d,%d,%d,%d,%d,%d,%d%n", &m.rect.left, &m.rect.top, &m.rect.right,
                         &m.rect.bottom, &m.dpi, &m.work.left, &m.work.top, &m.work.right, &m.work.bottom, &p,
                         &used) != 10 ||
            static_cast<size_t>(used) != part.size() || m.rect.Width() <= 0 || m.rect.Height() <= 0 ||
            m.work.Width() <= 0 || m.work.Height() <= 0 || m.dpi <= 0)
            return std::nullopt;
        m.primary = p != 0;
        out.push_back(m);
        at = end + 1;
    }
    if (out.empty()) return std::nullopt;
    return out;
}

Rect CarryOver(const Rect& box, const std::vector<MonitorInfo>& from, const std::vector<MonitorInfo>& to) {
    const MonitorInfo* was = HolderOf(box, from);
    if (!was || to.empty()) return box;
    for (const MonitorInfo& m : to)
        if (m.rect == was->rect) return box; // still there
    const MonitorInfo& now = Nearest(*was, to);
    const Rect& a = was->work;
    const Rect& b = now.work;
    const int x = SameShare(box.left, a.left, a.right, b.left, b.right, box.Width());
    const int y = SameShare(box.top, a.top, a.bottom, b.top, b.bottom, box.Height());
    return {x, y, x + box.Width(), y + box.Height()};
}

void ChangeDisplays(BoxDesk& desk, const std::vector<std::optional<Point>>& saved,
                    const std::vector<MonitorInfo>& from, const std::vector<MonitorInfo>& to, bool noOverlap) {
    const int n = desk.Count();
    std::vector<Rect> before(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) before[static_cast<size_t>(i)] = desk.RectOf(i);
    std::vector<int> own, carried;
    for (int i = 0; i < n; ++i) {
        const Rect& r = before[static_cast<size_t>(i)];
        const size_t k = static_cast<size_t>(i);
        Rect place = r;
        if (k < saved.size() && saved[k]) {
            place = {saved[k]->x, saved[k]->y, saved[k]->x + r.Width(), saved[k]->y + r.Height()};
        } else {
            place = CarryOver(r, from, to);
        }
        // Boxes of this set's layout and those whose monitor stayed are where the user left them;
        // the carried ones are placed by the program.
        if ((k < saved.size() && saved[k]) || place == r) {
            own.push_back(i);
        } else {
            carried.push_back(i);
        }
        if (place != r) desk.Move(i, place.left, place.top);
    }
    // The user's places first, the carried boxes last: a box that has to give way is one that moved
    // anyway.
    const std::vector<Rect> areas = WorkAreasOf(to);
    SettleBoxes(desk, areas, noOverlap, own, 0, own);
    if (noOverlap) return;
    // Boxes may overlap as the user left them, but a carried box does not come to lie over a box
    // that it did not cover before.
    for (int i : carried) {
        std::vector<Rect> others;
        bool fresh = false;
        const Rect r = desk.RectOf(i);
        for (int o = 0; o < n; ++o) {
            if (o == i) continue;
            others.push_back(desk.RectOf(o));
            fresh = fresh || (RectsOverlap(r, others.back()) &&
                              !RectsOverlap(before[static_cast<size_t>(i)], before[static_cast<size_t>(o)]));
        }
        if (!fresh) continue;
        auto at = NearestFreePlace(others, {r.Width(), r.Height()}, {r.left, r.top}, {AreaOf(r, areas)});
        if (!at) at = NearestFreePlace(others, {r.Width(), r.Height()}, {r.left, r.top}, areas);
        if (at) desk.Move(i, at->x, at->y);
    }
}

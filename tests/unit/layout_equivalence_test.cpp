// The fast overlap and arrangement code against the step-by-step rules, on random desks.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <vector>

#include "settings/settings.h"
#include "unit/layout_literal.h"
#include "unit/model_desk.h"

namespace {

struct Layout {
    Size screen;
    std::vector<Rect> rects;
};

std::string Describe(const Layout& l, int op, int a, int b) {
    std::ostringstream o;
    o << "screen " << l.screen.w << "x" << l.screen.h << " op " << op << " args " << a << "," << b
      << " boxes:";
    for (const Rect& r : l.rects)
        o << " (" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
    return o.str();
}

Layout RandomLayout(std::mt19937& rng) {
    static const Size screens[] = {{1920, 1080}, {1366, 768}, {800, 600},
                                   {640, 360},   {320, 240},  {2560, 1440}};
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Layout l;
    const int kind = pick(0, 3);
    // Crowded desks run on the smaller screens: the step-by-step rules take seconds on a big one.
    l.screen = screens[kind == 3 ? pick(3, 4) : pick(0, 5)];
    const int count = kind == 3 ? pick(8, 40) : pick(1, 12);
    const int boxW = pick(60, 400), boxH = pick(60, 400);
    for (int i = 0; i < count; ++i) {
        int w = pick(0, 2) == 0 ? boxW : pick(20, 500);
        int h = pick(0, 2) == 0 ? boxH : pick(20, 500);
        int x = 0, y = 0;
        switch (kind) {
        case 0: // anywhere, partly off the screen
            x = pick(-200, l.screen.w);
            y = pick(-200, l.screen.h);
            break;
        case 1: // start-up row of defaults, as new boxes come
            x = i * 250 + 40;
            y = 40;
            break;
        case 2: // a small cluster
            x = pick(100, 160);
            y = pick(100, 160);
            break;
        default: // crowded: big boxes on top of each other
            w = pick(l.screen.w / 5, l.screen.w / 2);
            h = pick(l.screen.h / 5, l.screen.h / 2);
            x = pick(0, l.screen.w - w);
            y = pick(0, l.screen.h - h);
            break;
        }
        l.rects.push_back({x, y, x + w, y + h});
    }
    return l;
}

TEST(LayoutEquivalence, FastDecisionsEqualTheStepByStepRules) {
    ResetSettingsToDefaults();
    std::mt19937 rng(20261207);
    int compared = 0, moved = 0, crowded = 0;
    for (int n = 0; n < 1200; ++n) {
        const Layout l = RandomLayout(rng);
        const int count = static_cast<int>(l.rects.size());
        const int op = std::uniform_int_distribution<int>(0, 5)(rng);
        const int a = std::uniform_int_distribution<int>(0, count - 1)(rng);
        int b = std::uniform_int_distribution<int>(0, count - 1)(rng);
        if (count > 1 && b == a) b = (a + 1) % count;
        ModelDesk fast(l.screen, l.rects), slow(l.screen, l.rects);
        switch (op) {
        case 0:
            ResolveOverlaps(fast, -1);
            literal::ResolveOverlaps(slow, -1);
            break;
        case 1:
            ResolveOverlaps(fast, a);
            literal::ResolveOverlaps(slow, a);
            break;
        case 2:
            PushBoxesLive(fast, a);
            literal::PushBoxesLive(slow, a);
            break;
        case 3:
            AutoArrange(fast);
            literal::AutoArrange(slow);
            break;
        case 4:
            EXPECT_EQ(FindFreeSpot(fast, a), literal::FindFreeSpot(slow, a)) << Describe(l, op, a, b);
            break;
        default:
            if (count < 2) continue;
            EXPECT_EQ(PushBoxAway(fast, a, b), literal::PushBoxAway(slow, a, b)) << Describe(l, op, a, b);
            break;
        }
        ASSERT_EQ(fast.moves, slow.moves) << Describe(l, op, a, b);
        ASSERT_EQ(fast.rects, slow.rects) << Describe(l, op, a, b);
        ++compared;
        if (!slow.moves.empty()) ++moved;
        if (count >= 20) ++crowded;
    }
    EXPECT_GE(compared, 1000);
    EXPECT_GE(crowded, 100);
    EXPECT_GE(moved, compared / 2) << "most layouts must exercise moves, not only the quiet paths";
}

} // namespace

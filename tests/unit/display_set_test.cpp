// Display-set changes, one after another, with the layouts each set keeps: boxes move off monitors
// that go, come back when the same monitors return, and stay within reach throughout.
#include <gtest/gtest.h>

#include <map>

#include "boxes/display_set.h"
#include "boxes/layout_fit.h"
#include "settings/metrics.h"
#include "unit/model_desk.h"

namespace {

MonitorInfo Mon(Rect r, int dpi = 96, bool primary = false) { return {r, r, dpi, primary}; }

TEST(DisplaySets, ChangesKeepEveryBoxInReachAndRestoreEachSetsLayout) {
    const Rect a{0, 0, 1600, 900}, b{1600, -100, 3520, 980};
    const MonitorInfo A = Mon(a, 96, true), B = Mon(b), small = Mon({0, 0, 1280, 720}, 96, true);
    using Set = std::vector<MonitorInfo>;
    const Set both{A, B}, one{A}, slept{B, A}, lowRes{small, B}, scaled{Mon(a, 144, true), B},
        mirrored{A, Mon(a)};
    // Three boxes on the primary (one left by the user low in the corner, its title band on the
    // screen), two on the second monitor.
    const std::vector<Rect> start{{40, 40, 364, 400},      {400, 40, 724, 700},    {1276, 870, 1600, 1170},
                                  {1700, 0, 2024, 500},    {3100, 600, 3500, 900}};
    struct Row {
        const char* what;
        Set to;
        bool restored; // every box back at the place this set's layout holds
        int box;       // one box checked where it is expected (-1: none): at the same share of the room
                       // in the nearest work area, or where the user left it
        Point at;
    } rows[] = {
        {"unplug the second monitor", one, false, 4, {1184, 538}},
        {"plug it back", both, true, -1, {}},
        {"the same monitors after sleep, listed in another order", slept, true, -1, {}},
        {"resolution of the primary lowered", lowRes, false, 2, {956, 420}},
        {"back to the full resolution", both, true, -1, {}},
        {"the primary scaled to 150 %", scaled, false, 2, {1276, 870}},
        {"mirrored onto the primary", mirrored, false, 4, {1184, 538}},
        {"unplugged again", one, true, -1, {}},
        {"and back to two", both, true, -1, {}},
    };
    for (bool noOverlap : {true, false}) {
        ModelDesk desk({1600, 900}, start);
        Set shown = both;
        std::map<std::wstring, std::vector<Rect>> layouts{{SetName(both), start}};
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.what) + (noOverlap ? ", no overlap" : ", overlap allowed"));
            const std::vector<Rect> before = desk.rects;
            const auto layout = layouts.find(SetName(row.to));
            std::vector<std::optional<Point>> saved(before.size());
            for (size_t i = 0; layout != layouts.end() && i < saved.size(); ++i)
                saved[i] = Point{layout->second[i].left, layout->second[i].top};
            ChangeDisplays(desk, saved, shown, row.to, noOverlap);
            shown = row.to;
            EXPECT_EQ(layout != layouts.end(), row.restored);
            if (row.restored) {
                EXPECT_EQ(desk.rects, layout->second);
            }
            if (row.box >= 0) {
                const Rect& r = desk.rects[static_cast<size_t>(row.box)];
                EXPECT_EQ(std::make_pair(r.left, r.top), std::make_pair(row.at.x, row.at.y));
            }
            for (size_t i = 0; i < desk.rects.size(); ++i) {
                const Rect& r = desk.rects[i];
                const Rect band{r.left, r.top, r.right, r.top + kTitleBand}, area = AreaOf(band, WorkAreasOf(row.to));
                EXPECT_TRUE(band.left >= area.left && band.right <= area.right && band.top >= area.top &&
                            band.bottom <= area.bottom)
                    << "box " << i << " at " << r.left << "," << r.top;
                for (size_t o = i + 1; o < desk.rects.size(); ++o)
                    EXPECT_FALSE(RectsOverlap(r, desk.rects[o]) && !RectsOverlap(before[i], before[o]))
                        << "boxes " << i << " and " << o << " came to overlap";
            }
            ModelDesk arranged({1600, 900}, desk.rects); // auto-arrange keeps each box on its monitor
            ArrangeToFit(arranged, WorkAreasOf(row.to));
            for (size_t i = 0; i < desk.rects.size(); ++i)
                EXPECT_EQ(AreaOf(arranged.rects[i], WorkAreasOf(row.to)), AreaOf(desk.rects[i], WorkAreasOf(row.to)));
            layouts[SetName(row.to)] = desk.rects;
        }
    }
}

TEST(DisplaySets, NamesAndDescriptions) {
    const MonitorInfo A{{0, 0, 1600, 900}, {0, 0, 1600, 860}, 96, true}, B{{-1920, 0, 0, 1080}, {-1920, 0, 0, 1080}, 120};
    EXPECT_EQ(SetName({A, B}), SetName({B, A}));
    EXPECT_EQ(SetName({A, B}).size(), 8u);
    for (const auto& other : {std::vector<MonitorInfo>{A}, {A, MonitorInfo{B.rect, B.work, 96}},
                              {A, MonitorInfo{{-1920, 0, 0, 1200}, B.work, 120}}, {A, B, B}})
        EXPECT_NE(SetName({A, B}), SetName(other));
    const auto back = ParseSet(DescribeSet({A, B}));
    ASSERT_TRUE(back);
    EXPECT_TRUE(SameSet(*back, {A, B}));
    EXPECT_EQ(WorkAreasOf(*back), (std::vector<Rect>{A.work, B.work}));
    for (const wchar_t* bad : {L"", L"1,2,3", L"0,0,0,0,96,0,0,0,0,1", L"0,0,10,10,96,0,0,10,10,1;x"})
        EXPECT_FALSE(ParseSet(bad)) << bad;
}

} // namespace

// What stored numbers give a box, where a box must lie to be within reach, and new box names.
#include <gtest/gtest.h>

#include "boxes/box_rules.h"
#include "boxes/layout.h"
#include "settings/list_parse.h"
#include "unit/model_desk.h"

namespace {

TEST(StoredBounds, PositionsAndSizesFromTheFile) {
    const std::vector<Rect> areas{{0, 0, 1920, 1080}, {-1280, 0, 0, 1080}}; // a monitor left of the primary
    const Rect screens{-1280, 0, 1920, 1080};
    const int big = 2147483647, wrapped = 1215752191; // "99999999999" as the profile API reads it
    const Rect dflt{40, 40, 364, 166}, most{40, 40, 3240, 1120}; // box 0's default place and size
    const std::pair<Rect, Rect> cases[] = {                      // stored x, y, w, h -> the box
                                           {{100, 50, 400, 300}, {100, 50, 500, 350}},
                                           {{0, 0, 140, 100}, {0, 0, 140, 100}},
                                           {{1919, 1079, 139, 99}, {1919, 1079, 2243, 1205}},
                                           {{-1, 50, -5, -big - 1}, {-1, 50, 323, 176}},
                                           {{-200, -29, 0, 0}, {-200, -29, 124, 97}},
                                           {{-200, -30, 0, 0}, dflt}, // no monitor above: absent
                                           {{-big - 1, -big - 1, 0, 0}, dflt}, // a missing key
                                           {{big, big, big, big}, most},
                                           {{wrapped, 5, wrapped, 5000}, most},
                                           {{1920, 0, 3200, 1080}, most},
                                           {{0, 1080, 5000, 2000}, most}};
    for (const auto& [s, box] : cases) {
        const auto pos = PosFromStored(s.left, s.top, areas);
        const Point at = pos ? Point{pos->left, pos->top} : DefaultBoxPos(0);
        const int w = StoredLength(s.right, kMinBoxWidth, 324, screens.Width());
        const int h = StoredLength(s.bottom, kMinBoxHeight, 126, screens.Height());
        EXPECT_EQ((Rect{at.x, at.y, at.x + w, at.y + h}), box) << s.left << "," << s.top;
    }
}

// Where boxes go so that they can be reached: a 1600 x 900 primary screen less a 40-pixel taskbar,
// and a 1280 x 1024 monitor left of it whose top is 100 pixels higher.
TEST(Reach, TitleBandAndBottomEdgeInTheWorkAreaThatHoldsMostOfTheBand) {
    const std::vector<Rect> areas{{0, 0, 1600, 860}, {-1280, -100, 0, 924}};
    struct Case {
        Rect box;
        unsigned rules;
        Rect want;
    } cases[] = {
        {{40, 252, 364, 1152}, kReachBottom, {40, 252, 364, 860}},    // 300 entries cut to fit below the top
        {{40, 800, 364, 1100}, kReachBottom, {40, 760, 364, 860}},    // not below the minimum: moves up
        {{40, 830, 364, 900}, kReachBottom, {40, 790, 364, 860}},     // a low box keeps its height, moves up
        {{40, 40, 364, 400}, kReachBottom | kReachBand, {40, 40, 364, 400}}, // in reach: stays
        {{1555, 878, 1879, 1004}, kReachBand, {1276, 830, 1600, 956}}, // corner: 45 x 22 showed
        {{600, -14, 924, 112}, kReachBand, {600, 0, 924, 126}},         // past the top edge
        {{-300, 500, 24, 626}, kReachBand, {-324, 500, 0, 626}},        // mostly on the left monitor
        {{-150, 400, 174, 526}, kReachBand, {0, 400, 324, 526}},        // band mostly on the primary
        {{-100, -60, 224, 46}, kReachBand, {-324, -60, 0, 46}},         // band mostly on the left one
        {{5000, 5000, 5324, 5126}, kReachBand, {1276, 830, 1600, 956}}, // on no monitor: the primary
        {{200, 10, 3200, 500}, kReachBand, {0, 10, 3000, 500}},         // wider than the area: covers it
        {{100, 800, 424, 1200}, kReachBand, {100, 800, 424, 1200}},     // the band alone is asked for
    };
    for (const Case& c : cases)
        EXPECT_EQ(InReach(c.box, areas, c.rules, kMinBoxHeight), c.want)
            << c.box.left << "," << c.box.top << " rules " << c.rules;
}

TEST(NewBoxKey, ANameThatDiffersOnlyInCaseIsTheExistingBox) {
    const std::vector<std::wstring> keys{L"Work", L"WORK", L"Ärger", L"文档"};
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {{L"work", L"Work"},
                                                               {L"WORK", L"WORK"},
                                                               {L"ärger", L"Ärger"},
                                                               {L"文档", L"文档"},
                                                               {L"Works", L"Works"}};
    for (const auto& [name, key] : cases)
        EXPECT_EQ(NewBoxKey(name, keys), key);
}

} // namespace

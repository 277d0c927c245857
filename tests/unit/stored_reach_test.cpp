// What stored numbers give a box, which boxes are brought back within reach, and new box names.
#include <gtest/gtest.h>

#include "boxes/box_rules.h"
#include "boxes/layout.h"
#include "settings/list_parse.h"
#include "unit/model_desk.h"

namespace {

TEST(StoredBounds, PositionsAndSizesFromTheFile) {
    const Rect screens{-1280, 0, 1920, 1080};         // a monitor left of the 1920 x 1080 primary one
    const int big = 2147483647, wrapped = 1215752191; // "99999999999" as the profile API reads it
    const Rect dflt{40, 40, 364, 166}, most{40, 40, 3240, 1120}; // box 0's default place and size
    const std::pair<Rect, Rect> cases[] = {                      // stored x, y, w, h -> the box
                                           {{100, 50, 400, 300}, {100, 50, 500, 350}},
                                           {{0, 0, 140, 100}, {0, 0, 140, 100}},
                                           {{1919, 1079, 139, 99}, {1919, 1079, 2243, 1205}},
                                           {{-1, 50, -5, -big - 1}, dflt},
                                           {{big, big, big, big}, most},
                                           {{wrapped, 5, wrapped, 5000}, most},
                                           {{1920, 0, 3200, 1080}, most},
                                           {{0, 1080, 5000, 2000}, most}};
    for (const auto& [s, box] : cases) {
        const auto pos = PosFromStored(s.left, s.top, screens);
        const Point at = pos ? Point{pos->left, pos->top} : DefaultBoxPos(0);
        const int w = StoredLength(s.right, kMinBoxWidth, 324, screens.Width());
        const int h = StoredLength(s.bottom, kMinBoxHeight, 126, screens.Height());
        EXPECT_EQ((Rect{at.x, at.y, at.x + w, at.y + h}), box) << s.left << "," << s.top;
    }
}

TEST(Reach, OnlyBoxesOutOfReachMoveAndFreePlacesComeFirst) {
    struct Case {
        Rect home, other; // the primary work area and a second monitor's
        int boxes, w, h;
        bool arrange, roomForAll;
    } cases[] = {{{0, 0, 1600, 900}, {}, 10, 324, 126, false, true}, // default places run off the right
                 {{0, 40, 1366, 768}, {1366, 0, 3286, 1080}, 14, 324, 210, false, true},
                 {{0, 0, 800, 600}, {}, 30, 324, 210, false, false}, // far more boxes than room
                 {{0, 0, 1366, 768}, {}, 40, 324, 294, true, false}, // auto-arrange runs out of columns
                 {{0, 0, 1920, 1080}, {}, 20, 324, 294, true, false},
                 {{0, 0, 1000, 300}, {}, 2, 2400, 400, false, false}};
    for (const Case& c : cases) {
        std::vector<Rect> rects;
        for (int i = 0; i < c.boxes; ++i)
            rects.push_back({i * 250 + 40, 40 + 2000 * i * (c.w > 1000), i * 250 + 40 + c.w, 40 + c.h});
        ModelDesk desk({c.home.right, c.home.bottom}, rects);
        if (c.arrange) AutoArrange(desk);
        const std::vector<Rect> before = desk.rects;
        const auto shows = [&](const Rect& r) {
            const Rect band{r.left, r.top, r.right, r.top + kTitleBand};
            return RectsOverlap(band, c.home) || RectsOverlap(band, c.other);
        };
        desk.moves.clear();
        KeepBoxesReachable(desk, c.home, {c.other});
        size_t moved = 0;
        for (size_t i = 0; i < before.size(); ++i) {
            const Rect& r = desk.rects[i];
            EXPECT_TRUE(shows(r)) << c.boxes << " box " << i;
            if (shows(before[i])) {
                EXPECT_EQ(r, before[i]) << c.boxes << " box " << i << " was within reach";
                continue;
            }
            ++moved;
            for (size_t o = 0; o < before.size() && c.roomForAll; ++o)
                EXPECT_TRUE(o == i || !RectsOverlap(r, desk.rects[o])) << c.boxes << " box " << i;
        }
        EXPECT_TRUE(moved > 0 && desk.moves.size() == moved) << c.boxes << ": each move saved once";
    }
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

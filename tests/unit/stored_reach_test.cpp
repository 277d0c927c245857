// What stored numbers give a box, and which boxes are brought back within reach.
#include <gtest/gtest.h>

#include "boxes/box_rules.h"
#include "boxes/layout.h"
#include "settings/list_parse.h"
#include "unit/model_desk.h"

namespace {

TEST(StoredBounds, PositionsAndSizesFromTheFile) {
    const Rect screens{-1280, 0, 1920, 1080}; // a monitor left of the 1920 x 1080 primary one
    const int big = 2147483647, wrapped = 1215752191; // "99999999999" as the profile API reads it
    struct Case {
        int x, y, w, h;
        Rect box; // the default place of box 0 is (40, 40), its computed size 324 x 126
    } cases[] = {
        {100, 50, 400, 300, {100, 50, 500, 350}},     {0, 0, 140, 100, {0, 0, 140, 100}},
        {1919, 1079, 139, 99, {1919, 1079, 2243, 1205}}, {-1, 50, -5, -big - 1, {40, 40, 364, 166}},
        {big, big, big, big, {40, 40, 3240, 1120}},    {wrapped, 5, wrapped, 5000, {40, 40, 3240, 1120}},
        {1920, 0, 3200, 1080, {40, 40, 3240, 1120}},   {0, 1080, 5000, 2000, {40, 40, 3240, 1120}},
    };
    for (const Case& c : cases) {
        const auto pos = PosFromStored(c.x, c.y, screens);
        const Point at = pos ? Point{pos->left, pos->top} : DefaultBoxPos(0);
        const int w = StoredLength(c.w, kMinBoxWidth, 324, screens.Width());
        const int h = StoredLength(c.h, kMinBoxHeight, 126, screens.Height());
        EXPECT_EQ((Rect{at.x, at.y, at.x + w, at.y + h}), c.box) << c.x << "," << c.y << " " << c.w << "x" << c.h;
    }
}

TEST(NewBoxKey, ANameThatDiffersOnlyInCaseIsTheExistingBox) {
    const std::vector<std::wstring> keys{L"Work", L"WORK", L"Ärger", L"文档"};
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"work", L"Work"}, {L"WORK", L"WORK"}, {L"wORk", L"Work"}, {L"ärger", L"Ärger"},
        {L"文档", L"文档"},   {L"Works", L"Works"}, {L"新盒子", L"新盒子"}};
    for (const auto& c : cases)
        EXPECT_EQ(NewBoxKey(c.first, keys), c.second);
    EXPECT_EQ(NewBoxKey(L"work", {}), L"work");
}

bool BandShows(const Rect& r, const std::vector<Rect>& screens) {
    for (const Rect& s : screens)
        if (RectsOverlap({r.left, r.top, r.right, r.top + kTitleBand}, s)) return true;
    return false;
}

TEST(Reach, OnlyBoxesOutOfReachMoveAndFreePlacesComeFirst) {
    struct Case {
        Rect home;
        std::vector<Rect> screens; // besides home
        int boxes, w, h;
        bool arrange, roomForAll;
    } cases[] = {
        {{0, 0, 1600, 900}, {}, 10, 324, 126, false, true},           // default places run off the right
        {{0, 40, 1366, 768}, {{1366, 0, 3286, 1080}}, 14, 324, 210, false, true}, // a second monitor
        {{0, 0, 800, 600}, {}, 30, 324, 210, false, false},           // far more boxes than room
        {{0, 0, 1366, 768}, {}, 40, 324, 294, true, false},           // auto-arrange runs out of columns
        {{0, 0, 1920, 1080}, {}, 20, 324, 294, true, false},
        {{0, 0, 1000, 300}, {}, 2, 2400, 400, false, false},          // larger than the screen
    };
    for (const Case& c : cases) {
        std::vector<Rect> rects;
        for (int i = 0; i < c.boxes; ++i)
            rects.push_back({i * 250 + 40, 40 + (c.w > 1000 ? 2000 * i : 0), i * 250 + 40 + c.w, 40 + c.h});
        ModelDesk desk({c.home.right, c.home.bottom}, rects);
        if (c.arrange) AutoArrange(desk);
        const std::vector<Rect> before = desk.rects;
        std::vector<Rect> screens = c.screens;
        screens.push_back(c.home);
        desk.moves.clear();
        KeepBoxesReachable(desk, c.home, c.screens);
        int moved = 0;
        for (size_t i = 0; i < before.size(); ++i) {
            const Rect& r = desk.rects[i];
            EXPECT_TRUE(BandShows(r, screens)) << c.boxes << " box " << i;
            if (BandShows(before[i], screens)) {
                EXPECT_EQ(r, before[i]) << c.boxes << " box " << i << " was within reach";
                continue;
            }
            ++moved;
            EXPECT_TRUE(r.left >= c.home.left && r.top >= c.home.top) << c.boxes << " box " << i;
            bool overlaps = false;
            for (size_t o = 0; o < before.size(); ++o)
                overlaps = overlaps || (o != i && RectsOverlap(r, desk.rects[o]));
            EXPECT_TRUE(!c.roomForAll || !overlaps) << c.boxes << " box " << i;
        }
        EXPECT_EQ(desk.moves.size(), static_cast<size_t>(moved)) << "each move is saved once";
        EXPECT_GT(moved, 0) << c.boxes;
    }
}

} // namespace

#include <gtest/gtest.h>

#include <vector>

#include "boxes/box_rules.h"
#include "boxes/layout.h"
#include "settings/settings.h"
#include "unit/model_desk.h"

namespace {

const Size kScreen{1920, 1080};

Rect At(int x, int y, int w, int h) {
    return {x, y, x + w, y + h};
}

class Layout : public ::testing::Test {
  protected:
    void SetUp() override { ResetSettingsToDefaults(); }
    void TearDown() override { ResetSettingsToDefaults(); }
};

// A window system that never moves anything: every move is recorded but the boxes stay put.
class StuckDesk : public ModelDesk {
  public:
    using ModelDesk::ModelDesk;
    void Move(int i, int x, int y) override { moves.push_back({i, x, y}); }
};

TEST_F(Layout, OverlapPredicates) {
    struct Case {
        Rect a, b;
        bool overlap;
    } cases[] = {
        {{0, 0, 10, 10}, {10, 0, 20, 10}, false}, // shared vertical edge
        {{0, 0, 10, 10}, {0, 10, 10, 20}, false}, // shared horizontal edge
        {{0, 0, 10, 10}, {9, 9, 20, 20}, true},   // one pixel
        {{0, 0, 10, 10}, {2, 2, 5, 5}, true},     // contained
        {{0, 0, 10, 10}, {-5, 3, 0, 4}, false},   // touching the left side
        {{0, 0, 10, 10}, {11, 11, 12, 12}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RectsOverlap(c.a, c.b), c.overlap);
        EXPECT_EQ(RectsOverlap(c.b, c.a), c.overlap);
        EXPECT_EQ(RectsOverlapGap(c.a, c.b, 0), c.overlap);
    }
    EXPECT_TRUE(RectsOverlapGap({0, 0, 10, 10}, {10, 0, 20, 10}, 1)) << "a margin widens the test";
    EXPECT_FALSE(RectsOverlapGap({0, 0, 10, 10}, {12, 0, 20, 10}, 2));
    EXPECT_EQ(AbsI(-7), 7);
    EXPECT_EQ(AbsI(7), 7);

    ModelDesk desk(kScreen, {At(0, 0, 10, 10), At(100, 0, 10, 10), At(200, 0, 10, 10)});
    EXPECT_FALSE(OverlapsAnyExcept(desk, At(0, 0, 5, 5), 0)) << "the box itself does not count";
    EXPECT_TRUE(OverlapsAnyExcept(desk, At(0, 0, 5, 5), 1));
    EXPECT_FALSE(OverlapsAnyExcept2(desk, At(0, 0, 105, 5), 0, 1, 0));
    EXPECT_TRUE(OverlapsAnyExcept2(desk, At(0, 0, 205, 5), 0, 1, 0));
}

TEST_F(Layout, FreeSpotFollowsTheRingOrder) {
    struct Case {
        const char* name;
        std::vector<Rect> boxes; // box 0 searches
        Point expected;
    } cases[] = {
        {"top-left corner of the first ring", {At(100, 100, 50, 50)}, {84, 84}},
        {"the own place is never taken", {At(100, 100, 50, 50), At(900, 900, 10, 10)}, {84, 84}},
        {"middle rows try the left corner first", {At(100, 100, 50, 50), {60, 60, 140, 100}}, {84, 100}},
        {"then the right corner",
         {At(100, 100, 50, 50), {60, 60, 140, 100}, At(60, 100, 30, 40)},
         {116, 100}},
        {"off-screen corners are skipped", {At(0, 0, 50, 50)}, {16, 0}},
        // Corners up to ring 4 all touch the blocker; ring 5 starts at (20, 20) and its top row is
        // blocked up to its right end.
        {"first free corner of the first ring that has one",
         {At(100, 100, 50, 50), {60, 60, 180, 180}},
         {180, 20}},
    };
    for (const Case& c : cases) {
        ModelDesk desk(kScreen, c.boxes);
        ASSERT_TRUE(FindFreeSpot(desk, 0)) << c.name;
        ASSERT_EQ(desk.moves.size(), 1u) << c.name;
        EXPECT_EQ(desk.moves[0], (DeskMove{0, c.expected.x, c.expected.y})) << c.name;
    }
}

TEST_F(Layout, FreeSpotGivesUpWithoutMoving) {
    const std::vector<std::vector<Rect>> cases = {
        {At(0, 0, 1920, 1080), At(10, 10, 10, 10)}, // the other box covers the whole screen
        {At(-10000, 0, 100, 100)},                  // too far away for the last ring
        {At(0, 0, 2000, 100)},                      // wider than the screen
    };
    for (const auto& boxes : cases) {
        ModelDesk desk(kScreen, boxes);
        const int searcher = boxes.size() == 2 ? 1 : 0;
        EXPECT_FALSE(FindFreeSpot(desk, searcher));
        EXPECT_TRUE(desk.moves.empty());
    }
}

TEST_F(Layout, PushDirections) {
    struct Case {
        const char* name;
        std::vector<Rect> boxes; // box 0 is pushed away from box 1
        bool moved;
        Point expected;
    } cases[] = {
        {"right, flush with the screen edge",
         {At(150, 100, 100, 100), At(100, 100, 100, 100)},
         true,
         {1820, 100}},
        {"left to the screen edge", {At(50, 100, 100, 100), At(100, 100, 100, 100)}, true, {0, 100}},
        {"down", {At(100, 150, 100, 100), At(100, 100, 100, 100)}, true, {100, 980}},
        {"up", {At(100, 60, 100, 100), At(100, 100, 100, 100)}, true, {100, 0}},
        {"equal distances go sideways", {At(150, 150, 100, 100), At(100, 100, 100, 100)}, true, {1820, 150}},
        {"identical centres go right", {At(100, 100, 100, 100), At(100, 100, 100, 100)}, true, {1820, 100}},
        {"a third box stops the slide",
         {At(150, 100, 100, 100), At(100, 100, 100, 100), At(600, 150, 50, 50)},
         true,
         {500, 100}},
        {"blocked on the anchor: top edge right of the anchor",
         {At(150, 300, 100, 100), At(100, 300, 100, 100), At(251, 300, 50, 50)},
         true,
         {200, 0}},
        {"top edge, past a box in the way",
         {At(150, 300, 100, 100), At(100, 300, 100, 100), At(251, 300, 50, 50), At(190, 0, 100, 50)},
         true,
         {290, 0}},
        {"top edge, left of the anchor when the right is full",
         {At(1750, 300, 100, 100), At(1700, 300, 200, 100), At(1851, 300, 50, 50)},
         true,
         {1600, 0}},
        {"nowhere to go", {At(150, 0, 100, 1080), At(0, 0, 1920, 1080)}, false, {}},
        {"a box that cannot step and is clear of the anchor has not been pushed",
         {At(500, 100, 100, 100), At(100, 100, 100, 100), At(550, 150, 100, 100)},
         false,
         {}},
    };
    for (const Case& c : cases) {
        ModelDesk desk(kScreen, c.boxes);
        EXPECT_EQ(PushBoxAway(desk, 0, 1), c.moved) << c.name;
        if (c.moved) {
            ASSERT_EQ(desk.moves.size(), 1u) << c.name;
            EXPECT_EQ(desk.moves[0], (DeskMove{0, c.expected.x, c.expected.y})) << c.name;
        } else {
            EXPECT_TRUE(desk.moves.empty()) << c.name;
        }
    }
}

TEST_F(Layout, ResolveMovesTheEarlierBoxOfAPairAndLeavesTouchingBoxes) {
    ModelDesk desk(kScreen, {At(0, 0, 100, 100), At(100, 0, 100, 100), At(150, 50, 100, 100)});
    ResolveOverlaps(desk, -1);
    ASSERT_FALSE(desk.moves.empty());
    EXPECT_EQ(desk.moves[0].box, 1) << "box 0 only touches box 1; box 1 is the first that overlaps";
    for (size_t a = 0; a < desk.rects.size(); ++a)
        for (size_t b = a + 1; b < desk.rects.size(); ++b)
            EXPECT_FALSE(RectsOverlap(desk.rects[a], desk.rects[b]));

    ModelDesk anchored(kScreen, {At(150, 100, 100, 100), At(100, 100, 100, 100)});
    ResolveOverlaps(anchored, 1);
    ASSERT_EQ(anchored.moves.size(), 1u);
    EXPECT_EQ(anchored.moves[0], (DeskMove{0, 1820, 100})) << "pushed away from the anchor, which stays";
}

TEST_F(Layout, PassLimitsBoundTheWork) {
    // Boxes that the window system refuses to move: every pass "moves" one of them again.
    StuckDesk resolve(kScreen, {At(100, 100, 100, 100), At(120, 120, 100, 100)});
    ResolveOverlaps(resolve, -1);
    EXPECT_EQ(resolve.moves.size(), static_cast<size_t>(kResolvePasses));

    StuckDesk live(kScreen, {At(100, 100, 100, 100), At(120, 120, 100, 100)});
    PushBoxesLive(live, 0);
    EXPECT_EQ(live.moves.size(), static_cast<size_t>(kLivePushPasses));

    // A crowded screen: nobody finds a place, and the first pass that moves nothing ends the work.
    std::vector<Rect> crowded;
    for (int i = 0; i < 2; ++i)
        crowded.push_back(At(0, 0, 1920, 1080));
    ModelDesk full(kScreen, crowded);
    ResolveOverlaps(full, 0);
    EXPECT_TRUE(full.moves.empty());
}

TEST_F(Layout, NoOverlapSettingOffLeavesBoxesButArrangeStillWorks) {
    g_noOverlap = false;
    ModelDesk desk(kScreen, {At(100, 100, 100, 100), At(120, 120, 100, 100)});
    ResolveOverlaps(desk, -1);
    ResolveOverlaps(desk, 0);
    PushBoxesLive(desk, 0);
    EXPECT_TRUE(desk.moves.empty());
    AutoArrange(desk);
    EXPECT_EQ(desk.moves.size(), 2u);
}

TEST_F(Layout, AutoArrangeStacksColumnsFromTheRight) {
    // Sorted by top, then left: box 2 (top 0), box 0 (top 10, left 5), box 1 (top 10, left 50).
    ModelDesk desk(kScreen, {At(5, 10, 300, 500), At(50, 10, 200, 300), At(900, 0, 320, 500)});
    AutoArrange(desk);
    const std::vector<DeskMove> expected = {
        {2, 1920 - 320, 0}, {0, 1920 - 300, 500}, {1, 1920 - 320 - 200, 0}};
    EXPECT_EQ(desk.moves, expected);

    // Columns run out: x goes negative and stays so.
    std::vector<Rect> tall;
    for (int i = 0; i < 8; ++i)
        tall.push_back(At(i, 0, 300, 1000));
    ModelDesk many(kScreen, tall);
    AutoArrange(many);
    ASSERT_EQ(many.moves.size(), 8u);
    EXPECT_EQ(many.moves[6], (DeskMove{6, 1920 - 7 * 300, 0}));
    EXPECT_EQ(many.moves[7], (DeskMove{7, 1920 - 8 * 300, 0}));
    EXPECT_LT(many.moves[7].x, 0);
}

TEST_F(Layout, LivePushGoesAlongTheThinnerOverlap) {
    struct Case {
        const char* name;
        Rect other;
        Point expected;
        Rect resized = {400, 400, 600, 600};
    } cases[] = {
        {"taller than wide overlap: sideways to the right", At(580, 420, 100, 100), {600, 420}},
        {"sideways to the left", At(330, 420, 100, 100), {300, 420}},
        {"wider than tall overlap: down", At(420, 580, 100, 100), {420, 600}},
        {"up", At(420, 330, 100, 100), {420, 300}},
        {"square overlap counts as sideways", At(550, 550, 100, 100), {600, 550}},
        {"clamped to the screen", At(1800, 420, 100, 100), {1820, 420}, {1700, 400, 1900, 600}},
    };
    for (const Case& c : cases) {
        ModelDesk desk(kScreen, {c.resized, c.other});
        PushBoxesLive(desk, 0);
        ASSERT_EQ(desk.moves.size(), 1u) << c.name;
        EXPECT_EQ(desk.moves[0], (DeskMove{1, c.expected.x, c.expected.y})) << c.name;
    }
}

TEST(BoxRules, DefaultSizeAndPlace) {
    struct Case {
        int cellW, cellH;
        size_t items;
        Size expected;
    } cases[] =
        {
            {78, 84, 0, {324, 126}},   {78, 84, 1, {324, 126}}, {78, 84, 4, {324, 126}},
            {78, 84, 5, {324, 210}},   {78, 84, 8, {324, 210}}, {78, 84, 9, {324, 294}},
            {174, 180, 5, {708, 402}}, // large icons: still four columns
        };
    for (const Case& c : cases) {
        const Size s = DefaultBoxSize(c.cellW, c.cellH, c.items);
        EXPECT_EQ(s.w, c.expected.w) << c.items;
        EXPECT_EQ(s.h, c.expected.h) << c.items;
    }
    EXPECT_EQ(DefaultBoxPos(0).x, 40);
    EXPECT_EQ(DefaultBoxPos(8).x, 2040);
    EXPECT_EQ(DefaultBoxPos(8).y, 40);
    EXPECT_EQ(StoredOrComputed(139, kMinBoxWidth, 324), 324);
    EXPECT_EQ(StoredOrComputed(140, kMinBoxWidth, 324), 140);
    EXPECT_EQ(StoredOrComputed(99, kMinBoxHeight, 126), 126);
    EXPECT_EQ(StoredOrComputed(100, kMinBoxHeight, 126), 100);
}

TEST(BoxRules, ShellImageNameIsACaseSensitiveSubstring) {
    struct Case {
        const wchar_t* image;
        bool shell;
    } cases[] = {
        {L"C:\\Windows\\explorer.exe", true},
        {L"C:\\Windows\\EXPLORER.EXE", false},
        {L"D:\\tools\\myexplorer.exe.bak", true},
        {L"C:\\tests\\win_tests.exe", false},
        {L"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsShellImageName(c.image), c.shell);
}

} // namespace

#include <gtest/gtest.h>

#include "boxes/box_input.h"

namespace {

TEST(BoxInput, EdgesAndCursorsAtTheStripBoundaries) {
    const int W = 300, H = 200; // left/top strips 0..6, right/bottom from 294 / 194
    struct Case {
        int x, y;
        unsigned edges;
        BoxCursor cursor;
    } cases[] = {
        {6, 100, kEdgeLeft, BoxCursor::SizeWE},      {7, 100, 0, BoxCursor::Arrow},
        {294, 100, kEdgeRight, BoxCursor::SizeWE},   {293, 100, 0, BoxCursor::Arrow},
        {100, 6, kEdgeTop, BoxCursor::SizeNS},       {100, 7, 0, BoxCursor::Arrow},
        {100, 194, kEdgeBottom, BoxCursor::SizeNS},  {100, 193, 0, BoxCursor::Arrow},
        {-40, 100, kEdgeLeft, BoxCursor::SizeWE},    {100, 900, kEdgeBottom, BoxCursor::SizeNS},
        {0, 0, kEdgeLeft | kEdgeTop, BoxCursor::SizeNWSE},
        {299, 199, kEdgeRight | kEdgeBottom, BoxCursor::SizeNWSE},
        {6, 194, kEdgeLeft | kEdgeBottom, BoxCursor::SizeNESW},
        {294, 6, kEdgeRight | kEdgeTop, BoxCursor::SizeNESW},
        // A window narrower than both strips lies on the left and the right at once.
        {5, 100, kEdgeLeft | kEdgeRight, BoxCursor::SizeWE},
    };
    for (const Case& c : cases) {
        const int w = c.x == 5 ? 10 : W;
        EXPECT_EQ(HitEdge(c.x, c.y, w, H), c.edges) << c.x << "," << c.y;
        EXPECT_EQ(EdgeCursor(c.edges), c.cursor) << c.x << "," << c.y;
    }
    // Away from the edges: the hand over the title band and over a cell, else the arrow.
    EXPECT_EQ(PointerCursor(0, 29, -1), BoxCursor::Hand);
    EXPECT_EQ(PointerCursor(0, 30, -1), BoxCursor::Arrow);
    EXPECT_EQ(PointerCursor(0, 90, 2), BoxCursor::Hand);
    EXPECT_EQ(PointerCursor(kEdgeTop, 3, -1), BoxCursor::SizeNS);
}

TEST(BoxInput, ResizeStopsAtTheMinimumFromEveryEdge) {
    const Rect r0 = {100, 100, 400, 300}; // 300 x 200
    struct Case {
        unsigned mode;
        int dx, dy;
        Rect want;
    } cases[] = {
        {kEdgeLeft, 500, 0, {260, 100, 400, 300}},   // the right side stays
        {kEdgeRight, -500, 0, {100, 100, 240, 300}}, // the left side stays
        {kEdgeTop, 0, 500, {100, 200, 400, 300}},
        {kEdgeBottom, 0, -500, {100, 100, 400, 200}},
        {kEdgeLeft | kEdgeTop, 500, 500, {260, 200, 400, 300}},
        {kEdgeRight | kEdgeBottom, -500, -500, {100, 100, 240, 200}},
        {kEdgeLeft, 160, 0, {260, 100, 400, 300}},   // exactly the minimum
        {kEdgeLeft, 159, 0, {259, 100, 400, 300}},   // one above it
        {kEdgeRight | kEdgeBottom, 20, 30, {100, 100, 420, 330}},
        {kEdgeLeft, -50, 70, {50, 100, 400, 300}},   // a left edge ignores dy
    };
    for (const Case& c : cases) EXPECT_EQ(ResizedRect(r0, c.mode, c.dx, c.dy), c.want) << c.mode << " " << c.dx;
}

TEST(BoxInput, WheelScrollsWholeNotchesWithinTheRows) {
    struct Case {
        int scroll, delta;
        size_t items;
        int w, h, want;
    } cases[] = {
        // 20 items, 4 columns, 5 rows of 84: the last row shows at 5 * 84 - (210 - 42) = 252.
        {0, 60, 20, 324, 210, 0},    {0, -60, 20, 324, 210, 0},    {0, -240, 20, 324, 210, 80},
        {80, 120, 20, 324, 210, 40}, {0, 120, 20, 324, 210, 0},    {240, -240, 20, 324, 210, 252},
        {0, -1200, 2, 324, 210, 0},  // everything fits: no scrolling at all
        {0, -120, 3, 80, 126, 40},   // one column of three rows
        {0, -1200, 3, 80, 126, 168},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScrollAfterWheel(c.scroll, c.delta, c.items, c.w, c.h, 78, 84), c.want)
            << c.scroll << " " << c.delta << " " << c.items;
}

TEST(BoxInput, ADragStartsBeyondFivePixels) {
    struct Case {
        int dx, dy;
        bool drag;
    } cases[] = {{0, 0, false}, {5, 0, false}, {-3, -4, false}, {5, 1, true}, {0, -6, true}, {-4, 4, true}};
    for (const Case& c : cases) EXPECT_EQ(StartsDrag(c.dx, c.dy), c.drag) << c.dx << "," << c.dy;
}

TEST(BoxInput, DropOutcomes) {
    // Two overlapping boxes: list order decides; left and top inclusive, right and bottom exclusive.
    const std::vector<Rect> boxes = {{0, 0, 100, 100}, {50, 50, 200, 200}};
    EXPECT_EQ(BoxAt(boxes, {60, 60}), 0);
    EXPECT_EQ(BoxAt(boxes, {100, 100}), 1);
    EXPECT_EQ(BoxAt(boxes, {200, 100}), -1);
    EXPECT_EQ(BoxAt(boxes, {0, 0}), 0);
    struct Case {
        int source, target;
        bool inStore;
        DropKind kind;
        bool back;
    } cases[] = {
        {0, 0, true, DropKind::SameBox, false},   {0, 1, true, DropKind::OtherBox, false},
        {0, 1, false, DropKind::OtherBox, false}, {0, -1, true, DropKind::NoBox, true},
        {0, -1, false, DropKind::NoBox, false},
    };
    for (const Case& c : cases) {
        const DropPlan p = PlanItemDrop(c.source, c.target, c.inStore);
        EXPECT_EQ(p.kind, c.kind) << c.target << c.inStore;
        EXPECT_EQ(p.backToDesktop, c.back) << c.target << c.inStore;
    }
}

} // namespace

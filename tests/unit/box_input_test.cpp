#include <gtest/gtest.h>

#include <algorithm>

#include "base/strutil.h"
#include "boxes/box_input.h"
#include "render/scene.h"
#include "settings/metrics.h"

namespace {

TEST(BoxInput, EdgesAndCursorsAtTheStripBoundaries) {
    using C = BoxCursor; // client 300 x 200: left/top strips 0..6, right/bottom from 294 / 194
    const unsigned L = kEdgeLeft, R = kEdgeRight, T = kEdgeTop, B = kEdgeBottom;
    struct { int x, y, w; unsigned edges; C cursor; } cases[] = {
        {6, 99, 300, L, C::SizeWE}, {7, 99, 300, 0, C::Arrow}, {294, 99, 300, R, C::SizeWE}, {293, 99, 300, 0, C::Arrow},
        {99, 6, 300, T, C::SizeNS}, {99, 7, 300, 0, C::Arrow}, {99, 194, 300, B, C::SizeNS}, {99, 193, 300, 0, C::Arrow},
        {-40, 99, 300, L, C::SizeWE}, {0, 0, 300, L | T, C::SizeNWSE}, {299, 199, 300, R | B, C::SizeNWSE},
        {6, 194, 300, L | B, C::SizeNESW}, {294, 6, 300, R | T, C::SizeNESW}, {5, 99, 10, L | R, C::SizeWE}};
    for (const auto& c : cases) {
        EXPECT_EQ(HitEdge(c.x, c.y, c.w, 200), c.edges) << c.x << "," << c.y;
        EXPECT_EQ(EdgeCursor(c.edges), c.cursor) << c.x << "," << c.y;
    }
    // Off the edges: the hand over the title band and over a cell, else the arrow.
    EXPECT_EQ(PointerCursor(0, 29, -1), C::Hand);
    EXPECT_EQ(PointerCursor(0, 30, -1), C::Arrow);
    EXPECT_EQ(PointerCursor(0, 90, 2), C::Hand);
}

TEST(BoxInput, ResizeStopsAtTheMinimumFromEveryEdge) {
    const Rect r0 = {100, 100, 400, 300}; // 300 x 200; the side opposite a dragged edge stays
    struct { unsigned mode; int dx, dy; Rect want; } cases[] = {
        {kEdgeLeft, 500, 0, {260, 100, 400, 300}},   {kEdgeRight, -500, 0, {100, 100, 240, 300}},
        {kEdgeTop, 0, 500, {100, 200, 400, 300}},    {kEdgeBottom, 0, -500, {100, 100, 400, 200}},
        {kEdgeLeft | kEdgeTop, 500, 500, {260, 200, 400, 300}},
        {kEdgeRight | kEdgeBottom, 20, 30, {100, 100, 420, 330}},
        {kEdgeLeft, 159, 0, {259, 100, 400, 300}},   {kEdgeLeft, -50, 70, {50, 100, 400, 300}}};
    for (const auto& c : cases) EXPECT_EQ(ResizedRect(r0, c.mode, c.dx, c.dy), c.want) << c.mode << " " << c.dx;
}

TEST(BoxInput, WheelScrollsWholeNotchesWithinTheRows) {
    // 20 items in 4 columns: 5 rows of 84, the last one shows at 5 * 84 - (210 - 42) = 252.
    struct { int scroll, delta; size_t items; int w, h, want; } cases[] = {
        {0, 60, 20, 324, 210, 0},   {0, -60, 20, 324, 210, 0},   {0, -240, 20, 324, 210, 80},
        {80, 120, 20, 324, 210, 40}, {0, 120, 20, 324, 210, 0},  {240, -240, 20, 324, 210, 252},
        {0, -1200, 2, 324, 210, 0}, {0, -120, 3, 80, 126, 40},  {0, -1200, 3, 80, 126, 168}}; // one column
    for (const auto& c : cases)
        EXPECT_EQ(ScrollAfterWheel(c.scroll, c.delta, c.items, c.w, c.h, 78, 84), c.want) << c.scroll << " " << c.delta;
}

TEST(BoxInput, DragThresholdAndDropOutcomes) {
    struct { int dx, dy; bool drag; } moves[] = {{5, 0, false}, {-3, -4, false}, {5, 1, true}, {0, -6, true}};
    for (const auto& m : moves) EXPECT_EQ(StartsDrag(m.dx, m.dy), m.drag) << m.dx << "," << m.dy;
    // Overlapping boxes: list order decides; left and top inclusive, right and bottom exclusive.
    const std::vector<Rect> boxes = {{0, 0, 100, 100}, {50, 50, 200, 200}};
    EXPECT_EQ(BoxAt(boxes, {60, 60}), 0);
    EXPECT_EQ(BoxAt(boxes, {100, 100}), 1);
    EXPECT_EQ(BoxAt(boxes, {200, 100}), -1);
    struct { int target; bool inStore; DropKind kind; bool back; } drops[] = {
        {0, true, DropKind::SameBox, false}, {1, true, DropKind::OtherBox, false},
        {-1, true, DropKind::NoBox, true},   {-1, false, DropKind::NoBox, false}};
    for (const auto& d : drops) {
        const DropPlan p = PlanItemDrop(0, d.target, d.inStore);
        EXPECT_TRUE(p.kind == d.kind && p.backToDesktop == d.back) << d.target << d.inStore;
    }
}

TEST(BoxInput, DropsFromOtherProgramsNeverTakeTheDesktopOrTheStore) {
    const std::wstring desk = L"C:\\Users\\Li\\Desktop", store = desk + L"\\.hidden";
    const struct { const wchar_t* path; bool refused; } cases[] = {
        {L"C:\\Users\\Li\\Desktop", true}, {L"c:/users/li/DESKTOP", true}, {L"C:\\Users\\Li", true},
        {L"C:\\", true}, {L"C:\\Users\\Li\\Desktop\\.HIDDEN", true}, {L"C:\\Users\\Li\\Desktop\\.hidden\\a.txt", true},
        {L"C:\\Users\\Li\\Desktop\\.hidden\\sub\\b.txt", true}, {L"", true},
        {L"C:\\Users\\Li\\Desktop\\a.txt", false}, {L"C:\\Users\\Li\\Desk", false},
        {L"C:\\Users\\Li\\Desktop\\.hidden2", false}, {L"D:\\Users\\Li\\Desktop", false}};
    for (const auto& c : cases) EXPECT_EQ(RefusesDroppedPath(c.path, desk, store), c.refused) << WideToUtf8(c.path);
}

TEST(BoxInput, NameCellsSpreadAcrossTheBoxAndHoldTwoLinesOfTheNameFont) {
    // The box draws each name in NameRectIn of its cell, the rectangle the tooltip lays it out in to
    // see whether it is cut. The columns share the box's width; a name has two lines of its font (to
    // the cell's bottom while the line height is unknown), and the cell grows with a tall font.
    const struct {
        int icon, line, width;
        int columns, pitch, cellH, nameH;
    } rows[] = {
        {32, 0, 240, 2, 114, 84, 40},  {32, 13, 324, 4, 78, 84, 26},  {32, 20, 324, 4, 78, 84, 40},
        {32, 50, 324, 4, 78, 144, 100}, {64, 13, 324, 2, 156, 116, 26}, {64, 13, 600, 5, 117, 116, 26},
        {16, 10, 89, 1, 77, 68, 20},   {128, 0, 140, 1, 174, 180, 40},
    };
    for (const auto& r : rows) {
        const std::vector<Item> items(12);
        BoxSceneInput in;
        in.width = r.width;
        in.height = 4000;
        in.items = &items;
        in.iconSize = r.icon;
        in.nameLine = r.line;
        in.cellW = CellWidthFor(r.icon);
        in.cellH = CellHeightFor(r.icon, r.line);
        EXPECT_EQ(GridColumns(in.width, in.cellW), r.columns) << r.icon << " " << r.width;
        EXPECT_EQ(ColumnPitch(in.width, in.cellW), r.pitch) << r.icon << " " << r.width;
        EXPECT_EQ(in.cellH, r.cellH) << r.icon << " " << r.line;
        std::vector<DrawOp> ops;
        BuildBoxScene(in, ops);
        int i = 0;
        for (const DrawOp& op : ops) {
            if (op.role != TextRole::Name || op.kind != DrawKind::Text) continue;
            const Rect cell = CellRectAt(i++, in.width, 0, in.cellW, in.cellH);
            const RectF want = NameRectIn(cell, r.icon, r.line);
            EXPECT_TRUE(op.rect == want) << r.icon << " " << r.width << " item " << i;
            EXPECT_EQ(op.rect.bottom - op.rect.top, r.nameH) << r.icon << " " << r.line;
            EXPECT_TRUE(op.rect.left >= cell.left && op.rect.right <= cell.right && op.rect.bottom <= cell.bottom);
            // Within the box, unless the box is narrower than one cell.
            EXPECT_TRUE(r.width < in.cellW + kGridMargin || cell.right <= r.width - kGridMargin / 2) << r.width;
        }
        EXPECT_EQ(i, 12);
    }
}

} // namespace

// Lengths of a box on monitors of other DPIs, stored sizes measured at another DPI, icons shrunk.
#include <gtest/gtest.h>

#include "boxes/box_input.h"
#include "boxes/box_rules.h"
#include "render/icon_shrink.h"
#include "render/scene.h"
#include "settings/metrics.h"

namespace {

TEST(Scale, EveryLengthOfABoxFollowsTheDpiAndIsTodaysAt96) {
    struct Row {
        int dpi, icon, cellW, cellH, band, bar, gridLeft, gridTop, margin, outline, edge, minW, minH, folded, slop,
            wheel;
        float font;
    };
    const Row rows[] = {
        {96, 32, 78, 84, 30, 34, 6, 42, 12, 1, 6, 140, 100, 36, 5, 40, 13},
        {120, 40, 98, 105, 38, 43, 8, 53, 15, 1, 8, 175, 125, 45, 6, 50, 16.25f},
        {144, 48, 117, 126, 45, 51, 9, 63, 18, 2, 9, 210, 150, 54, 8, 60, 19.5f},
        {192, 64, 156, 168, 60, 68, 12, 84, 24, 2, 12, 280, 200, 72, 10, 80, 26},
    };
    BoxMetrics at96;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.dpi);
        const BoxMetrics m = ScaledMetrics(at96, r.dpi);
        const int got[] = {m.iconSize, m.cellW, m.cellH, m.titleBand, m.titleBar, m.gridLeft, m.gridTop, m.gridMargin,
                           m.outline, m.edge, m.minW, m.minH, m.collapsedH, m.dragSlop, m.wheelStep};
        const int want[] = {r.icon, r.cellW, r.cellH, r.band, r.bar, r.gridLeft, r.gridTop, r.margin,
                            r.outline, r.edge, r.minW, r.minH, r.folded, r.slop, r.wheel};
        for (size_t i = 0; i < sizeof want / sizeof *want; ++i) EXPECT_EQ(got[i], want[i]) << "field " << i;
        EXPECT_EQ(m.fontSize, r.font);
        // The free functions of the grid, the mouse and the default size agree with the measures.
        const int dpi = m.dpi;
        const Rect cell = CellRectAt(0, 4 * m.cellW + m.gridMargin, 0, m.cellW, m.cellH, dpi);
        EXPECT_EQ(cell.left, m.gridLeft);
        EXPECT_EQ(cell.top, m.gridTop);
        EXPECT_EQ(GridColumns(4 * m.cellW + m.gridMargin, m.cellW, dpi), 4);
        EXPECT_EQ(HoverIndex(true, {cell.left, m.titleBand - 1}, 1, 400, -m.gridTop, m.cellW, m.cellH, dpi), -1);
        EXPECT_EQ(HitEdge(m.edge, 50, 500, 500, dpi), kEdgeLeft);
        EXPECT_EQ(HitEdge(m.edge + 1, 50, 500, 500, dpi), 0u);
        EXPECT_EQ(ResizedRect({0, 0, 300, 300}, kEdgeRight | kEdgeBottom, -300, -300, dpi), (Rect{0, 0, m.minW, m.minH}));
        EXPECT_FALSE(StartsDrag(m.dragSlop, 0, dpi));
        EXPECT_TRUE(StartsDrag(m.dragSlop + 1, 0, dpi));
        EXPECT_EQ(ScrollAfterWheel(1000, -120, 100, 300, 300, m.cellW, m.cellH, dpi), 1000 + m.wheelStep);
        EXPECT_EQ(DefaultBoxSize(m.cellW, m.cellH, 1, dpi).h, m.cellH + m.titleAndMargin);
        // The picture: the title bar as tall as the measures say, the icon at their size.
        const std::vector<Item> items(1);
        BoxSceneInput in;
        in.width = 400;
        in.height = 400;
        in.items = &items;
        in.iconSize = m.iconSize;
        in.cellW = m.cellW;
        in.cellH = m.cellH;
        in.dpi = dpi;
        std::vector<DrawOp> ops;
        BuildBoxScene(in, ops);
        for (const DrawOp& op : ops) {
            const bool bar = op.kind == DrawKind::Gradient, icon = op.kind == DrawKind::Icon;
            if (!bar && !icon && op.kind != DrawKind::Stroke) continue;
            EXPECT_EQ(bar ? op.rect.bottom : icon ? op.rect.right - op.rect.left : op.width,
                      static_cast<float>(bar ? m.titleBar : icon ? m.iconSize : m.outline));
        }
    }
}

TEST(Scale, AStoredSizeKeepsItsMeaningAtAnotherDpi) {
    struct Row {
        int len, from, to, want;
    };
    const Row rows[] = {
        {300, 0, 96, 300},     // no DPI stored: 96, read as written
        {300, 96, 144, 450},   {450, 144, 96, 300}, {301, 144, 96, 201}, // rounded to the nearest
        {-3, 96, 144, -5},     // halves away from zero, as MulDiv
        {0, 144, 96, 0},       // absent stays absent
        {280, 192, 120, 175},  {300, 5000, 96, 300}, // a DPI no monitor has counts as 96
    };
    for (const Row& r : rows) EXPECT_EQ(RescaleLen(r.len, r.from, r.to), r.want) << r.len << " " << r.from << "->" << r.to;
}

TEST(Scale, IconsAreShrunkByTheAverageOfWhatTheyCover) {
    // 4 x 4 to 2 x 2: each pixel the mean of a block; 3 x 3 to 2 x 2: the middle row and column shared.
    std::vector<uint8_t> src(4 * 4 * 4, 0);
    for (int i = 0; i < 16; ++i) src[i * 4 + 3] = static_cast<uint8_t>(i * 16);
    const std::vector<uint8_t> four = ResampleIcon(src.data(), 16, 4, 2);
    ASSERT_EQ(four.size(), 16u);
    EXPECT_EQ(four[3], (0 + 16 + 64 + 80 + 2) / 4);
    EXPECT_EQ(four[15], (160 + 176 + 224 + 240 + 2) / 4);
    const std::vector<uint8_t> three = ResampleIcon(src.data(), 16, 3, 2);
    EXPECT_EQ(three[3], (4 * 0 + 2 * 16 + 2 * 64 + 80 + 4) / 9);
    // A picture padded into the top left of the big frame is taken from its own part.
    const int edges[][3] = {{48, 256, 48}, {20, 256, 24}, {200, 256, 256}, {0, 256, 256}, {33, 256, 48}};
    for (const auto& e : edges) EXPECT_EQ(UsedIconEdge(e[0], e[1]), e[2]) << e[0];
    std::vector<uint8_t> pad(8 * 8 * 4, 0);
    pad[(2 * 8 + 4) * 4 + 3] = 255;
    EXPECT_EQ(AlphaExtent(pad.data(), 32, 8), 5);
}

} // namespace

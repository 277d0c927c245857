// A hover change on the bitmap path draws the cells it left and entered and nothing else (a long name
// stays in its own cell), a resize step that keeps the columns the title band and the new strips, a
// wheel step the rows it moves into view, and each leaves the same pixels as drawing the whole box.
#include "boxes/box_win.h"
#include "render/box_record_win.h"
#include "render/devices_win.h"
#include "render/paint_win.h"
#include "win/box_env.h"

#include <algorithm>

#include "render/fallback_win.h"
#include "render/scene.h"

namespace {

using HoverPartWin = BoxWorld;

std::string Pixels(const BoxWin* box) {
    return std::string(static_cast<const char*>(box->fallback->bits), size_t(box->fallback->w) * box->fallback->h * 4);
}

TEST_F(HoverPartWin, AHoverChangeDrawsOnlyItsCells) {
    InitDCompInfra();
    std::vector<Item> items(40);
    for (size_t k = 0; k < items.size(); ++k) items[k].name = L"f" + std::to_wstring(k) + L".txt";
    items[1].name = L"a name far too long for one cell that runs on below it into the next row of cells.txt";
    CreateBox(L"文档", items, 0);
    ASSERT_EQ(g_boxes.size(), 1u);
    BoxWin* box = g_boxes[0];
    ASSERT_TRUE(box->fallback) << "the bitmap path";
    DrawMarkedBoxes();
    const int below = 1 + GridColumns(box->width, g_cellW); // the cell under the long name
    ASSERT_LT(below, 12) << "the cell below the long name shows";

    const struct { int hover; unsigned long cells; } steps[] = {
        {3, 1},     // from none: the entered cell
        {4, 2},     // the left one and the entered one
        {below, 2}, // the long name above stays in its own cell: not drawn again
        {-1, 1},    // left: that cell alone
    };
    for (const auto& st : steps) {
        const unsigned long before = FallbackCellsDrawn();
        box->hoverIdx = st.hover;
        MarkBoxDirty(box);
        DrawMarkedBoxes();
        EXPECT_EQ(FallbackCellsDrawn() - before, st.cells) << "hover " << st.hover;
        // Whole, the picture is the same.
        const std::string part = Pixels(box);
        InvalidateSurfaces();
        DrawMarkedBoxes();
        EXPECT_TRUE(part == Pixels(box)) << "hover " << st.hover << ": the part drawn differs from the whole picture";
    }
}

TEST_F(HoverPartWin, AResizeStepKeepingTheColumnsDrawsOnlyTheBandAndTheNewStrips) {
    InitDCompInfra();
    CreateBox(L"文档", std::vector<Item>(40, Item{L"f.txt", L"", false, L".txt"}), 0);
    BoxWin* box = g_boxes.at(0);
    ASSERT_TRUE(box->fallback) << "the bitmap path";
    ResizeBoxRender(box, 330, 300); // four columns 79 apart (328 to 331 wide); rows start at 42, 84 apart
    const struct { int w, h; unsigned long cells; } steps[] = {
        {331, 300, 0}, {331, 340, 4}, // wider: no cell in the band or the strip; taller: the fourth row
        {329, 320, 4}, {329, 320, 0}, // smaller: the new border crosses the fourth row; the same: nothing
        {350, 320, 16}, {420, 320, 20}, // columns further apart, five columns: the whole box
    };
    for (const auto& st : steps) {
        const unsigned long before = FallbackCellsDrawn();
        ResizeBoxRender(box, st.w, st.h);
        EXPECT_EQ(FallbackCellsDrawn() - before, st.cells) << st.w << "x" << st.h;
        const std::string part = Pixels(box);
        InvalidateSurfaces();
        DrawMarkedBoxes();
        EXPECT_TRUE(part == Pixels(box)) << st.w << "x" << st.h << ": the parts drawn differ from the whole picture";
    }
}

TEST_F(HoverPartWin, AWheelStepMovesThePictureAndDrawsOnlyTheRowsComingIntoView) {
    InitDCompInfra();
    std::vector<Item> items(200);
    for (size_t k = 0; k < items.size(); ++k) items[k] = Item{L"季度报告 " + std::to_wstring(k) + L".txt", L"", false, L".txt"};
    items[9].name = L"a name far too long for one cell, and then some more of it.txt";
    CreateBox(L"文档", items, 0);
    BoxWin* box = g_boxes.at(0);
    ASSERT_TRUE(box->fallback) << "the bitmap path";
    ResizeBoxRender(box, 330, 400); // four columns; rows 84 apart, about four and a half in view
    DrawMarkedBoxes();
    const struct { int scrollY, hover; unsigned long most; } steps[] = {
        // One notch down and back, the hover following the grid; far away (whole: most 0); a step of 200.
        {40, -1, 12}, {80, 5, 16}, {40, 6, 16}, {0, -1, 12}, {84 * 40, -1, 0}, {84 * 40 - 200, -1, 16},
    };
    for (const auto& st : steps) {
        unsigned long before = FallbackCellsDrawn();
        box->scrollY = st.scrollY;
        box->hoverIdx = st.hover;
        MarkBoxDirty(box);
        DrawMarkedBoxes();
        const unsigned long drawn = FallbackCellsDrawn() - before;
        const std::string part = Pixels(box);
        before = FallbackCellsDrawn();
        InvalidateSurfaces();
        DrawMarkedBoxes();
        const unsigned long whole = FallbackCellsDrawn() - before;
        EXPECT_EQ(drawn, st.most ? std::min(drawn, st.most) : whole) << "scroll " << st.scrollY;
        EXPECT_TRUE(part == Pixels(box)) << "scroll " << st.scrollY << ": the moved picture differs from the whole";
    }
}

} // namespace

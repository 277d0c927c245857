// Measures of a box and of its item grid: the fixed ones, and the cell size derived from the icon size.
#pragma once

// A remembered position keeps the corner only; the rest of the rectangle is this nominal box.
constexpr int kNominalBoxWidth = 240;
constexpr int kNominalBoxHeight = 360;
constexpr int kTitleBand = 30; // client rows above this move the box, open its menu, highlight nothing
constexpr int kGridMargin = 12; // horizontal space around the item grid

extern int g_cellW; // 78 for icons of 32
extern int g_cellH; // 84 for icons of 32

// Cell width and height for an icon edge: icon + 46 and icon + 52, each at least 64.
int CellWidthFor(int iconSize);
int CellHeightFor(int iconSize);

// g_cellW and g_cellH follow g_iconSize.
void UpdateCellSize();

// Measures of a box and of its item grid: the fixed ones, and the cell size derived from the icon size.
#pragma once

// A remembered position keeps the corner only; the rest of the rectangle is this nominal box.
constexpr int kNominalBoxWidth = 240;
constexpr int kNominalBoxHeight = 360;
constexpr int kTitleBand = 30; // client rows above this move the box, open its menu, highlight nothing
constexpr int kGridMargin = 12; // horizontal space around the item grid

extern int g_cellW; // 78 for icons of 32
extern int g_cellH; // 84 for icons of 32

// An item's name shows on this many lines at most, below its icon in a band at least kNameBand high.
constexpr int kNameLines = 2;
constexpr int kNameBand = 40;
// Height of one line of the name font in pixels, as measured where the font is; 0 until then.
extern int g_nameLineHeight;

// Cell width and height for an icon edge: icon + 46 and icon + 52, each at least 64; the height grows
// with a name line so tall that kNameLines of them need more than kNameBand.
int CellWidthFor(int iconSize);
int CellHeightFor(int iconSize, int nameLineHeight = 0);

// g_cellW and g_cellH follow g_iconSize and g_nameLineHeight.
void UpdateCellSize();

// Cell metrics of the item grid, derived from the icon size.
#pragma once

extern int g_cellW; // 78 for icons of 32
extern int g_cellH; // 84 for icons of 32

// Cell width and height for an icon edge: icon + 46 and icon + 52, each at least 64.
int CellWidthFor(int iconSize);
int CellHeightFor(int iconSize);

// g_cellW and g_cellH follow g_iconSize.
void UpdateCellSize();

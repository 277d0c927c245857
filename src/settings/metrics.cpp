#include "settings/metrics.h"

#include "settings/settings.h"

int g_cellW = 78;
int g_cellH = 84;

int CellWidthFor(int iconSize) { return iconSize + 46 < 64 ? 64 : iconSize + 46; }

int CellHeightFor(int iconSize) { return iconSize + 52 < 64 ? 64 : iconSize + 52; }

void UpdateCellSize() {
    g_cellW = CellWidthFor(g_iconSize);
    g_cellH = CellHeightFor(g_iconSize);
}

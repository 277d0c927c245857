#include "settings/metrics.h"

#include "settings/settings.h"

int g_cellW = 78;
int g_cellH = 84;
int g_nameLineHeight = 0;

int CellWidthFor(int iconSize) { return iconSize + 46 < 64 ? 64 : iconSize + 46; }

int CellHeightFor(int iconSize, int nameLineHeight) {
    const int lines = kNameLines * (nameLineHeight > 0 ? nameLineHeight : 0);
    const int h = iconSize + 52 + (lines > kNameBand ? lines - kNameBand : 0);
    return h < 64 ? 64 : h;
}

void UpdateCellSize() {
    g_cellW = CellWidthFor(g_iconSize);
    g_cellH = CellHeightFor(g_iconSize, g_nameLineHeight);
}

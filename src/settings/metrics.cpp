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

int SaneDpi(int dpi) { return dpi >= 24 && dpi <= 1920 ? dpi : kBaseDpi; }

int RescaleLen(int len, int fromDpi, int toDpi) {
    fromDpi = SaneDpi(fromDpi);
    toDpi = SaneDpi(toDpi);
    if (fromDpi == toDpi) return len;
    const long long n = static_cast<long long>(len) * toDpi;
    const long long half = fromDpi / 2;
    const long long r = n >= 0 ? (n + half) / fromDpi : -((-n + half) / fromDpi);
    return r > 0x7fffffff ? 0x7fffffff : r < -0x7fffffff ? -0x7fffffff : static_cast<int>(r);
}

int ScaleLen(int len, int dpi) { return RescaleLen(len, kBaseDpi, dpi); }

float ScaleFont(float size, int dpi) {
    return size * static_cast<float>(SaneDpi(dpi)) / static_cast<float>(kBaseDpi);
}

BoxMetrics ScaledMetrics(const BoxMetrics& at96, int dpi) {
    BoxMetrics m = at96;
    m.dpi = SaneDpi(dpi);
    const auto s = [&m](int& len) { len = ScaleLen(len, m.dpi); };
    // The cell is scaled whole, so its parts keep their proportions at every DPI.
    for (int* len : {&m.iconSize, &m.cellW, &m.cellH, &m.nameLine, &m.titleBand, &m.titleBar, &m.gridLeft, &m.gridTop,
                     &m.gridMargin, &m.outline, &m.edge, &m.minW, &m.minH, &m.titleAndMargin, &m.collapsedH,
                     &m.expandedH, &m.dragSlop, &m.wheelStep})
        s(*len);
    m.fontSize = ScaleFont(at96.fontSize, m.dpi);
    return m;
}

// The registry of live boxes.
#include "render/box_record_win.h"

#include "render/paint_win.h"
#include "settings/settings.h"

std::vector<BoxWin*> g_boxes;

int BoxIndex(const BoxWin* box) {
    for (size_t i = 0; i < g_boxes.size(); ++i)
        if (g_boxes[i] == box) return static_cast<int>(i);
    return -1;
}

BoxMetrics BoxMetricsOf(const BoxWin* box) { return BoxMetricsAt(box ? box->dpi : kBaseDpi); }

BoxMetrics BoxMetricsAt(int dpi) {
    BoxMetrics at96;
    at96.iconSize = g_iconSize;
    at96.cellW = g_cellW;
    at96.cellH = g_cellH;
    at96.nameLine = g_nameLineHeight;
    at96.fontSize = static_cast<float>(g_fontSize);
    BoxMetrics m = ScaledMetrics(at96, dpi);
    m.nameLine = NameLineHeightAt(m.dpi);
    return m;
}

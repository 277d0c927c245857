// One monitor as the layout sees it: where it lies, the part of it that windows may use, and its DPI.
#pragma once
#include <vector>

#include "base/geom.h"

struct MonitorInfo {
    Rect rect;     // the whole monitor, screen coordinates
    Rect work;     // its work area (less the taskbar)
    int dpi = 96;  // its scaling, 96 = 100 %
    bool primary = false;
};

// The work areas, the primary one first (the layout's order); where none is marked primary, the
// first one is.
inline std::vector<Rect> WorkAreasOf(const std::vector<MonitorInfo>& monitors) {
    std::vector<Rect> out;
    for (const MonitorInfo& m : monitors)
        if (m.primary) out.push_back(m.work);
    for (const MonitorInfo& m : monitors)
        if (!m.primary) out.push_back(m.work);
    return out;
}

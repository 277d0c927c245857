// The screen as the system reports it: work areas of the monitors.
#pragma once
#include <vector>

#include "base/geom.h"
#include "base/win.h"

inline Rect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
// The primary monitor's work area (the screen less the taskbar), or the whole screen.
Rect PrimaryWorkArea();
// Every monitor's work area, the primary one first (and once more among the others).
std::vector<Rect> MonitorWorkAreas();

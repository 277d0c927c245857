// The screen as the system reports it: the monitors and their work areas.
#pragma once
#include <vector>

#include "base/geom.h"
#include "base/monitors.h"
#include "base/win.h"

inline Rect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
// Every monitor, the primary one first. Tests replace where the list comes from (SetMonitorSource).
std::vector<MonitorInfo> Monitors();
using MonitorSource = std::vector<MonitorInfo> (*)();
// nullptr: the system's monitors again.
void SetMonitorSource(MonitorSource source);
// The primary monitor's work area (the screen less the taskbar), or the whole screen.
Rect PrimaryWorkArea();
// Every monitor's work area, the primary one first.
std::vector<Rect> MonitorWorkAreas();
// The rectangle that holds every monitor.
Rect VirtualScreen();

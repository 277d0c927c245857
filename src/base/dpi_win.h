// The DPI of the monitors: a box takes that of the monitor holding most of it. The per-monitor calls
// are looked up when first needed; where the system lacks them (or they fail, as under some
// emulators) the system DPI stands for every monitor, and 96 where even that is unknown.
#pragma once
#include "base/win.h"

// A monitor's own DPI where the system tells it (Windows 8.1 on), else the system's.
int DpiOfMonitor(HMONITOR monitor);
// The DPI of the monitor that holds most of `r` (the nearest one when none does).
int DpiForRect(const RECT& r);
// The same for a window's rectangle on the screen; the system DPI when it has none.
int DpiForWindowRect(HWND hwnd);
// The DPI of the system: what menus, dialogs and the tray icon are drawn at.
int SystemDpi();
// GetSystemMetrics at the system DPI where the system can say (GetSystemMetricsForDpi).
int SystemMetricAtDpi(int index, int dpi);

// Tests replace the lookup of a rectangle's DPI (null: the system's).
using DpiLookupFn = int (*)(const RECT&);
void SetDpiLookup(DpiLookupFn lookup);

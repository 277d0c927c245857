// The screen as the system reports it: the monitors and their work areas.
#include "base/screen_win.h"

#include <algorithm>

#include "base/dpi_win.h"

namespace {

MonitorSource g_monitorSource = nullptr;

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM out) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    MonitorInfo m;
    m.rect = FromRECT(info.rcMonitor);
    m.work = FromRECT(info.rcWork);
    m.dpi = DpiOfMonitor(monitor);
    m.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    reinterpret_cast<std::vector<MonitorInfo>*>(out)->push_back(m);
    return TRUE;
}

std::vector<MonitorInfo> SystemMonitors() {
    std::vector<MonitorInfo> all;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&all));
    std::stable_partition(all.begin(), all.end(), [](const MonitorInfo& m) { return m.primary; });
    if (all.empty() || !all.front().primary) {
        // No monitor said it was the primary: the one at the origin is.
        MonitorInfo m;
        m.rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        m.work = m.rect;
        RECT r = {};
        if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0) && r.right > r.left && r.bottom > r.top) m.work = FromRECT(r);
        m.primary = true;
        all.insert(all.begin(), m);
    }
    return all;
}

} // namespace

std::vector<MonitorInfo> Monitors() {
    std::vector<MonitorInfo> all = g_monitorSource ? g_monitorSource() : SystemMonitors();
    if (all.empty()) all = SystemMonitors();
    return all;
}

void SetMonitorSource(MonitorSource source) {
    g_monitorSource = source;
}

Rect PrimaryWorkArea() {
    return WorkAreasOf(Monitors()).front();
}

std::vector<Rect> MonitorWorkAreas() {
    return WorkAreasOf(Monitors());
}

Rect VirtualScreen() {
    Rect all = Monitors().front().rect;
    for (const MonitorInfo& m : Monitors()) {
        all.left = std::min(all.left, m.rect.left);
        all.top = std::min(all.top, m.rect.top);
        all.right = std::max(all.right, m.rect.right);
        all.bottom = std::max(all.bottom, m.rect.bottom);
    }
    return all;
}

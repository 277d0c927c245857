// The screen as the system reports it: work areas of the monitors.
#include "base/screen_win.h"

namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM out) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<Rect>*>(out)->push_back(FromRECT(info.rcWork));
    return TRUE;
}

} // namespace

Rect PrimaryWorkArea() {
    RECT r = {};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0) && r.right > r.left && r.bottom > r.top)
        return FromRECT(r);
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::vector<Rect> MonitorWorkAreas() {
    std::vector<Rect> areas{PrimaryWorkArea()};
    EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

#include "app/display_change_win.h"

#include <vector>

#include "base/screen_win.h"
#include "boxes/box_mouse_win.h"
#include "boxes/box_win.h"
#include "boxes/display_layouts_win.h"
#include "boxes/item_drag_win.h"
#include "render/paint_win.h"

namespace {

std::vector<MonitorInfo> g_lastLook;
int g_looks = 0;

bool SameReading(const std::vector<MonitorInfo>& a, const std::vector<MonitorInfo>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].rect != b[i].rect || a[i].work != b[i].work || a[i].dpi != b[i].dpi || a[i].primary != b[i].primary)
            return false;
    return true;
}

} // namespace

bool IsDisplayNotice(UINT msg, WPARAM wParam) {
    switch (msg) {
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
        return true;
    case WM_SETTINGCHANGE:
        return wParam == SPI_SETWORKAREA;
    case WM_POWERBROADCAST:
        return wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND;
    default:
        return false;
    }
}

void OnDisplayNotice(HWND mainWnd) {
    g_lastLook = Monitors();
    g_looks = 0;
    SetTimer(mainWnd, kDisplayTimerId, kDisplayLookMs, nullptr);
}

void OnDisplayTimer(HWND mainWnd) {
    // Not under the user's hand: a resize, an item drag or a move by the title (which holds the boxes)
    // ends first, and the boxes follow the monitors then.
    if (g_resizing || g_itemPending || g_draggingItem || BoxListHeld()) return;
    const std::vector<MonitorInfo> now = Monitors();
    if (!SameReading(now, g_lastLook) && ++g_looks < kDisplayMostLooks) {
        g_lastLook = now; // still changing: look again a moment later
        return;
    }
    KillTimer(mainWnd, kDisplayTimerId);
    g_lastLook.clear();
    ShowDisplaySet(now);
    FollowAllBoxesDpi(); // a box carried onto a monitor of another scale takes it
    DrawMarkedBoxes();
}

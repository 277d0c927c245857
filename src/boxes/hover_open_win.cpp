// Open on hover: one box may be waiting for the pointer to rest (a timer of the system's hover time);
// opened boxes fold on a timer of their own once the pointer and any drag have left them.
#include "boxes/hover_open_win.h"

#include <algorithm>
#include <cstdlib>

#include "boxes/box_input.h"
#include "boxes/desktop_attach_win.h"
#include "render/box_record_win.h"
#include "render/paint_win.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"
#include "settings/lists.h"
#include "settings/metrics.h"

namespace {

HWND g_armed = nullptr;    // the box waiting for the pointer to rest on its title
POINT g_armedAt = {};      // where the pointer was when the wait began (screen)
bool g_armedByDrag = false; // the pointer resting there drags something
HWND g_dragInto = nullptr; // an open box that the drag under way went into

UINT HoverSetting(UINT what, UINT fallback) {
    UINT value = fallback;
    SystemParametersInfoW(what, 0, &value, 0);
    return std::max(value, 1u);
}

void Disarm() {
    if (g_armed) KillTimer(g_armed, kHoverOpenTimer);
    g_armed = nullptr;
}

// The wait starts again whenever the pointer moves out of the system's hover rectangle around it.
void Arm(BoxWin* box, POINT screen, bool dragging) {
    g_armedByDrag = dragging;
    const bool resting =
        g_armed == box->hwnd &&
        std::abs(screen.x - g_armedAt.x) * 2 <= static_cast<int>(HoverSetting(SPI_GETMOUSEHOVERWIDTH, 4)) &&
        std::abs(screen.y - g_armedAt.y) * 2 <= static_cast<int>(HoverSetting(SPI_GETMOUSEHOVERHEIGHT, 4));
    if (resting) return;
    Disarm();
    if (!SetTimer(box->hwnd, kHoverOpenTimer, HoverSetting(SPI_GETMOUSEHOVERTIME, 400), nullptr)) return;
    g_armed = box->hwnd;
    g_armedAt = screen;
}

bool OnTitle(const BoxWin* box, POINT screen) {
    RECT client = {};
    if (!GetClientRect(box->hwnd, &client) || !ScreenToClient(box->hwnd, &screen)) return false;
    return screen.x >= 0 && screen.x < client.right && screen.y >= 0 && screen.y < ScaleLen(kTitleBand, box->dpi);
}

bool PointerIn(HWND hwnd) {
    RECT r = {};
    POINT p = {};
    return GetCursorPos(&p) && GetWindowRect(hwnd, &r) && PtInRect(&r, p);
}

void Resize(BoxWin* box, int height) {
    RECT r = {};
    if (!GetWindowRect(box->hwnd, &r)) return;
    SetBoxPos(box->hwnd, r.left, r.top, box->width, height, 0);
    ResizeBoxRender(box, box->width, height);
    MarkBoxDirty(box);
}

// Open over its neighbours, down to the end of its screen's work area at most.
void Open(BoxWin* box) {
    RECT r = {};
    if (!GetWindowRect(box->hwnd, &r)) return;
    const int folded = ScaleLen(kCollapsedHeight, box->dpi);
    int height = ScaleLen(kExpandedHeight, box->dpi);
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoW(MonitorFromWindow(box->hwnd, MONITOR_DEFAULTTONEAREST), &mi))
        height = std::max(folded, std::min<int>(height, mi.rcWork.bottom - r.top));
    box->hoverOpen = true;
    Resize(box, height);
    SetWindowPos(box->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Track(BoxWin* box, POINT screen, bool dragging) {
    if (g_armed && (!box || box->hwnd != g_armed)) Disarm();
    if (!box || !box->hwnd) return;
    if (box->hoverOpen) {
        KillTimer(box->hwnd, kHoverCloseTimer);
        if (dragging) g_dragInto = box->hwnd;
        return;
    }
    if (box->collapsed && HoverOpenEnabled(box->key) && OnTitle(box, screen)) Arm(box, screen, dragging);
    else Disarm();
}

} // namespace

bool HoverOpenEnabled(const std::wstring& key) { return g_hoverOpenBoxes.count(key) != 0; }

void SetHoverOpen(BoxWin* box, bool on) {
    if (on) {
        g_hoverOpenBoxes.insert(box->key);
        IniWrite(L"hoverOpen", IniKeyFor(box->key).c_str(), L"1");
    } else {
        g_hoverOpenBoxes.erase(box->key);
        IniDeleteKey(L"hoverOpen", IniKeyFor(box->key).c_str());
        if (g_armed == box->hwnd) Disarm();
        FoldHoverOpened(box);
    }
}

void HoverOpenPointerAt(BoxWin* box, int x, int y) {
    if (!box || !box->hwnd) return;
    POINT screen = {x, y};
    ClientToScreen(box->hwnd, &screen);
    Track(box, screen, false);
}

void HoverOpenLeft(BoxWin* box) {
    if (!box || !box->hwnd) return;
    if (g_armed == box->hwnd) Disarm();
    if (box->hoverOpen) SetTimer(box->hwnd, kHoverCloseTimer, kHoverCloseDelayMs, nullptr);
}

void HoverOpenDragOver(BoxWin* box, POINT screen) { Track(box, screen, true); }

void HoverOpenDragEnded() {
    Disarm();
    g_dragInto = nullptr;
    for (BoxWin* box : g_boxes)
        if (box->hoverOpen && box->hwnd) SetTimer(box->hwnd, kHoverCloseTimer, kHoverCloseDelayMs, nullptr);
}

bool OnHoverOpenTimer(BoxWin* box, UINT_PTR id) {
    if (id != kHoverOpenTimer && id != kHoverCloseTimer) return false;
    if (!box || !box->hwnd) return true;
    KillTimer(box->hwnd, id);
    if (id == kHoverOpenTimer) {
        const bool dragged = g_armed == box->hwnd && g_armedByDrag;
        if (g_armed == box->hwnd) g_armed = nullptr;
        POINT p = {};
        if (!box->collapsed || box->hoverOpen || !HoverOpenEnabled(box->key) || !GetCursorPos(&p) ||
            !OnTitle(box, p))
            return true;
        Open(box);
        if (dragged) g_dragInto = box->hwnd; // opened for the drag: open until it ends
    } else if (box->hoverOpen && g_dragInto != box->hwnd && !PointerIn(box->hwnd)) {
        FoldHoverOpened(box);
    }
    return true;
}

void FoldHoverOpened(BoxWin* box) {
    if (!box || !box->hoverOpen) return;
    box->hoverOpen = false;
    if (g_dragInto == box->hwnd) g_dragInto = nullptr;
    KillTimer(box->hwnd, kHoverCloseTimer);
    if (box->collapsed) Resize(box, ScaleLen(kCollapsedHeight, box->dpi)); // opened by other means meanwhile: it stays so
}

// Nothing unread is written: while the INI file is held by another program from the start on, the
// boxes stand at default places, which must never replace the places the file keeps. When the file
// can be read, everything the start would have read is read, the boxes go to their stored places,
// and the program writes again from there.
#include "app/ini_reread_win.h"

#include <string>
#include <vector>

#include "app/tray_win.h"
#include "boxes/box_win.h"
#include "boxes/display_layouts_win.h"
#include "inventory/inventory_win.h"
#include "render/paint_win.h"
#include "settings/ini_win.h"
#include "settings/lists.h"
#include "settings/lists_win.h"
#include "settings/settings_win.h"

namespace {

constexpr UINT kLookEveryMs = 500;
UINT_PTR g_timer = 0;

void StopLooking() {
    if (g_timer) KillTimer(nullptr, g_timer);
    g_timer = 0;
}

void CALLBACK OnLook(HWND, UINT, UINT_PTR, DWORD) { ReadIniOnceFree(); }

} // namespace

void WatchUnreadIni() {
    if (!IniUnread() || g_timer) return;
    g_timer = SetTimer(nullptr, 0, kLookEveryMs, OnLook);
}

bool ReadIniOnceFree() {
    if (!IniUnread()) {
        StopLooking();
        return false;
    }
    // Boxes in use (a menu, a drag, a slice of a long move) are not made again under them.
    if (BoxListHeld() || MoveAllRunning() || !IniReadAgain()) return false;
    StopLooking();
    LoadStoredChoices();
    // Every box made anew: none keeps a place or a size it took before the file was read.
    DestroyAllBoxes();
    ApplyStyleAll();
    if (g_nid.hWnd) ApplyTrayIcon();
    g_posCache.clear();
    ScanAll();
    std::vector<std::wstring> keys;
    for (const auto& g : g_groups) keys.push_back(g.first);
    StartDisplaySet(keys);
    LoadPos(keys);
    RefreshBoxes();
    FinishStartDisplaySet();
    IniWriteHeld(); // what the user decided while the file was held, merged into what it holds
    return true;
}

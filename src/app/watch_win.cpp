// Change notifications on the desktop folder and the hidden store (names of files and folders:
// made, deleted, renamed) are waited on beside the messages. A burst waits for its quiet moment;
// then the folders are listed again, and only a listing that changes a group rebuilds the boxes, so
// the echo of our own moves (already shown by the rebuild that followed them) costs one listing.
#include "app/watch_win.h"

#include <algorithm>
#include <string>

#include "app/change_timer.h"
#include "base/log_win.h"
#include "boxes/box_mouse_win.h"
#include "boxes/box_win.h"
#include "boxes/item_drag_win.h"
#include "inventory/inventory_win.h"
#include "render/devices_win.h"
#include "render/paint_win.h"

namespace {

constexpr DWORD kWatchFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;
constexpr int kFolders = 2; // the desktop folder, the hidden store

struct Watch {
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::wstring folder;
};
Watch g_watches[kFolders];
ChangeTimer g_changes;

void Close(Watch& w) {
    if (w.handle != INVALID_HANDLE_VALUE) FindCloseChangeNotification(w.handle);
    w.handle = INVALID_HANDLE_VALUE;
}

void Arm(Watch& w, const std::wstring& folder) {
    if (w.handle != INVALID_HANDLE_VALUE && w.folder == folder) return;
    Close(w);
    w.folder = folder;
    if (folder.empty()) return;
    w.handle = FindFirstChangeNotificationW(folder.c_str(), FALSE, kWatchFilter);
    if (w.handle == INVALID_HANDLE_VALUE) LogDbg(L"WATCH: cannot watch " + folder);
}

// A long move rebuilds the boxes itself when it ends: its own echo waits for that.
bool UserBusy() {
    return g_resizing || g_itemPending || g_draggingItem || BoxListHeld() || MoveAllRunning();
}

bool SameItems(const std::vector<Item>& a, const std::vector<Item>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].path != b[i].path || a[i].isDir != b[i].isDir) return false;
    return true;
}

bool SameGroups(const std::vector<Group>& a, const std::vector<Group>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].first != b[i].first || !SameItems(a[i].second, b[i].second)) return false;
    return true;
}

} // namespace

void StartFolderWatch() {
    Arm(g_watches[0], g_desktop);
    Arm(g_watches[1], g_hidden);
}

void WaitForMessagesOrChanges() {
    HANDLE handles[kFolders + 1];
    Watch* owners[kFolders + 1] = {};
    DWORD n = 0;
    // A removed graphics device is noticed while nothing draws: the boxes do not stay blank or stale.
    if (HANDLE removed = DeviceRemovedEvent()) handles[n++] = removed;
    const bool listening = g_changes.Listening(GetTickCount64());
    for (Watch& w : g_watches)
        if (listening && w.handle != INVALID_HANDLE_VALUE) {
            handles[n] = w.handle;
            owners[n++] = &w;
        }
    // Boxes a draw left marked are drawn again after a while, without waiting for input.
    const DWORD timeout = std::min<DWORD>(g_changes.WaitMs(GetTickCount64(), UserBusy()), RedrawWaitMs());
    const DWORD r = MsgWaitForMultipleObjectsEx(n, handles, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (r >= WAIT_OBJECT_0 + n || r < WAIT_OBJECT_0) return; // a message, the timeout or a failure
    Watch* w = owners[r - WAIT_OBJECT_0];
    if (!w) {
        NoteDeviceRemoved();
        return;
    }
    g_changes.Changed(GetTickCount64());
    // A folder that cannot be watched any more (it went away) is watched again when the changes
    // are taken up; until then it does not wake the loop.
    if (!FindNextChangeNotification(w->handle)) Close(*w);
}

void FollowFolderChanges() {
    if (!g_changes.Due(GetTickCount64(), UserBusy())) return;
    StartFolderWatch();
    const std::vector<Group> shown = g_groups;
    ScanAll();
    if (SameGroups(shown, g_groups)) return;
    RefreshBoxes();
}

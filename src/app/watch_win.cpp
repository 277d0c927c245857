// The desktop folder and the hidden store are read for the names that changed (made, deleted,
// renamed), beside the messages: the main loop waits on the reads' events. A burst waits for its quiet
// moment; then its notices are applied to the groups and only the boxes whose items changed take
// their new items (a box that comes or goes rebuilds the boxes, without listing the folders again).
// The folders are listed again only when notices were lost.
//
// The desktop folder itself is watched from its parent folder (renamed, removed, made again) and
// through the registry value that names it: either notice resolves the desktop path again.
#include "app/watch_win.h"

#include <shlobj.h>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/change_timer.h"
#include "app/startup_win.h"
#include "base/log_win.h"
#include "boxes/box_mouse_win.h"
#include "boxes/box_win.h"
#include "boxes/item_drag_win.h"
#include "inventory/folder_changes.h"
#include "inventory/inventory_win.h"
#include "render/devices_win.h"
#include "render/paint_win.h"
#include "settings/lists.h"

namespace {

constexpr DWORD kNameFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;
constexpr DWORD kBufferBytes = 64 * 1024; // what one read takes; more than that in between is lost
const wchar_t* const kShellFoldersKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// One folder read for the names that change in it, overlapped: its event is set when a read ended.
struct DirWatch {
    HANDLE dir = INVALID_HANDLE_VALUE;
    HANDLE event = nullptr;
    OVERLAPPED ov = {};
    std::vector<DWORD> buffer; // DWORD-aligned, as the notices need
    std::wstring folder;
    DWORD filter = kNameFilter;
};

DirWatch g_desk, g_store, g_parent; // the desktop folder, the hidden store, the desktop's parent
HKEY g_shellKey = nullptr;           // the registry key that names the desktop folder
HANDLE g_shellEvent = nullptr;
std::wstring g_deskPath;   // the desktop folder the watches were made for (empty: none)
std::wstring g_deskLeaf;   // its name within its parent
bool g_desktopMoved = false; // a notice about the desktop folder itself waits to be taken up
std::vector<FolderChange> g_pending;
ChangeTimer g_changes;

bool Issue(DirWatch& w) {
    ResetEvent(w.event);
    w.ov = {};
    w.ov.hEvent = w.event;
    return ReadDirectoryChangesW(w.dir, w.buffer.data(), kBufferBytes, FALSE, w.filter, nullptr, &w.ov, nullptr);
}

void Close(DirWatch& w) {
    if (w.dir != INVALID_HANDLE_VALUE) {
        CancelIo(w.dir);
        CloseHandle(w.dir);
    }
    w.dir = INVALID_HANDLE_VALUE;
    w.folder.clear();
}

void Arm(DirWatch& w, const std::wstring& folder, DWORD filter) {
    if (w.dir != INVALID_HANDLE_VALUE && w.folder == folder) return;
    Close(w);
    if (folder.empty()) return;
    if (!w.event) w.event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (w.buffer.empty()) w.buffer.resize(kBufferBytes / sizeof(DWORD));
    w.dir = CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    w.folder = folder;
    w.filter = filter;
    if (w.dir == INVALID_HANDLE_VALUE || !w.event || !Issue(w)) {
        LogDbg(L"WATCH: cannot watch " + folder);
        Close(w);
    }
}

void ArmShellKey() {
    if (!g_shellEvent) g_shellEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!g_shellKey && RegOpenKeyExW(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_NOTIFY, &g_shellKey) != ERROR_SUCCESS)
        g_shellKey = nullptr;
    if (!g_shellKey || !g_shellEvent) return;
    ResetEvent(g_shellEvent);
    if (RegNotifyChangeKeyValue(g_shellKey, FALSE, REG_NOTIFY_CHANGE_LAST_SET, g_shellEvent, TRUE) != ERROR_SUCCESS) {
        RegCloseKey(g_shellKey);
        g_shellKey = nullptr;
    }
}

// The folder the user's desktop is set to, whether it exists or not.
std::wstring ConfiguredDesktopPath() {
    wchar_t buf[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, buf)))
        return g_desktop;
    return buf;
}

void ArmParent() {
    std::wstring path = ConfiguredDesktopPath();
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    const size_t sep = path.find_last_of(L"\\/");
    g_deskLeaf = sep == std::wstring::npos ? std::wstring() : path.substr(sep + 1);
    std::wstring parent = sep == std::wstring::npos ? std::wstring() : path.substr(0, sep);
    if (parent.size() == 2 && parent[1] == L':') parent += L'\\';
    Arm(g_parent, g_deskLeaf.empty() ? std::wstring() : parent, FILE_NOTIFY_CHANGE_DIR_NAME);
}

ChangeKind KindOf(DWORD action) {
    switch (action) {
    case FILE_ACTION_REMOVED:
        return ChangeKind::Removed;
    case FILE_ACTION_RENAMED_OLD_NAME:
        return ChangeKind::RenamedFrom;
    case FILE_ACTION_RENAMED_NEW_NAME:
        return ChangeKind::RenamedTo;
    default:
        return ChangeKind::Added; // made, or changed: what it is now is read from the disk
    }
}

// The notices of a read that ended, in the order they came; an Overflow when they were lost.
std::vector<FolderChange> TakeNotices(DirWatch& w, ChangeFolder folder) {
    std::vector<FolderChange> out;
    DWORD bytes = 0;
    if (!GetOverlappedResult(w.dir, &w.ov, &bytes, FALSE) || bytes == 0) {
        out.push_back({folder, ChangeKind::Overflow, {}});
    } else {
        const BYTE* p = reinterpret_cast<const BYTE*>(w.buffer.data());
        for (;;) {
            const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(p);
            out.push_back({folder, KindOf(info->Action), std::wstring(info->FileName, info->FileNameLength / sizeof(wchar_t))});
            if (!info->NextEntryOffset) break;
            p += info->NextEntryOffset;
        }
    }
    // A folder that cannot be read any more (it went away) is watched again when the changes are
    // taken up, and listed again then; until then it does not wake the loop.
    if (!Issue(w)) {
        Close(w);
        out.push_back({folder, ChangeKind::Overflow, {}});
    }
    return out;
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

EntryOnDisk OnDisk(ChangeFolder folder, const std::wstring& name) {
    const std::wstring path = (folder == ChangeFolder::Desktop ? g_desktop : g_hidden) + L"\\" + name;
    const DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) return EntryOnDisk::Missing;
    return (attrs & FILE_ATTRIBUTE_DIRECTORY) ? EntryOnDisk::Folder : EntryOnDisk::File;
}

// What the disk holds of the names a burst's notices gave: asked name by name for a few; for many, each
// folder is listed once (under a storm, thousands of single questions kept the loop from answering for
// seconds).
class DiskLookup {
  public:
    explicit DiskLookup(size_t notices) : listed_(notices > kAskAtMost) {}
    EntryOnDisk operator()(ChangeFolder folder, const std::wstring& name) {
        if (!listed_) return OnDisk(folder, name);
        const bool desk = folder == ChangeFolder::Desktop;
        std::unordered_map<std::wstring, bool>& names = desk ? desk_ : store_;
        bool& read = desk ? deskRead_ : storeRead_;
        if (!std::exchange(read, true)) {
            std::vector<DirEntry> listing;
            ListFolder(desk ? g_desktop : g_hidden, listing);
            for (const DirEntry& e : listing) names[FoldName(e.name)] = e.isDir;
        }
        const auto it = names.find(FoldName(name));
        if (it == names.end()) return EntryOnDisk::Missing;
        return it->second ? EntryOnDisk::Folder : EntryOnDisk::File;
    }

  private:
    static constexpr size_t kAskAtMost = 32;
    bool listed_;
    bool deskRead_ = false, storeRead_ = false;
    std::unordered_map<std::wstring, bool> desk_, store_; // folded name: a folder
};

// The desktop folder was renamed, removed, made again or set elsewhere: the boxes show the folder the
// desktop is now (none while there is none), with its store.
void FollowDesktopFolder() {
    const std::wstring desktop = GetDesktopPath();
    LogDbg(L"WATCH: desktop folder [" + desktop + L"]");
    g_desktop = desktop;
    g_hidden = HiddenStoreFor(desktop);
    EnsureHiddenStore(g_hidden);
    // The same path may name another folder now: every watch is made anew.
    Close(g_desk);
    Close(g_store);
    Close(g_parent);
    StartFolderWatch();
    g_pending.clear();
    RefreshBoxes();
}

// The groups take the notices; the boxes follow what changed.
void ApplyNotices(std::vector<FolderChange>& notices) {
    DiskLookup disk(notices.size());
    ChangeRules rules{g_desktop, g_hidden, &g_freedItems, &g_hiddenBoxes, &g_customBoxes,
                      [&disk](ChangeFolder f, const std::wstring& name) { return disk(f, name); }};
    const ChangeOutcome out = ApplyFolderChanges(g_groups, notices, rules);
    if (out.rescan) {
        const std::vector<Group> shown = g_groups;
        ScanAll();
        if (!SameGroups(shown, g_groups)) RebuildBoxesFromGroups();
        return;
    }
    if (out.regrouped) {
        RebuildBoxesFromGroups();
        return;
    }
    for (const std::wstring& key : out.changedKeys) {
        const auto g = std::find_if(g_groups.begin(), g_groups.end(), [&](const Group& x) { return x.first == key; });
        if (g == g_groups.end()) continue; // a group no box shows
        if (!TakeNewItems(key, g->second)) {
            RebuildBoxesFromGroups(); // no box for a shown group: made as a rebuild makes it
            return;
        }
    }
}

} // namespace

void StartFolderWatch() {
    if (g_deskPath != g_desktop) {
        Close(g_desk);
        Close(g_store);
        g_deskPath = g_desktop;
    }
    Arm(g_desk, g_desktop, kNameFilter);
    Arm(g_store, g_hidden, kNameFilter);
    ArmParent();
    if (!g_shellKey) ArmShellKey();
}

void StopFolderWatch() {
    Close(g_desk);
    Close(g_store);
    Close(g_parent);
    g_deskPath.clear();
    g_pending.clear();
    g_desktopMoved = false;
    g_changes = ChangeTimer();
}

void WaitForMessagesOrChanges() {
    HANDLE handles[5];
    DirWatch* owners[5] = {};
    DWORD n = 0;
    // A removed graphics device is noticed while nothing draws: the boxes do not stay blank or stale.
    const HANDLE removed = DeviceRemovedEvent();
    if (removed) handles[n++] = removed;
    const bool listening = g_changes.Listening(GetTickCount64());
    for (DirWatch* w : {&g_desk, &g_store, &g_parent})
        if (listening && w->dir != INVALID_HANDLE_VALUE) {
            handles[n] = w->event;
            owners[n++] = w;
        }
    if (listening && g_shellKey) handles[n++] = g_shellEvent;
    // Boxes a draw left marked are drawn again after a while, without waiting for input.
    const DWORD timeout = std::min<DWORD>(g_changes.WaitMs(GetTickCount64(), UserBusy()), RedrawWaitMs());
    const DWORD r = MsgWaitForMultipleObjectsEx(n, handles, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (r >= WAIT_OBJECT_0 + n || r < WAIT_OBJECT_0) return; // a message, the timeout or a failure
    DirWatch* w = owners[r - WAIT_OBJECT_0];
    if (removed && handles[r - WAIT_OBJECT_0] == removed) {
        NoteDeviceRemoved();
        return;
    }
    if (!w) { // the registry value that names the desktop folder
        ArmShellKey();
        if (GetDesktopPath() != g_desktop) g_desktopMoved = true;
    } else if (w == &g_parent) {
        for (const FolderChange& c : TakeNotices(*w, ChangeFolder::Desktop))
            if (c.kind == ChangeKind::Overflow || SameNameIgnoreCase(c.name, g_deskLeaf)) g_desktopMoved = true;
        if (!g_desktopMoved) return; // a sibling of the desktop folder
    } else {
        std::vector<FolderChange> notices = TakeNotices(*w, w == &g_desk ? ChangeFolder::Desktop : ChangeFolder::Store);
        g_pending.insert(g_pending.end(), notices.begin(), notices.end());
    }
    g_changes.Changed(GetTickCount64());
}

bool FollowFolderChanges() {
    if (!g_changes.Due(GetTickCount64(), UserBusy())) return false;
    if (std::exchange(g_desktopMoved, false)) {
        FollowDesktopFolder();
        return true;
    }
    StartFolderWatch(); // a folder that went away is watched again where it is back
    std::vector<FolderChange> notices;
    notices.swap(g_pending);
    ApplyNotices(notices);
    return true;
}

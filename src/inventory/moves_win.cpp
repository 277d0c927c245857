// Moving entries between the desktop and the hidden store, opening them and fetching their icons.
// A move happens whole or the entry stays where it was (MoveEntry); nothing is ever replaced or
// overwritten.
#include "base/log_win.h"
#include "inventory/inventory_win.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <set>

#include "inventory/scan.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"
#include "settings/lists.h"
#include "settings/settings.h"

std::map<std::wstring, HICON> g_iconCache;

namespace {

// Icons by their place in the system image list: one icon per distinct picture, however many
// entries show it. Entries whose icon only depends on their type are looked up once per type.
std::map<int, HICON> g_indexIcons;
std::map<std::wstring, int> g_typeIndex; // lower-case extension, or "\\" for plain folders
HIMAGELIST g_sysList = nullptr;
// Icons of the larger image lists, by list and the place in it (with its overlay).
std::map<std::pair<int, int>, HICON> g_bigIcons;
std::map<std::pair<std::wstring, int>, HICON> g_bigByName; // by file name and list

// Shortcuts: their icon is their target's with the shortcut arrow on it, which only the shell's
// own icon of the file carries (the image list holds icons without overlays).
bool IsShortcut(const std::wstring& ext) { return ext == L".lnk" || ext == L".url" || ext == L".pif"; }

// Entries that carry an icon of their own: programs, icon files and the like.
bool HasOwnIcon(const std::wstring& ext) {
    static const wchar_t* const kOwn[] = {L".exe", L".ico", L".cur", L".ani", L".scr", L".cpl", L".dll", L".msc"};
    for (const wchar_t* e : kOwn)
        if (ext == e) return true;
    return false;
}

// Index of the entry's icon in the system image list, or -1. A folder gets its own look only when
// marked read-only or system (how a folder says it has a custom icon); other folders and files of
// ordinary types are looked up by type alone, which reads nothing of the file.
int SysIconIndex(const std::wstring& path, HIMAGELIST* list) {
    const std::wstring ext = GetExt(path);
    const DWORD attrs = HasOwnIcon(ext) ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    const bool dir = attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
    const bool own = HasOwnIcon(ext) || (dir && (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)));
    SHFILEINFOW info = {};
    if (own) {
        *list = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX));
        return *list ? info.iIcon : -1;
    }
    const std::wstring type = dir ? L"\\" : ext;
    const auto known = g_typeIndex.find(type);
    if (known != g_typeIndex.end() && g_sysList) {
        *list = g_sysList;
        return known->second;
    }
    const std::wstring probe = L"x" + ext;
    *list = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(probe.c_str(), dir ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL,
                                                        &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES));
    const int index = *list ? info.iIcon : -1;
    if (*list) {
        g_sysList = *list; // the one system image list of the process
        g_typeIndex[type] = index;
    }
    return index;
}

// Only a folder is the store; a file of the user's called ".hidden" is no place to move anything into.
// While moves are held in a batch (QuietMoves) the store is looked at once: a store taken away
// meanwhile makes the moves into it fail by themselves.
int g_noticeHolds = 0;
int g_storeSeen = -1; // -1: not looked at in this batch, else whether it is a folder
bool StoreIsFolder() {
    if (g_noticeHolds == 0) return IsFolder(g_hidden.c_str());
    if (g_storeSeen < 0) g_storeSeen = IsFolder(g_hidden.c_str()) ? 1 : 0;
    return g_storeSeen == 1;
}

void LogNoStore(const std::wstring& what) {
    LogDbg(what + L": no hidden store, [" + g_hidden + L"] is not a folder; nothing moved");
}

void ForgetChoices() {
    g_freedItems.clear();
    IniDeleteSection(L"freedItems");
    g_manualGroups.clear();
    IniDeleteSection(L"manualGroups");
}

// The shell hears of moves once per folder for a whole batch of them while notices are held.
bool g_noticePending = false;
std::set<std::wstring> g_otherFolders; // other folders whose listing changed while notices were held

void TellShell() {
    if (g_noticeHolds > 0) {
        g_noticePending = true;
        return;
    }
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, g_desktop.c_str(), nullptr);
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, g_hidden.c_str(), nullptr);
}

} // namespace

bool MoveFileNotify(const std::wstring& from, const std::wstring& to) {
    // Without a desktop folder there is no store either, and paths built from them would point at
    // the current drive's root.
    if (g_desktop.empty() || g_hidden.empty() || from.empty() || to.empty()) return false;
    if (LiesInHiddenStore(to, g_hidden) && !StoreIsFolder()) {
        LogNoStore(L"MoveFileNotify [" + from + L"]");
        return false;
    }
    // Without MOVEFILE_REPLACE_EXISTING the move itself refuses a name that is taken.
    if (!MoveEntry(from, to)) return false;
    TellShell();
    return true;
}

void FlushShellNotices() {
    for (const std::wstring& folder : g_otherFolders)
        SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, folder.c_str(), nullptr);
    g_otherFolders.clear();
    if (!g_noticePending || g_desktop.empty() || g_hidden.empty()) return;
    g_noticePending = false;
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, g_desktop.c_str(), nullptr);
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, g_hidden.c_str(), nullptr);
}

void TellShellAbout(const std::wstring& folder) {
    if (folder.empty()) return;
    if (g_noticeHolds > 0) {
        g_otherFolders.insert(folder);
        return;
    }
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, folder.c_str(), nullptr);
}

QuietMoves::QuietMoves() {
    if (g_noticeHolds++ == 0) g_storeSeen = -1;
    IniHoldFlushes();
}

QuietMoves::~QuietMoves() {
    IniReleaseFlushes();
    if (g_noticeHolds > 0 && --g_noticeHolds == 0) FlushShellNotices();
}

bool MoveItemToGroup(const std::wstring& path, const std::wstring&) {
    if (g_hidden.empty()) return false;
    if (LiesInHiddenStore(path, g_hidden) || SamePathIgnoreCase(path, g_hidden)) return false;
    const std::wstring name = GetFileName(path);
    if (name.empty()) return false;
    return MoveFileNotify(path, g_hidden + L"\\" + name);
}

void SetManualGroup(const std::wstring& name, const std::wstring& key) {
    g_manualGroups[name] = key;
    if (g_iniPath.empty()) return;
    IniWrite(L"manualGroups", IniKeyFor(name).c_str(), IniValueFor(key));
    IniFlush();
}

bool PrepareMoveAll(MoveCommand command, MoveAllPlan& plan) {
    plan = MoveAllPlan();
    if (g_desktop.empty() || g_hidden.empty()) return false;
    const bool collect = command == MoveCommand::CollectAll;
    // Without a store nothing moves, and the choices that keep entries in their boxes stay too.
    if (collect && !StoreIsFolder()) {
        LogNoStore(L"CollectAll");
        return false;
    }
    ForgetChoices();
    plan.from = collect ? g_desktop : g_hidden;
    plan.to = collect ? g_hidden : g_desktop;
    std::vector<DirEntry> listing;
    if (!ListFolder(plan.from, listing)) return false;
    // The listing is complete before the first move, so no move can disturb it.
    for (auto& e : listing) {
        if (e.name == L"." || e.name == L"..") continue;
        if (collect && IsHiddenStoreName(e.name)) continue;
        plan.names.push_back(std::move(e.name));
    }
    return true;
}

void MoveOneOf(const MoveAllPlan& plan, size_t i) {
    MoveFileNotify(plan.from + L"\\" + plan.names[i], plan.to + L"\\" + plan.names[i]);
}

namespace {
// Every entry at once, telling the shell once at the end; entries that cannot move stay.
void MoveAllNow(MoveCommand command) {
    MoveAllPlan plan;
    if (!PrepareMoveAll(command, plan)) return;
    const QuietMoves quiet;
    for (size_t i = 0; i < plan.names.size(); ++i) MoveOneOf(plan, i);
}
} // namespace

void CollectAll() { MoveAllNow(MoveCommand::CollectAll); }

void RestoreAll() { MoveAllNow(MoveCommand::RestoreAll); }

void OpenItem(const std::wstring& path) {
    ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

HICON GetFileIcon(const std::wstring& path) {
    const std::wstring name = GetFileName(path);
    const auto it = g_iconCache.find(name);
    if (it != g_iconCache.end()) return it->second;
    HIMAGELIST list = nullptr;
    const int index = IsShortcut(GetExt(path)) ? -1 : SysIconIndex(path, &list);
    HICON icon = nullptr;
    if (index >= 0 && list) {
        const auto known = g_indexIcons.find(index);
        icon = known != g_indexIcons.end() ? known->second : (g_indexIcons[index] = ImageList_GetIcon(list, index, ILD_NORMAL));
    } else {
        // A shortcut, or no image list answer: the shell's own icon of the file.
        SHFILEINFOW info = {};
        if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON)) icon = info.hIcon;
    }
    g_iconCache[name] = icon;
    return icon;
}

HICON GetFileIconAt(const std::wstring& path, int px) {
    if (px <= 32) return GetFileIcon(path);
    const int which = px <= 48 ? SHIL_EXTRALARGE : SHIL_JUMBO;
    const std::pair<std::wstring, int> named{GetFileName(path), which};
    const auto it = g_bigByName.find(named);
    if (it != g_bigByName.end()) return it->second;
    // {46EB5926-582E-4017-9FDF-E8998DAA0950}: IImageList, which the list handle stands for.
    static const GUID kImageList = {0x46eb5926, 0x582e, 0x4017, {0x9f, 0xdf, 0xe8, 0x99, 0x8d, 0xaa, 0x09, 0x50}};
    void* big = nullptr;
    HICON icon = nullptr;
    if (SUCCEEDED(SHGetImageList(which, kImageList, &big)) && big) {
        HIMAGELIST list = nullptr;
        int index = -1, overlay = 0;
        if (IsShortcut(GetExt(path))) {
            // The shortcut's own place in the list and its arrow, which the shell draws as an overlay.
            SHFILEINFOW info = {};
            if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_OVERLAYINDEX)) {
                index = info.iIcon & 0x00FFFFFF;
                overlay = (info.iIcon >> 24) & 0xFF;
                if (overlay == 0) overlay = 2; // the system list's shortcut arrow
            }
        } else {
            index = SysIconIndex(path, &list);
        }
        if (index >= 0) {
            const std::pair<int, int> at{which, index | (overlay << 24)};
            const auto known = g_bigIcons.find(at);
            icon = known != g_bigIcons.end() ? known->second
                                             : (g_bigIcons[at] = ImageList_GetIcon(static_cast<HIMAGELIST>(big), index,
                                                                                   ILD_TRANSPARENT | INDEXTOOVERLAYMASK(overlay)));
        }
        static_cast<IUnknown*>(big)->Release();
    }
    if (!icon) icon = GetFileIcon(path); // no larger picture to be had: the usual one, enlarged
    g_bigByName[named] = icon;
    return icon;
}

void DestroyIconCache() {
    std::set<HICON> distinct; // names share icons: each is destroyed once
    for (const auto& entry : g_iconCache)
        if (entry.second) distinct.insert(entry.second);
    for (const auto& entry : g_indexIcons)
        if (entry.second) distinct.insert(entry.second);
    for (const auto& entry : g_bigIcons)
        if (entry.second) distinct.insert(entry.second);
    for (HICON icon : distinct) DestroyIcon(icon);
    g_iconCache.clear();
    g_indexIcons.clear();
    g_bigIcons.clear();
    g_bigByName.clear();
    g_typeIndex.clear();
    g_sysList = nullptr;
}

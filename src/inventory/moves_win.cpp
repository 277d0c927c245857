// Moving entries between the desktop and the hidden store, opening them and fetching their icons.
// A move is one rename on the same volume: it happens whole or the entry stays where it was. Nothing
// is ever copied, replaced or overwritten.
#include "inventory/inventory_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include "app/app_win.h"
#include "inventory/scan.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"
#include "settings/lists.h"
#include "settings/settings.h"

std::map<std::wstring, HICON> g_iconCache;

namespace {

// Whether nothing at all answers to path (so a move there cannot replace anything).
bool NothingAt(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD err = GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
}

// Only a folder is the store; a file of the user's called ".hidden" is no place to move anything into.
bool StoreIsFolder() {
    const DWORD attrs = GetFileAttributesW(g_hidden.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
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

// Moves every entry of one folder into the other, by name; entries that cannot move stay.
void MoveAllEntries(const std::wstring& from, const std::wstring& to, bool skipStore) {
    std::vector<DirEntry> listing;
    if (!ListFolder(from, listing)) return;
    // The listing is complete before the first move, so no move can disturb it.
    for (const auto& e : listing) {
        if (e.name == L"." || e.name == L"..") continue;
        if (skipStore && IsHiddenStoreName(e.name)) continue;
        MoveFileNotify(from + L"\\" + e.name, to + L"\\" + e.name);
    }
}

} // namespace

void MoveFileNotify(const std::wstring& from, const std::wstring& to) {
    // Without a desktop folder there is no store either, and paths built from them would point at
    // the current drive's root.
    if (g_desktop.empty() || g_hidden.empty() || from.empty() || to.empty()) return;
    if (LiesInHiddenStore(to, g_hidden) && !StoreIsFolder())
        return LogNoStore(L"MoveFileNotify [" + from + L"]");
    if (!NothingAt(to)) return;
    if (!MoveFileW(from.c_str(), to.c_str())) return;
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, g_desktop.c_str(), nullptr);
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW, g_hidden.c_str(), nullptr);
}

void MoveItemToGroup(const std::wstring& path, const std::wstring&) {
    if (g_hidden.empty()) return;
    if (LiesInHiddenStore(path, g_hidden) || SamePathIgnoreCase(path, g_hidden)) return;
    const std::wstring name = GetFileName(path);
    if (name.empty()) return;
    MoveFileNotify(path, g_hidden + L"\\" + name);
}

void SetManualGroup(const std::wstring& name, const std::wstring& key) {
    g_manualGroups[name] = key;
    if (g_iniPath.empty()) return;
    IniWrite(L"manualGroups", IniKeyFor(name).c_str(), IniValueFor(key));
    IniFlush();
}

void CollectAll() {
    if (g_desktop.empty() || g_hidden.empty()) return;
    // Without a store nothing moves, and the choices that keep entries in their boxes stay too.
    if (!StoreIsFolder()) return LogNoStore(L"CollectAll");
    ForgetChoices();
    MoveAllEntries(g_desktop, g_hidden, true);
}

void RestoreAll() {
    if (g_desktop.empty() || g_hidden.empty()) return;
    ForgetChoices();
    MoveAllEntries(g_hidden, g_desktop, false);
}

void OpenItem(const std::wstring& path) {
    ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

HICON GetFileIcon(const std::wstring& path) {
    const std::wstring name = GetFileName(path);
    const auto it = g_iconCache.find(name);
    if (it != g_iconCache.end()) return it->second;
    SHFILEINFOW info = {};
    HICON icon = nullptr;
    if (SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON)) icon = info.hIcon;
    g_iconCache[name] = icon;
    return icon;
}

void DestroyIconCache() {
    for (auto& entry : g_iconCache) {
        if (entry.second) DestroyIcon(entry.second);
    }
    g_iconCache.clear();
}

// Listing the desktop folder and the hidden store, and the scan into ordered groups.
#include "base/log_win.h"
#include "inventory/inventory_win.h"
#include "inventory/scan.h"
#include "settings/lists.h"

bool ListFolder(const std::wstring& folder, std::vector<DirEntry>& out) {
    if (folder.empty()) return false; // "\*" would list the current drive's root
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return false;
    do {
        out.push_back(DirEntry{fd.cFileName, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return true;
}

void ScanDir(const std::wstring& folder, std::vector<Item>& out) {
    std::vector<DirEntry> listing;
    if (ListFolder(folder, listing)) AppendListedItems(folder, listing, out);
}

void ScanAll() {
    ScanInput in;
    in.desktop = g_desktop;
    in.hidden = g_hidden;
    if (!g_desktop.empty()) {
        ListFolder(g_desktop, in.desktopListing);
        ListFolder(g_hidden, in.hiddenListing);
    }
    in.freedItems = &g_freedItems;
    in.hiddenBoxes = &g_hiddenBoxes;
    in.customBoxes = &g_customBoxes;
    ScanResult r = DecideScan(in);
    g_items = std::move(r.items);
    g_groups = std::move(r.groups);
    for (const auto& line : r.log)
        LogDbg(line);
}

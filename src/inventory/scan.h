// What the scan decides, apart from the platform: which listed entries become items, and how the
// items of the desktop and the hidden store fall into ordered groups.
#pragma once
#include <set>
#include <string>
#include <vector>

#include "inventory/inventory.h"

// One entry of a directory listing, as the platform returns it.
struct DirEntry {
    std::wstring name;
    bool isDir = false;
};

// Compares two strings as the file system compares names: ordinal, letter case ignored.
bool SameNameIgnoreCase(const std::wstring& a, const std::wstring& b);
// A name folded as SameNameIgnoreCase compares it: equal for names it finds the same.
std::wstring FoldName(std::wstring name);

// Compares two paths as the file system does: letter case ignored, "\" and "/" alike.
bool SamePathIgnoreCase(const std::wstring& a, const std::wstring& b);

// The name a move across volumes gives its copy until the copy is whole and renamed into place:
// "~brindlecot-move-" followed by 8 hexadecimal digits and ".tmp". Only the move journal says which
// such files are the program's: a file of the user's may bear such a name too, and is shown and
// moved like any other.
std::wstring MoveTempName(unsigned long id);
bool IsMoveTempName(const std::wstring& name);

// An entry of a listing that is never an item: ".", ".." and "desktop.ini" in any letter case.
bool SkipInScan(const std::wstring& name);

// Appends one Item per listed entry of folder (in listing order), leaving out what SkipInScan
// refuses. An empty folder path stands for "no folder" and adds nothing.
void AppendListedItems(const std::wstring& folder, const std::vector<DirEntry>& listing,
                       std::vector<Item>& out);

// The hidden store's own entry as listed on the desktop (any letter case names the same folder).
bool IsHiddenStoreName(const std::wstring& name);

// Whether the entry at path lies directly in the hidden store: its parent folder is the store.
// Compared as the file system does (letter case ignored, "\" and "/" alike). An empty store holds nothing.
bool LiesInHiddenStore(const std::wstring& path, const std::wstring& hidden);

struct ScanInput {
    std::wstring desktop; // folder paths; empty when there is none
    std::wstring hidden;
    std::vector<DirEntry> desktopListing;
    std::vector<DirEntry> hiddenListing;
    const std::set<std::wstring>* freedItems = nullptr;
    const std::set<std::wstring>* hiddenBoxes = nullptr;
    const std::set<std::wstring>* customBoxes = nullptr;
};

struct ScanResult {
    std::vector<Item> items;       // desktop entries, then the store's
    std::vector<Group> groups;     // in display order
    std::vector<std::wstring> log; // the "SCAN ..." lines, in order
};

// The whole decision of a scan (groups by GetGroupKey, which reads g_manualGroups).
ScanResult DecideScan(const ScanInput& in);

// The groups follow what the watch reads of the desktop folder and the hidden store: entries made,
// deleted and renamed are applied to the groups of the last scan, and only the boxes whose items
// changed are touched. Both folders are listed again only when the notices were lost (the system's
// buffer overflowed) or the store itself changed.
#pragma once
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "inventory/inventory.h"

enum class ChangeFolder { Desktop, Store };

enum class ChangeKind {
    Added,
    Removed,
    RenamedFrom, // the old name of a rename; its new name follows as RenamedTo
    RenamedTo,
    Overflow, // notices were lost: what changed is not known
};

struct FolderChange {
    ChangeFolder folder = ChangeFolder::Desktop;
    ChangeKind kind = ChangeKind::Added;
    std::wstring name; // entry name within the folder, as the notice gives it
};

// What an entry is on disk now: missing, a file or a folder.
enum class EntryOnDisk { Missing, File, Folder };

struct ChangeRules {
    std::wstring desktop; // folder paths as the scan used them
    std::wstring hidden;
    const std::set<std::wstring>* freedItems = nullptr;
    const std::set<std::wstring>* hiddenBoxes = nullptr;
    const std::set<std::wstring>* customBoxes = nullptr;
    // Asked once for every entry a notice names: what it is now (a notice tells what happened, the
    // disk what is left of it when the notices are read, perhaps many changes later).
    std::function<EntryOnDisk(ChangeFolder, const std::wstring& name)> onDisk;
};

struct ChangeOutcome {
    bool rescan = false;    // list both folders again: the notices do not tell what changed
    bool regrouped = false; // a group came or went: the set of boxes changed
    std::vector<std::wstring> changedKeys; // groups whose items changed (those that came or went too)
};

// Applies the changes to the groups of the last scan, which then hold what a scan of the folders
// would give now: a new entry joins the end of its folder's part of its group, a rename keeps the
// entry's place when it stays in its group, and a group that comes or goes is placed by the scan's
// own order. On `rescan` the groups are left as they were.
ChangeOutcome ApplyFolderChanges(std::vector<Group>& groups, const std::vector<FolderChange>& changes,
                                 const ChangeRules& rules);

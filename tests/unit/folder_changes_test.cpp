#include <gtest/gtest.h>

#include <map>

#include "inventory/folder_changes.h"
#include "inventory/scan.h"

namespace {

const std::wstring kDesk = L"C:\\Users\\u\\Desktop";
const std::wstring kStore = kDesk + L"\\.hidden";
using K = ChangeKind;
constexpr ChangeFolder D = ChangeFolder::Desktop, S = ChangeFolder::Store;

// A folder as names; a trailing "/" marks a folder entry.
std::vector<DirEntry> Listing(const std::vector<std::wstring>& names) {
    std::vector<DirEntry> out;
    for (const auto& n : names) {
        const bool dir = !n.empty() && n.back() == L'/';
        out.push_back({dir ? n.substr(0, n.size() - 1) : n, dir});
    }
    return out;
}

// "key: a b | key2: c" with store entries marked "*".
std::wstring Show(const std::vector<Group>& groups) {
    std::wstring s;
    for (const auto& g : groups) {
        s += (s.empty() ? L"" : L" | ") + g.first + L":";
        for (const auto& i : g.second) s += L" " + i.name + (LiesInHiddenStore(i.path, kStore) ? L"*" : L"");
    }
    return s;
}

struct Case {
    const char* what;
    std::vector<std::wstring> desk, store;       // before
    std::vector<FolderChange> notices;
    std::vector<std::wstring> deskNow, storeNow; // on disk when the notices are read
    std::wstring groups;                         // after
    std::vector<std::wstring> changed;
    bool regrouped = false;
    bool rescan = false;
};

TEST(FolderChanges, AppliedNoticesGiveWhatAScanWouldWithoutTouchingOtherGroups) {
    const std::set<std::wstring> freed = {L"free.txt"}, hiddenBoxes = {L"压缩包"}, custom = {L"Inbox"};
    const std::vector<Case> cases = {
        {"a file made joins the end of its group's desktop part", {L"a.txt", L"p.png"}, {L"s.txt"},
         {{D, K::Added, L"b.txt"}}, {L"a.txt", L"p.png", L"b.txt"}, {L"s.txt"},
         L"图片: p.png | 文档: a.txt b.txt s.txt* | Inbox:", {L"文档"}},
        {"a rename keeps the entry's place", {L"a.txt", L"b.txt", L"c.txt"}, {},
         {{D, K::RenamedFrom, L"b.txt"}, {D, K::RenamedTo, L"B2.txt"}}, {L"a.txt", L"B2.txt", L"c.txt"}, {},
         L"文档: a.txt B2.txt c.txt | Inbox:", {L"文档"}},
        {"a folder renamed twice, a case-only rename", {L"Old Stuff/", L"x/", L"k.txt"}, {},
         {{D, K::RenamedFrom, L"Old Stuff"}, {D, K::RenamedTo, L"Older"}, {D, K::RenamedFrom, L"Older"},
          {D, K::RenamedTo, L"Older Stuff"}, {D, K::RenamedFrom, L"k.txt"}, {D, K::RenamedTo, L"K.TXT"}},
         {L"Older Stuff/", L"x/", L"K.TXT"}, {}, L"文件夹: Older Stuff x | 文档: K.TXT | Inbox:",
         {L"文件夹", L"文档"}},
        {"renamed into a group that exists: leaves one, joins the other", {L"a.zip", L"b.png", L"c.png"}, {},
         {{D, K::RenamedFrom, L"c.png"}, {D, K::RenamedTo, L"c.txt"}}, {L"a.zip", L"b.png", L"c.txt"}, {},
         L"图片: b.png | 文档: c.txt | Inbox:", {L"图片", L"文档"}, true},
        {"the last entry goes: its box goes, the custom box stays", {L"p.png", L"d.txt"}, {},
         {{D, K::Removed, L"p.png"}}, {L"d.txt"}, {}, L"文档: d.txt | Inbox:", {L"图片"}, true},
        {"a new group is placed in the scan's order", {L"d.txt"}, {}, {{D, K::Added, L"go.lnk"}},
         {L"d.txt", L"go.lnk"}, {}, L"快捷方式: go.lnk | 文档: d.txt | Inbox:", {L"快捷方式"}, true},
        {"made and deleted before the notices were read: nothing", {L"d.txt"}, {},
         {{D, K::Added, L"tmp.txt"}, {D, K::Removed, L"tmp.txt"}, {D, K::Added, L"gone.txt"}}, {L"d.txt"}, {},
         L"文档: d.txt | Inbox:", {}},
        {"deleted and made again as a folder", {L"d.txt", L"thing"}, {},
         {{D, K::Removed, L"thing"}, {D, K::Added, L"thing"}}, {L"d.txt", L"thing/"}, {},
         L"文件夹: thing | 文档: d.txt | Inbox:", {L"其他", L"文件夹"}, true},
        {"our own move's echo after a rebuild changes nothing", {L"d.txt"}, {L"e.txt"},
         {{D, K::Removed, L"e.txt"}, {S, K::Added, L"e.txt"}}, {L"d.txt"}, {L"e.txt"}, L"文档: d.txt e.txt* | Inbox:",
         {}},
        {"moved into the store: a store entry follows the desktop ones", {L"d.txt", L"e.txt"}, {L"s.txt"},
         {{D, K::Removed, L"d.txt"}, {S, K::Added, L"d.txt"}}, {L"e.txt"}, {L"s.txt", L"d.txt"},
         L"文档: e.txt s.txt* d.txt* | Inbox:", {L"文档"}},
        {"a rename over an existing name leaves one entry", {L"a.txt", L"b.txt"}, {},
         {{D, K::Removed, L"b.txt"}, {D, K::RenamedFrom, L"a.txt"}, {D, K::RenamedTo, L"b.txt"}}, {L"b.txt"}, {},
         L"文档: b.txt | Inbox:", {L"文档"}},
        {"freed names, hidden boxes and desktop.ini show nothing; a file named like a temporary is shown",
         {L"d.txt"}, {},
         {{D, K::Added, L"free.txt"}, {D, K::Added, L"z.zip"}, {D, K::Added, L"Desktop.INI"},
          {S, K::Added, L"~brindlecot-move-0000abcd.tmp"}},
         {L"d.txt", L"free.txt", L"z.zip", L"Desktop.INI"}, {L"~brindlecot-move-0000abcd.tmp"},
         L"文档: d.txt | 其他: ~brindlecot-move-0000abcd.tmp* | Inbox:", {L"其他"}, true},
        {"a freed name in the store is shown", {L"d.txt"}, {}, {{S, K::Added, L"free.txt"}}, {L"d.txt"},
         {L"free.txt"}, L"文档: d.txt free.txt* | Inbox:", {L"文档"}},
        {"lost notices: list again", {L"d.txt"}, {}, {{D, K::Added, L"e.txt"}, {D, K::Overflow, L""}},
         {L"d.txt", L"e.txt"}, {}, L"文档: d.txt | Inbox:", {}, false, true},
        {"the store renamed: list again", {L"d.txt"}, {},
         {{D, K::RenamedFrom, L".hidden"}, {D, K::RenamedTo, L"kept"}}, {L"d.txt", L"kept/"}, {},
         L"文档: d.txt | Inbox:", {}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScanInput in;
        in.desktop = kDesk;
        in.hidden = kStore;
        in.freedItems = &freed;
        in.hiddenBoxes = &hiddenBoxes;
        in.customBoxes = &custom;
        in.desktopListing = Listing(c.desk);
        in.hiddenListing = Listing(c.store);
        std::vector<Group> groups = DecideScan(in).groups;
        std::map<std::pair<ChangeFolder, std::wstring>, EntryOnDisk> disk;
        for (const auto& e : Listing(c.deskNow)) disk[{D, e.name}] = e.isDir ? EntryOnDisk::Folder : EntryOnDisk::File;
        for (const auto& e : Listing(c.storeNow)) disk[{S, e.name}] = e.isDir ? EntryOnDisk::Folder : EntryOnDisk::File;
        ChangeRules rules{kDesk, kStore, &freed, &hiddenBoxes, &custom, [&](ChangeFolder f, const std::wstring& n) {
                              const auto it = disk.find({f, n});
                              return it == disk.end() ? EntryOnDisk::Missing : it->second;
                          }};
        const ChangeOutcome out = ApplyFolderChanges(groups, c.notices, rules);
        EXPECT_EQ(Show(groups), c.groups);
        EXPECT_EQ(out.changedKeys, c.changed);
        EXPECT_EQ(out.regrouped, c.regrouped);
        EXPECT_EQ(out.rescan, c.rescan);
        if (c.rescan) continue;
        // Whatever the order within a folder, a scan of the disk now finds the same entries in each group.
        in.desktopListing = Listing(c.deskNow);
        in.hiddenListing = Listing(c.storeNow);
        const std::vector<Group> scanned = DecideScan(in).groups;
        ASSERT_EQ(scanned.size(), groups.size());
        for (size_t i = 0; i < groups.size(); ++i) {
            EXPECT_EQ(scanned[i].first, groups[i].first);
            EXPECT_TRUE(std::is_permutation(scanned[i].second.begin(), scanned[i].second.end(), groups[i].second.begin(),
                                            groups[i].second.end(), [](const Item& a, const Item& b) {
                                                return a.path == b.path && a.isDir == b.isDir && a.ext == b.ext;
                                            }));
        }
    }
}

} // namespace

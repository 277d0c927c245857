#include "settings/ini_win.h"
#include "settings/lists_win.h"
#include "win/inventory_fixture.h"

namespace {

using MovesWin = InventoryWin;

// Exactly one of the two places holds the entry, with the bytes it had.
void ExpectWholeInOnePlace(const std::wstring& a, const std::wstring& b, const std::string& bytes) {
    EXPECT_NE(wt::Exists(a), wt::Exists(b)) << "entry must be in exactly one place";
    EXPECT_EQ(wt::ReadBytes(wt::Exists(a) ? a : b), bytes);
}

TEST_F(MovesWin, MoveIntoTheStoreAndBack) {
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\报告.txt", "content"));
    MoveFileNotify(desk + L"\\报告.txt", store + L"\\报告.txt");
    EXPECT_FALSE(wt::Exists(desk + L"\\报告.txt"));
    EXPECT_EQ(wt::ReadBytes(store + L"\\报告.txt"), "content");
    MoveFileNotify(store + L"\\报告.txt", desk + L"\\报告.txt");
    EXPECT_EQ(wt::ReadBytes(desk + L"\\报告.txt"), "content");
}

TEST_F(MovesWin, CollisionsLeaveBothEntriesAsTheyWere) {
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\dup.txt", "desk"));
    ASSERT_TRUE(wt::WriteBytes(store + L"\\dup.txt", "store"));
    MoveFileNotify(desk + L"\\dup.txt", store + L"\\dup.txt");
    EXPECT_EQ(wt::ReadBytes(desk + L"\\dup.txt"), "desk");
    EXPECT_EQ(wt::ReadBytes(store + L"\\dup.txt"), "store");

    // A folder onto an existing empty folder of the same name: nothing is replaced.
    ASSERT_TRUE(wt::MakeDir(desk + L"\\dir"));
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\dir\\in.txt", "inner"));
    ASSERT_TRUE(wt::MakeDir(store + L"\\dir"));
    MoveItemToGroup(desk + L"\\dir", L"Work");
    EXPECT_EQ(wt::ReadBytes(desk + L"\\dir\\in.txt"), "inner");
    EXPECT_FALSE(wt::Exists(store + L"\\dir\\in.txt"));
    // A file onto a folder of its name, and a folder onto a file.
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\x", "file x"));
    ASSERT_TRUE(wt::MakeDir(store + L"\\x"));
    MoveItemToGroup(desk + L"\\x", L"Work");
    EXPECT_EQ(wt::ReadBytes(desk + L"\\x"), "file x");
}

TEST_F(MovesWin, MissingStoreLockedAndReadOnlyEntries) {
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\a.txt", "aaa"));
    wt::RemoveTree(store);
    ASSERT_FALSE(wt::Exists(store));
    MoveFileNotify(desk + L"\\a.txt", store + L"\\a.txt");
    EXPECT_EQ(wt::ReadBytes(desk + L"\\a.txt"), "aaa") << "no store: the entry stays";
    CollectAll();
    EXPECT_EQ(wt::ReadBytes(desk + L"\\a.txt"), "aaa");
    EXPECT_FALSE(wt::Exists(store));
    // A file of the user's bears the store's name: no move, no choice forgotten, the file as it was.
    ASSERT_TRUE(wt::WriteBytes(store, "mine"));
    SetManualGroup(L"m.txt", L"M");
    MoveItemToGroup(desk + L"\\a.txt", L"Work");
    CollectAll();
    EXPECT_EQ(wt::ReadBytes(desk + L"\\a.txt") + wt::ReadBytes(store), "aaamine");
    EXPECT_EQ(g_manualGroups.size(), 1u);
    ASSERT_TRUE(DeleteFileW(store.c_str()));
    ASSERT_TRUE(wt::MakeDir(store));

    ASSERT_TRUE(wt::WriteBytes(desk + L"\\ro.txt", "read only"));
    ASSERT_TRUE(SetFileAttributesW((desk + L"\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    MoveItemToGroup(desk + L"\\ro.txt", L"Work");
    ExpectWholeInOnePlace(desk + L"\\ro.txt", store + L"\\ro.txt", "read only");

    ASSERT_TRUE(wt::WriteBytes(desk + L"\\locked.txt", "locked"));
    HANDLE h =
        CreateFileW((desk + L"\\locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    MoveItemToGroup(desk + L"\\locked.txt", L"Work");
    CloseHandle(h);
    ExpectWholeInOnePlace(desk + L"\\locked.txt", store + L"\\locked.txt", "locked");
}

TEST_F(MovesWin, LongPathMovesWholeOrNotAtAll) {
    std::wstring dir = desk;
    const std::wstring part(60, L'd');
    for (int i = 0; i < 4; ++i) {
        dir += L"\\" + part;
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + dir).c_str(), nullptr)) << i;
    }
    const std::wstring longName = std::wstring(120, L'长') + L".txt";
    ASSERT_TRUE(wt::WriteBytes(L"\\\\?\\" + dir + L"\\" + longName, "deep"));
    MoveItemToGroup(desk + L"\\" + part, L"Work");
    ExpectWholeInOnePlace(L"\\\\?\\" + desk + L"\\" + part, L"\\\\?\\" + store + L"\\" + part, "");
    const std::wstring where = wt::Exists(L"\\\\?\\" + desk + L"\\" + part) ? desk : store;
    EXPECT_EQ(wt::ReadBytes(L"\\\\?\\" + where + dir.substr(desk.size()) + L"\\" + longName), "deep");
    RestoreAll();
    EXPECT_EQ(wt::ReadBytes(L"\\\\?\\" + dir + L"\\" + longName), "deep");
}

// A drop from another volume (a tmpfs under Wine) into the store: the file system can only copy.
TEST_F(MovesWin, AcrossVolumesNoCutShortCopyEverBearsTheName) {
    const std::wstring other =
        L"Z:\\dev\\shm\\bc-move-" + std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring src = other + L"\\大.bin", dst = store + L"\\大.bin";
    const std::string bytes(3 << 20, 'x');
    const bool made = CreateDirectoryW(other.c_str(), nullptr) && wt::WriteBytes(src, bytes);
    const bool renamed = made && MoveFileExW(src.c_str(), dst.c_str(), 0);
    const DWORD err = GetLastError();
    if (!made || renamed || err != ERROR_NOT_SAME_DEVICE) {
        wt::RemoveTree(other);
        GTEST_SKIP() << "no second volume here: made " << made << ", renamed " << renamed << ", error " << err;
    }
    static std::wstring temp;
    g_moveAfterCopy = [](const std::wstring& t) { return temp = t, false; }; // the run ends here
    MoveItemToGroup(src, L"Work");
    g_moveAfterCopy = nullptr;
    const auto left = wt::Snapshot(store);
    ASSERT_EQ(left.size(), 1u) << "nothing under the name";
    EXPECT_EQ(store + L"\\" + left.begin()->first, temp);
    EXPECT_TRUE(left.begin()->second.bytes == bytes && wt::ReadBytes(src) == bytes) << "whole copy, whole source";
    RemoveUnfinishedMoves(); // the next start: the journal names it
    EXPECT_TRUE(wt::Snapshot(store).empty());
    EXPECT_EQ(wt::ReadDebugLog().back().find(L"MOVE unfinished copy removed [" + temp + L"]"), 0u);
    EXPECT_FALSE(wt::Exists(Root() + L"\\brindlecot.moves")) << "a journal with nothing left to remove goes";

    g_deleteMoveSource = [](const std::wstring&) { return true; }; // reports success, as a read-only volume may
    MoveItemToGroup(src, L"Work");
    g_deleteMoveSource = nullptr;
    EXPECT_TRUE(wt::Snapshot(store).empty() && wt::ReadBytes(src) == bytes) << "one file, where it was";

    HANDLE h = CreateFileW(src.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    MoveItemToGroup(src, L"Work"); // the source cannot be removed while open: it stays, alone
    CloseHandle(h);
    EXPECT_TRUE(wt::Snapshot(store).empty() && wt::ReadBytes(src) == bytes);
    ASSERT_TRUE(SetFileAttributesW(src.c_str(), FILE_ATTRIBUTE_READONLY));
    MoveItemToGroup(src, L"Work");
    EXPECT_TRUE(!wt::Exists(src) && wt::ReadBytes(dst) == bytes && wt::Snapshot(store).size() == 1u);
    EXPECT_EQ(GetFileAttributesW(dst.c_str()) & FILE_ATTRIBUTE_READONLY, DWORD(FILE_ATTRIBUTE_READONLY));
    wt::RemoveTree(other);
}

// Files of the user's named like a move's temporary: shown, moved, and kept by every start.
TEST_F(MovesWin, AUserFileNamedLikeATemporaryIsAnyOtherFile) {
    const std::wstring mine = L"~brindlecot-move-0000abcd.tmp", also = L"~BRINDLECOT-MOVE-FFFFFFFF.TMP";
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\" + mine, "mine") && wt::WriteBytes(store + L"\\" + also, "mine too"));
    RemoveUnfinishedMoves();
    CollectAll();
    RemoveUnfinishedMoves();
    ScanAll();
    EXPECT_EQ(g_items.size(), 2u);
    RestoreAll();
    EXPECT_EQ(wt::ReadBytes(desk + L"\\" + mine) + wt::ReadBytes(desk + L"\\" + also), "minemine too");
}

TEST_F(MovesWin, OnlyEntriesOutsideTheStoreMove) {
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\notes.hidden.txt", "n"));
    MoveItemToGroup(desk + L"\\notes.hidden.txt", L"Work");
    EXPECT_EQ(wt::ReadBytes(store + L"\\notes.hidden.txt"), "n")
        << "a name holding \".hidden\" is not in the store";

    ASSERT_TRUE(wt::WriteBytes(store + L"\\kept.txt", "k"));
    MoveItemToGroup(store + L"\\kept.txt", L"Work");
    EXPECT_EQ(wt::ReadBytes(store + L"\\kept.txt"), "k");

    MoveItemToGroup(store, L"Work");
    EXPECT_TRUE(wt::Exists(store)) << "the store never moves into itself";
    MoveItemToGroup(desk + L"\\", L"Work");
    EXPECT_TRUE(wt::Exists(desk));
}

TEST_F(MovesWin, NoDesktopFolderMovesNothing) {
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\stay.txt", "s"));
    g_desktop.clear();
    g_hidden.clear();
    g_manualGroups[L"m"] = L"M";
    MoveItemToGroup(desk + L"\\stay.txt", L"Work");
    MoveFileNotify(desk + L"\\stay.txt", L"\\stay.txt");
    CollectAll();
    RestoreAll();
    EXPECT_EQ(wt::ReadBytes(desk + L"\\stay.txt"), "s");
    EXPECT_FALSE(wt::Exists(L"\\stay.txt")) << "nothing reaches the current drive's root";
    EXPECT_EQ(g_manualGroups.size(), 1u);
}

TEST_F(MovesWin, CollectAndRestoreForgetChoices) {
    SetManualGroup(L"a.txt", L"Work");
    SaveFreedItem(L"b.txt", true);
    g_freedItems.insert(L"b.txt");
    CollectAll();
    EXPECT_TRUE(g_manualGroups.empty());
    EXPECT_TRUE(g_freedItems.empty());
    EXPECT_TRUE(IniGetSection(L"manualGroups").empty());
    EXPECT_TRUE(IniGetSection(L"freedItems").empty());
    SetManualGroup(L"a.txt", L"Work");
    RestoreAll();
    EXPECT_TRUE(g_manualGroups.empty());
    EXPECT_TRUE(IniGetSection(L"manualGroups").empty());
}

TEST_F(MovesWin, CollectAllThenRestoreAllPutsEveryEntryBack) {
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\报告.docx", std::string("PK\x03\x04 binary\0 data", 19)));
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\notes.hidden.txt", "notes"));
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\desktop.ini", "[.ShellClassInfo]\r\n"));
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\secret.dat", "hidden"));
    ASSERT_TRUE(SetFileAttributesW((desk + L"\\secret.dat").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\sys.bin", "system"));
    ASSERT_TRUE(
        SetFileAttributesW((desk + L"\\sys.bin").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\ro.pdf", "read only"));
    ASSERT_TRUE(SetFileAttributesW((desk + L"\\ro.pdf").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(wt::MakeDir(desk + L"\\项目 文件夹"));
    ASSERT_TRUE(wt::MakeDir(desk + L"\\项目 文件夹\\子"));
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\项目 文件夹\\子\\深.txt", "deep"));
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\项目 文件夹\\a.txt", "a"));
    ASSERT_TRUE(wt::MakeDir(desk + L"\\empty dir"));
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\dup.txt", "desktop copy"));
    ASSERT_TRUE(wt::WriteBytes(store + L"\\dup.txt", "stored copy"));
    auto original = wt::Snapshot(desk);
    original.erase(L".hidden");
    original.erase(L".hidden\\dup.txt");

    CollectAll();
    auto collected = wt::Snapshot(desk);
    EXPECT_EQ(collected.size(), original.size() + 2) << "everything now lies below the store";
    EXPECT_EQ(wt::ReadBytes(desk + L"\\dup.txt"), "desktop copy") << "the colliding entry stays";
    EXPECT_EQ(wt::ReadBytes(store + L"\\dup.txt"), "stored copy");
    for (const auto& e : original) {
        if (e.first == L"dup.txt") continue;
        ASSERT_TRUE(collected.count(L".hidden\\" + e.first)) << "missing in store";
        EXPECT_EQ(collected[L".hidden\\" + e.first], e.second);
    }

    RestoreAll();
    auto restored = wt::Snapshot(desk);
    EXPECT_EQ(wt::ReadBytes(store + L"\\dup.txt"), "stored copy")
        << "the stored twin cannot return, and stays";
    restored.erase(L".hidden");
    restored.erase(L".hidden\\dup.txt");
    EXPECT_EQ(restored, original);

    // Once the name is free, the last entry comes back too and the store is left empty.
    ASSERT_TRUE(MoveFileW((desk + L"\\dup.txt").c_str(), (Root() + L"\\dup.txt").c_str()));
    RestoreAll();
    EXPECT_EQ(wt::ReadBytes(desk + L"\\dup.txt"), "stored copy");
    EXPECT_TRUE(wt::Snapshot(store).empty());
    EXPECT_TRUE(wt::Exists(store)) << "the store itself stays";
}

TEST_F(MovesWin, IconsAreCachedByNameUntilTheEnd) {
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\a.txt", "a"));
    ASSERT_TRUE(wt::WriteBytes(store + L"\\a.txt", "b"));
    const HICON first = GetFileIcon(desk + L"\\a.txt");
    EXPECT_EQ(GetFileIcon(store + L"\\a.txt"), first) << "one icon per name";
    EXPECT_EQ(g_iconCache.size(), 1u);
    GetFileIcon(desk + L"\\nope\\missing.qqq");
    ASSERT_EQ(g_iconCache.count(L"missing.qqq"), 1u) << "a failed lookup is remembered too";
    EXPECT_EQ(GetFileIcon(L"C:\\else\\missing.qqq"), g_iconCache[L"missing.qqq"]);
    DestroyIconCache();
    EXPECT_TRUE(g_iconCache.empty());
}

} // namespace

#include <algorithm>

#include "win/inventory_fixture.h"

namespace {

using ScanWin = InventoryWin;

std::vector<std::wstring> LinesAddedSince(size_t before) {
    const auto lines = wt::ReadDebugLog();
    return std::vector<std::wstring>(
        lines.begin() + static_cast<std::ptrdiff_t>(std::min(before, lines.size())), lines.end());
}

const Group* FindGroup(const std::wstring& key) {
    for (const auto& g : g_groups) {
        if (g.first == key) return &g;
    }
    return nullptr;
}

TEST_F(ScanWin, SeededFoldersGiveOrderedGroupsAndLogLines) {
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\报告.DOCX", "r"));
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\same.txt", "desk"));
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\DESKTOP.INI", "[.ShellClassInfo]"));
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\secret.dat", "s"));
    SetFileAttributesW((desk + L"\\secret.dat").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\freed.png", "f"));
    ASSERT_TRUE(wt::MakeDir(desk + L"\\项目"));
    ASSERT_TRUE(wt::WriteBytes(store + L"\\same.txt", "store"));
    ASSERT_TRUE(wt::WriteBytes(store + L"\\desktop.ini", "x"));
    ASSERT_TRUE(wt::WriteBytes(store + L"\\mine.bin", "m"));
    g_manualGroups[L"mine.bin"] = L"工作";
    g_freedItems = {L"freed.png"};
    g_hiddenBoxes = {L"压缩包"};
    g_customBoxes = {L"空盒", L"工作"};

    const size_t before = wt::ReadDebugLog().size();
    ScanAll();

    std::vector<std::wstring> keys;
    for (const auto& g : g_groups)
        keys.push_back(g.first);
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"文件夹", L"文档", L"其他", L"工作", L"空盒"}));
    const Group* docs = FindGroup(L"文档");
    ASSERT_NE(docs, nullptr);
    ASSERT_EQ(docs->second.size(), 3u);
    EXPECT_EQ(docs->second.back().path, store + L"\\same.txt") << "store entries follow the desktop's";
    const Group* other = FindGroup(L"其他");
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(other->second.size(), 1u);
    EXPECT_EQ(other->second[0].name, L"secret.dat") << "hidden and system files are listed";
    EXPECT_EQ(FindGroup(L"文件夹")->second[0].path, desk + L"\\项目");
    EXPECT_TRUE(FindGroup(L"文件夹")->second[0].isDir);
    EXPECT_EQ(g_items.size(), 7u)
        << "desktop.ini is never listed and the store is not an item; freed entries are";
    for (const auto& i : g_items)
        EXPECT_NE(i.name, L".hidden");

    EXPECT_EQ(LinesAddedSince(before),
              (std::vector<std::wstring>{L"SCAN group=[文件夹]", L"SCAN group=[文档]", L"SCAN group=[其他]",
                                         L"SCAN group=[工作]", L"SCAN hidden=[压缩包]",
                                         L"SCAN after filter: groups=4"}));
}

TEST_F(ScanWin, ScanDirAppendsAfterWhatIsThere) {
    ASSERT_TRUE(wt::WriteBytes(desk + L"\\a.txt", "a"));
    std::vector<Item> out(1);
    out[0].name = L"kept";
    ScanDir(desk, out);
    ASSERT_EQ(out.size(), 3u); // kept, a.txt, .hidden
    EXPECT_EQ(out[0].name, L"kept");
    ScanDir(desk + L"\\missing", out);
    EXPECT_EQ(out.size(), 3u) << "a folder that cannot be listed adds nothing";
}

TEST_F(ScanWin, NoDesktopFolderListsNothing) {
    g_desktop.clear();
    g_hidden.clear();
    g_customBoxes = {L"Mine"};
    std::vector<Item> out;
    ScanDir(L"", out);
    EXPECT_TRUE(out.empty()) << "an empty folder path must not list the drive's root";
    ScanAll();
    EXPECT_TRUE(g_items.empty());
    ASSERT_EQ(g_groups.size(), 1u);
    EXPECT_EQ(g_groups[0].first, L"Mine");
}

} // namespace

#include <gtest/gtest.h>

#include "inventory/move_journal.h"
#include "inventory/scan.h"

namespace {

const std::wstring kDesk = L"C:\\Users\\u\\Desktop";
const std::wstring kStore = L"C:\\Users\\u\\Desktop\\.hidden";

std::vector<std::wstring> Keys(const ScanResult& r) {
    std::vector<std::wstring> keys;
    for (const auto& g : r.groups)
        keys.push_back(g.first);
    return keys;
}

std::vector<std::wstring> Paths(const std::vector<Item>& items) {
    std::vector<std::wstring> paths;
    for (const auto& i : items)
        paths.push_back(i.path);
    return paths;
}

class ScanDecision : public ::testing::Test {
  protected:
    void SetUp() override {
        g_manualGroups.clear();
        in.desktop = kDesk;
        in.hidden = kStore;
        in.freedItems = &freed;
        in.hiddenBoxes = &hiddenBoxes;
        in.customBoxes = &customBoxes;
    }
    void TearDown() override { g_manualGroups.clear(); }

    ScanInput in;
    std::set<std::wstring> freed, hiddenBoxes, customBoxes;
};

TEST_F(ScanDecision, EmptyFoldersGiveNoGroups) {
    in.desktopListing = {{L".", true}, {L"..", true}, {L".hidden", true}};
    const ScanResult r = DecideScan(in);
    EXPECT_TRUE(r.groups.empty());
    EXPECT_TRUE(r.items.empty());
    EXPECT_EQ(r.log, std::vector<std::wstring>{L"SCAN after filter: groups=0"});
}

TEST_F(ScanDecision, BuiltInOrderThenManualGroupsByFirstAppearance) {
    g_manualGroups[L"b.txt"] = L"B";
    g_manualGroups[L"a.txt"] = L"A";
    in.desktopListing = {{L"z.zip", false},   {L"b.txt", false}, {L"notes", false},  {L"a.txt", false},
                         {L"pic.PNG", false}, {L"Work", true},   {L"go.lnk", false}, {L"doc.pdf", false}};
    const ScanResult r = DecideScan(in);
    EXPECT_EQ(Keys(r), (std::vector<std::wstring>{L"文件夹", L"快捷方式", L"图片", L"文档", L"压缩包",
                                                  L"其他", L"B", L"A"}));
    EXPECT_EQ(r.log.front(), L"SCAN group=[文件夹]");
    EXPECT_EQ(r.log[6], L"SCAN group=[B]");
    EXPECT_EQ(r.log.back(), L"SCAN after filter: groups=8");
    EXPECT_EQ(r.groups[2].second[0].ext, L".png");
    EXPECT_TRUE(r.groups[0].second[0].isDir);
    EXPECT_TRUE(r.groups[0].second[0].ext.empty());
}

TEST_F(ScanDecision, DesktopEntriesFirstThenStoreInListingOrder) {
    in.desktopListing = {{L"b.txt", false}, {L"same.txt", false}, {L".hidden", true}, {L"a.txt", false}};
    in.hiddenListing = {{L".", true}, {L"..", true}, {L"same.txt", false}, {L"c.txt", false}};
    const ScanResult r = DecideScan(in);
    ASSERT_EQ(r.groups.size(), 1u);
    EXPECT_EQ(Paths(r.groups[0].second),
              (std::vector<std::wstring>{kDesk + L"\\b.txt", kDesk + L"\\same.txt", kDesk + L"\\a.txt",
                                         kStore + L"\\same.txt", kStore + L"\\c.txt"}));
    EXPECT_EQ(r.items.size(), 5u);
}

TEST_F(ScanDecision, DesktopIniInAnyCaseIsNeverListedOtherHiddenFilesAre) {
    in.desktopListing = {
        {L"desktop.ini", false}, {L"DESKTOP.INI", false}, {L"Desktop.Ini", false}, {L"thumbs.db", false}};
    in.hiddenListing = {{L"DeskTop.ini", false}, {L"desktop.ini.txt", false}};
    const ScanResult r = DecideScan(in);
    EXPECT_EQ(Paths(r.items),
              (std::vector<std::wstring>{kDesk + L"\\thumbs.db", kStore + L"\\desktop.ini.txt"}));
}

TEST_F(ScanDecision, NamesLikeAMoveTemporaryAreListedLikeAnyOther) {
    in.desktopListing = {{MoveTempName(0xAB12CD34ul), false}, {L"~BRINDLECOT-MOVE-00000000.TMP", true}};
    EXPECT_EQ(Paths(DecideScan(in).items),
              (std::vector<std::wstring>{kDesk + L"\\~brindlecot-move-ab12cd34.tmp", kDesk + L"\\~BRINDLECOT-MOVE-00000000.TMP"}));
}

// Only whole records naming a temporary beside its move's destination come back from the journal.
TEST(MoveJournal, OnlyWholeRecordsOfTemporariesBesideTheirDestination) {
    const std::wstring temp = L"C:\\d\\" + MoveTempName(0xAB12CD34ul);
    EXPECT_EQ(MoveTempName(0xAB12CD34ul), L"~brindlecot-move-ab12cd34.tmp");
    const std::vector<MoveRecord> kept = {{temp, L"E:\\报告.txt", L"C:\\d\\报告.txt"},
                                          {L"C:\\D\\~BRINDLECOT-MOVE-0000000F.TMP", L"E:\\b", L"c:\\d\\b"}};
    std::wstring text = FormatMoveJournal(kept);
    for (const wchar_t* name : {L"~brindlecot-move-ab12cd3.tmp", L"~brindlecot-move-ab12cd345.tmp",
                                L"~brindlecot-move-ab12cd3g.tmp", L"~brindlecot-move-ab12cd34.tmp.txt",
                                L"brindlecot-move-ab12cd34.tmp", L"~brindlecot-move-\uFF10b12cd34.tmp", L"notes.txt"})
        text += L"C:\\d\\" + std::wstring(name) + L"\tE:\\x\tC:\\d\\x\n";
    text += temp + L"\tE:\\x\tC:\\elsewhere\\x\n" + temp + L"\tE:\\x\n" + temp + L"\tE:\\x\tC:\\d\\x"; // cut short
    EXPECT_EQ(ParseMoveJournal(text), kept);
}

TEST_F(ScanDecision, AFreedNameKeepsOnlyTheDesktopEntryOutNotItsStoreNamesake) {
    freed = {L"a.txt"};
    in.desktopListing = {{L"a.txt", false}, {L"b.txt", false}};
    in.hiddenListing = {{L"a.txt", false}};
    const ScanResult r = DecideScan(in);
    ASSERT_EQ(r.groups.size(), 1u);
    EXPECT_EQ(Paths(r.groups[0].second), (std::vector<std::wstring>{kDesk + L"\\b.txt", kStore + L"\\a.txt"}));
    EXPECT_EQ(r.items.size(), 3u) << "the flat list keeps every entry";
}

TEST_F(ScanDecision, HiddenBoxesAreDroppedAndLoggedEvenWithoutAGroup) {
    hiddenBoxes = {L"文档", L"Ghost"};
    in.desktopListing = {{L"a.txt", false}, {L"b.zip", false}};
    const ScanResult r = DecideScan(in);
    EXPECT_EQ(Keys(r), std::vector<std::wstring>{L"压缩包"});
    EXPECT_EQ(r.log,
              (std::vector<std::wstring>{L"SCAN group=[文档]", L"SCAN group=[压缩包]", L"SCAN hidden=[Ghost]",
                                         L"SCAN hidden=[文档]", L"SCAN after filter: groups=1"}));
}

TEST_F(ScanDecision, EmptyUserMadeBoxesComeLastInNameOrder) {
    customBoxes = {L"B", L"A", L"文档", L"Gone", L"a", L"z"}; // "a", "z": the boxes "A" and "Z" by case
    hiddenBoxes = {L"Gone"};
    g_manualGroups[L"x.txt"] = L"Z";
    in.desktopListing = {{L"a.txt", false}, {L"x.txt", false}};
    const ScanResult r = DecideScan(in);
    EXPECT_EQ(Keys(r), (std::vector<std::wstring>{L"文档", L"Z", L"A", L"B"}));
    EXPECT_EQ(r.groups[0].second.size(), 1u) << "a user-made box named like a group with items is that group";
    EXPECT_TRUE(r.groups[2].second.empty());
    EXPECT_EQ(r.log.back(), L"SCAN after filter: groups=2") << "user-made boxes come after the count";
}

TEST_F(ScanDecision, NoDesktopFolderListsNothing) {
    in.desktop.clear();
    in.hidden.clear();
    in.desktopListing = {{L"a.txt", false}};
    in.hiddenListing = {{L"b.txt", false}};
    customBoxes = {L"Mine"};
    const ScanResult r = DecideScan(in);
    EXPECT_TRUE(r.items.empty());
    EXPECT_EQ(Keys(r), std::vector<std::wstring>{L"Mine"});
}

TEST(HiddenStore, ParentFolderDecides) {
    struct Case {
        const wchar_t* path;
        bool inStore;
    };
    const Case cases[] = {
        {L"C:\\Users\\u\\Desktop\\.hidden\\a.txt", true},
        {L"c:\\users\\U\\desktop\\.HIDDEN\\a.txt", true},
        {L"C:/Users/u/Desktop/.hidden/a.txt", true},
        {L"C:\\Users\\u\\Desktop\\.hidden\\sub\\a.txt", false},
        {L"C:\\Users\\u\\Desktop\\notes.hidden.txt", false},
        {L"C:\\Users\\u\\Desktop\\.hidden", false},
        {L"C:\\Users\\u\\Desktop\\.hidden\\", false},
        {L"D:\\a.hidden\\b.txt", false},
        {L"D:\\x\\.hidden\\b.txt", false},
        {L"a.txt", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LiesInHiddenStore(c.path, kStore), c.inStore) << c.path;
    EXPECT_FALSE(LiesInHiddenStore(L"\\a.txt", L"")) << "no store holds nothing";
    EXPECT_TRUE(LiesInHiddenStore(L"C:\\D\\.hidden\\x", L"C:\\D\\.hidden\\"));
    EXPECT_TRUE(LiesInHiddenStore(L"C:\\Щ\\.hidden\\x", L"C:\\щ\\.hidden"));
}

TEST(HiddenStore, NamesCompareWithoutLetterCase) {
    EXPECT_TRUE(SameNameIgnoreCase(L"Desktop.INI", L"desktop.ini"));
    EXPECT_TRUE(SameNameIgnoreCase(L"ÄRGER", L"ärger"));
    EXPECT_FALSE(SameNameIgnoreCase(L"desktop.ini ", L"desktop.ini"));
    EXPECT_TRUE(IsHiddenStoreName(L".Hidden"));
    EXPECT_FALSE(IsHiddenStoreName(L"x.hidden"));
}

} // namespace

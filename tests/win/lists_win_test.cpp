#include <algorithm>

#include "inventory/inventory_win.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"
#include "settings/list_parse.h"
#include "settings/lists_win.h"
#include "win/inventory_fixture.h"

namespace {

using ListsWin = InventoryWin;

// Names the profile format cannot hold as keys, and names it holds; all must come back exactly.
const std::wstring kAwkward[] = {L"[Draft] plan.docx", L";semi.txt", L"a=b.txt",        L" lead.txt",
                                 L"trail.txt ",        L"~%0041",    L"报告 2024.docx", L"#hash.txt",
                                 L"x]y.txt",           L"plain.txt"};

TEST_F(ListsWin, RawNamesThatTheProfileLoses) {
    // Why the escaping exists: written raw, these names do not come back from the file.
    for (const wchar_t* raw : {L"[Draft] plan.docx", L";semi.txt", L"a=b.txt", L" lead.txt", L"trail.txt "})
        IniWrite(L"probe", raw, L"1");
    IniWrite(L" sp", L"x", L"1");
    IniFlush();
    const auto keys = ParseSetSectionKeys(IniGetSection(L"probe"));
    for (const wchar_t* raw : {L"[Draft] plan.docx", L";semi.txt", L"a=b.txt", L" lead.txt", L"trail.txt "})
        EXPECT_EQ(std::count(keys.begin(), keys.end(), raw), 0) << raw;
    EXPECT_EQ(IniGetInt(L"sp", L"x", 0), 1) << "a section's leading blank is trimmed";
}

TEST_F(ListsWin, HandWrittenFileLoadsEveryList) {
    std::wstring text = L"[manualGroups]\r\n报告.docx=工作\r\nnot a line\r\nk.txt=a=b\r\n报告.docx=学习\r\n"
                        L"[boxNames]\r\n文档=我的文档\r\n"
                        L"[hiddenBoxes]\r\n压缩包=0\r\n其他=1\r\n"
                        L"[customBoxes]\r\n新盒子=1\r\n"
                        L"[freedItems]\r\n";
    for (int i = 0; i < 1000; ++i)
        text += L"自由文件_" + std::to_wstring(i) + L".txt=1\r\n";
    ASSERT_TRUE(wt::WriteIniText(ini, text));

    const size_t before = wt::ReadDebugLog().size();
    LoadManualGroups();
    LoadFreedItems();
    LoadBoxNames();
    LoadHiddenBoxes();
    LoadCustomBoxes();
    EXPECT_EQ(g_manualGroups,
              (std::map<std::wstring, std::wstring>{{L"报告.docx", L"学习"}, {L"k.txt", L"a=b"}}));
    EXPECT_EQ(g_boxNames, (std::map<std::wstring, std::wstring>{{L"文档", L"我的文档"}}));
    EXPECT_EQ(g_hiddenBoxes, (std::set<std::wstring>{L"压缩包", L"其他"}));
    EXPECT_EQ(g_customBoxes, (std::set<std::wstring>{L"新盒子"}));
    ASSERT_EQ(g_freedItems.size(), 1000u) << "a long section is read whole";
    EXPECT_EQ(g_freedItems.count(L"自由文件_999.txt"), 1u);

    const auto log = wt::ReadDebugLog();
    ASSERT_EQ(log.size(), before + 4);
    EXPECT_EQ(log[before], L"LoadHidden start, ini=" + ini);
    EXPECT_EQ(log[before + 1], L"LoadHidden key=[压缩包]");
    EXPECT_EQ(log[before + 2], L"LoadHidden key=[其他]");
    EXPECT_EQ(log[before + 3], L"LoadHidden total=2");
}

TEST_F(ListsWin, WrittenNamesComeBackExactly) {
    for (const auto& n : kAwkward) {
        SetManualGroup(n, L" 组 " + n);
        SaveFreedItem(n, true);
        IniWrite(L"boxNames", IniKeyFor(n).c_str(), IniValueFor(L"名字 " + n + L" "));
        IniWrite(L"hiddenBoxes", IniKeyFor(n).c_str(), L"1");
        IniWrite(L"customBoxes", IniKeyFor(n).c_str(), L"1");
    }
    IniFlush();
    const auto written = g_manualGroups;
    ClearLists();
    LoadManualGroups();
    LoadFreedItems();
    LoadBoxNames();
    LoadHiddenBoxes();
    LoadCustomBoxes();
    EXPECT_EQ(g_manualGroups, written);
    const std::set<std::wstring> all(std::begin(kAwkward), std::end(kAwkward));
    EXPECT_EQ(g_freedItems, all);
    EXPECT_EQ(g_hiddenBoxes, all);
    EXPECT_EQ(g_customBoxes, all);
    ASSERT_EQ(g_boxNames.size(), all.size());
    for (const auto& n : kAwkward)
        EXPECT_EQ(g_boxNames[n], L"名字 " + n + L" ") << n;
    // Names that survive as they are stay in the file exactly as before.
    EXPECT_EQ(IniGetString(L"manualGroups", L"plain.txt", L"", 64), L"~% 组 plain.txt");
    EXPECT_EQ(IniGetString(L"freedItems", L"报告 2024.docx", L"", 64), L"1");
}

TEST_F(ListsWin, FreedItemWriteAndDelete) {
    SaveFreedItem(L"a.txt", true);
    SaveFreedItem(L"[b] c.txt", true);
    SaveFreedItem(L"never.txt", false);
    EXPECT_TRUE(g_freedItems.empty()) << "the caller keeps the set";
    LoadFreedItems();
    EXPECT_EQ(g_freedItems, (std::set<std::wstring>{L"a.txt", L"[b] c.txt"}));
    SaveFreedItem(L"[b] c.txt", false);
    LoadFreedItems();
    EXPECT_EQ(g_freedItems, (std::set<std::wstring>{L"a.txt"}));
    const std::string bytes = wt::ReadBytes(ini);
    EXPECT_EQ(bytes.compare(0, 2, "\xFF\xFE"), 0) << "a new file is UTF-16 with its byte-order mark";
}

TEST_F(ListsWin, ThousandManualChoicesRoundTrip) {
    for (int i = 0; i < 1000; ++i)
        SetManualGroup(L"文件 " + std::to_wstring(i) + L".txt", L"组" + std::to_wstring(i % 9));
    const auto written = g_manualGroups;
    g_manualGroups.clear();
    LoadManualGroups();
    EXPECT_EQ(g_manualGroups.size(), 1000u);
    EXPECT_EQ(g_manualGroups, written);
}

TEST_F(ListsWin, PositionsBySectionOfTheGroupKey) {
    const std::wstring keys[] = {L"文件夹", L" Work ", L"a]b", L"~%x", L"[Draft]", L"settings", L"HiddenBoxes"};
    int n = 0;
    for (const auto& k : keys) {
        SavePos(k, 100 + n, 200 + n);
        ++n;
    }
    SavePos(L"neg", -500, 10); // left of the screen, where no monitor is
    IniWrite(SizeSectionFor(L" Work ").c_str(), L"w", L"400");
    IniWrite(L"settings", L"alpha", L"200");
    std::vector<std::wstring> groupKeys(std::begin(keys), std::end(keys));
    groupKeys.push_back(L"neg");
    groupKeys.push_back(L"never saved");
    g_posCache.clear(); // SavePos also keeps what it wrote for the next rebuild
    LoadPos(groupKeys);
    ASSERT_EQ(g_posCache.size(), 7u) << "places no monitor shows and missing ones give no entry";
    n = 0;
    for (const auto& k : keys) {
        EXPECT_EQ(g_posCache[k], (Rect{100 + n, 200 + n, 340 + n, 560 + n}))
            << std::string(k.begin(), k.end());
        ++n;
    }
    EXPECT_EQ(IniGetInt(SizeSectionFor(L" Work ").c_str(), L"w", 0), 400);
    EXPECT_EQ(IniGetInt(L"Work", L"x", -1), -1) << "a trimmed key does not share another key's section";
    // A box named like one of the program's sections keeps its position apart from that list.
    EXPECT_EQ(IniGetInt(L"settings", L"alpha", 0), 200);
    EXPECT_EQ(IniGetInt(L"settings", L"x", -1), -1);
    EXPECT_EQ(IniGetSection(L"hiddenBoxes"), L"") << "no phantom hidden boxes \"x\" and \"y\"";
}

TEST_F(ListsWin, NothingWithoutAnIniPath) {
    ASSERT_TRUE(wt::WriteIniText(ini, L"[freedItems]\r\na.txt=1\r\n"));
    g_iniPath.clear();
    LoadFreedItems();
    SaveFreedItem(L"b.txt", true);
    SetManualGroup(L"c.txt", L"Work");
    EXPECT_TRUE(g_freedItems.empty());
    EXPECT_EQ(g_manualGroups.at(L"c.txt"), L"Work") << "the choice lasts in memory";
    g_iniPath = ini;
    LoadFreedItems();
    EXPECT_EQ(g_freedItems, std::set<std::wstring>{L"a.txt"});
}

} // namespace

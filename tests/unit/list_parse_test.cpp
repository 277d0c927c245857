#include <gtest/gtest.h>

#include "settings/ini_names.h"
#include "settings/list_parse.h"

namespace {

std::wstring Block(std::initializer_list<std::wstring> lines) {
    std::wstring b;
    for (const auto& l : lines) {
        b += l;
        b += L'\0';
    }
    return b;
}

TEST(ListParse, LinesSplitAtTheFirstEquals) {
    const auto lines =
        SplitSectionLines(Block({L"a.txt=Work", L"no equals here", L"k=v=w", L"=empty key", L"e="}));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], (std::pair<std::wstring, std::wstring>(L"a.txt", L"Work")));
    EXPECT_EQ(lines[1], (std::pair<std::wstring, std::wstring>(L"k", L"v=w")));
    EXPECT_EQ(lines[2], (std::pair<std::wstring, std::wstring>(L"", L"empty key")));
    EXPECT_EQ(lines[3], (std::pair<std::wstring, std::wstring>(L"e", L"")));
}

TEST(ListParse, BlockEndsAtAnEmptyLineWithOrWithoutFinalNuls) {
    EXPECT_TRUE(SplitSectionLines(L"").empty());
    EXPECT_EQ(SplitSectionLines(std::wstring(L"a=1\0\0b=2\0", 10)).size(), 1u);
    EXPECT_EQ(SplitSectionLines(std::wstring(L"a=1\0b=2", 7)).size(), 2u);
}

TEST(ListParse, MapsTakeTheLastValueSetsOnlyPresence) {
    const auto map = ParseMapSection(Block({L"a.txt=Work", L"b.txt=Home", L"a.txt=Play"}));
    EXPECT_EQ(map, (std::map<std::wstring, std::wstring>{{L"a.txt", L"Play"}, {L"b.txt", L"Home"}}));
    const auto keys = ParseSetSectionKeys(Block({L"文档=0", L"其他=1", L"junk", L"Box=anything"}));
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"文档", L"其他", L"Box"}));
}

TEST(ListParse, EscapedNamesAndValuesAreDecoded) {
    const std::wstring names[] = {L"[Draft] plan.docx", L";x.txt", L"a=b.txt", L" lead", L"trail "};
    std::wstring block;
    for (const auto& n : names) {
        block += IniKeyFor(n) + L"=" + IniValueFor(L" " + n);
        block += L'\0';
    }
    const auto map = ParseMapSection(block);
    ASSERT_EQ(map.size(), 5u);
    for (const auto& n : names)
        EXPECT_EQ(map.at(n), L" " + n) << n;
    const auto keys = ParseSetSectionKeys(block);
    EXPECT_EQ(std::vector<std::wstring>(keys.begin(), keys.end()),
              std::vector<std::wstring>(std::begin(names), std::end(names)));
}

TEST(ListParse, ThousandEntriesAllArrive) {
    std::wstring block;
    for (int i = 0; i < 1000; ++i) {
        block += L"文件_" + std::to_wstring(i) + L".txt=组" + std::to_wstring(i % 7);
        block += L'\0';
    }
    const auto map = ParseMapSection(block);
    ASSERT_EQ(map.size(), 1000u);
    EXPECT_EQ(map.at(L"文件_999.txt"), L"组5");
    EXPECT_EQ(ParseSetSectionKeys(block).size(), 1000u);
}

TEST(ListParse, HiddenLoadLogLines) {
    EXPECT_EQ(
        HiddenBoxesLoadLog(L"C:\\p\\brindlecot.ini", {L"文档", L"X"}, 2),
        (std::vector<std::wstring>{L"LoadHidden start, ini=C:\\p\\brindlecot.ini", L"LoadHidden key=[文档]",
                                   L"LoadHidden key=[X]", L"LoadHidden total=2"}));
}

} // namespace

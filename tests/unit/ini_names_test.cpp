#include <gtest/gtest.h>

#include <set>

#include "settings/ini_names.h"

namespace {

// Names the profile format holds as they are: stored unchanged, so files written before still read.
TEST(IniNames, NamesThatSurviveAreStoredUnchanged) {
    const wchar_t* names[] = {
        L"a.txt",         L"报告 2024.docx", L"Draft] plan.docx", L"mid;semi.txt", L"#hash.txt", L"\"q.txt\"",
        L"a b",           L"~tmp.txt",       L"100%.txt",         L"x]",           L"文件夹",    L"settings2",
        L"\u3000全角空格", L"boxNames_size"};
    for (const wchar_t* n : names) {
        EXPECT_EQ(IniKeyFor(n), n) << n;
        EXPECT_EQ(IniSectionFor(n), n) << n;
        EXPECT_EQ(IniValueFor(n), n) << n;
        EXPECT_EQ(NameFromIniKey(n), n) << n;
    }
    EXPECT_EQ(SizeSectionFor(L"文件夹"), L"文件夹_size");
    EXPECT_EQ(IniSectionFor(L"[y"), L"[y") << "a section name may start with a bracket";
    EXPECT_EQ(IniSectionFor(L"a=b"), L"a=b");
    EXPECT_EQ(IniValueFor(L"a=b"), L"a=b") << "a value keeps everything after the first equals sign";
}

TEST(IniNames, NamesThatWouldBreakAreEscapedAndComeBack) {
    struct Case {
        const wchar_t* name;
        bool key, section, value; // escaped in that role
    };
    const Case cases[] = {
        {L"[Draft] plan.docx", true, false, false},
        {L";semi.txt", true, false, false},
        {L"a=b.txt", true, false, false},
        {L"=", true, false, false},
        {L" lead.txt", true, true, true},
        {L"trail.txt ", true, true, true},
        {L"\ttab", true, true, true},
        {L"line\nbreak", true, true, true},
        {L"cr\rx", true, true, true},
        {L"", true, true, false},
        {L"~%", true, true, true},
        {L"~%0041", true, true, true},
        {L"~%looks encoded.txt", true, true, true},
        {L"%=%", true, false, false},
        {L" ", true, true, true},
        // The program's own sections, in any ASCII letter case, are never a box's position section.
        {L"settings", false, true, false},
        {L"MANUALGROUPS", false, true, false},
        {L"freedItems", false, true, false},
        {L"boxnames", false, true, false},
        {L"hiddenBoxes", false, true, false},
        {L"CustomBoxes", false, true, false},
    };
    for (const auto& c : cases) {
        const std::wstring n = c.name;
        const std::wstring k = IniKeyFor(n), s = IniSectionFor(n), v = IniValueFor(n);
        EXPECT_EQ(k != n, c.key) << n;
        EXPECT_EQ(s != n, c.section) << n;
        EXPECT_EQ(v != n, c.value) << n;
        EXPECT_EQ(NameFromIniKey(k), n) << n;
        EXPECT_EQ(NameFromIniSection(s), n) << n;
        EXPECT_EQ(ValueFromIni(v), n) << n;
        // What is written must itself be safe: no "=", no line break, no leading "[" or ";",
        // no white space at either end.
        EXPECT_EQ(k.find_first_of(L"=\r\n"), std::wstring::npos) << n;
        ASSERT_FALSE(k.empty());
        EXPECT_NE(k.front(), L'[');
        EXPECT_NE(k.front(), L';');
        EXPECT_NE(k.front(), L' ');
        EXPECT_NE(k.back(), L' ');
        EXPECT_NE(k.back(), L'\t');
    }
}

TEST(IniNames, MappingIsOneToOne) {
    const std::wstring names[] = {L"a",  L" a", L"a ", L"~%a", L"~%0020a", L"~%~%0020a", L"=a",      L"a=",
                                  L"[a", L";a", L"",   L"~%",  L"%",       L"~",         L"~%%0025", L"a\n"};
    std::set<std::wstring> keys, sections, values;
    for (const auto& n : names) {
        keys.insert(IniKeyFor(n));
        sections.insert(IniSectionFor(n));
        values.insert(IniValueFor(n));
        EXPECT_EQ(NameFromIniKey(IniKeyFor(n)), n);
    }
    const size_t count = sizeof names / sizeof names[0];
    EXPECT_EQ(keys.size(), count);
    EXPECT_EQ(sections.size(), count);
    EXPECT_EQ(values.size(), count);
}

TEST(IniNames, SizeSectionFollowsTheKey) {
    EXPECT_EQ(SizeSectionFor(L"Work"), L"Work_size");
    EXPECT_EQ(SizeSectionFor(L"trail "), L"trail _size") << "inner blank is kept as before";
    EXPECT_NE(SizeSectionFor(L" lead"), L" lead_size");
    EXPECT_EQ(NameFromIniSection(SizeSectionFor(L" lead")), L" lead_size");
    EXPECT_NE(SizeSectionFor(L" lead"), IniSectionFor(L" lead"));
}

TEST(IniNames, HandEditedTextThatIsNotOursIsKept) {
    EXPECT_EQ(NameFromIniKey(L"~%abc%00"), L"~%abc%00") << "cut short";
    EXPECT_EQ(NameFromIniKey(L"~%abc%zz41"), L"~%abc%zz41") << "not hex";
    EXPECT_EQ(NameFromIniKey(L"~%a%003db"), L"a=b") << "lower-case hex reads too";
}

} // namespace

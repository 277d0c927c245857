#include <gtest/gtest.h>

#include "base/strutil.h"
#include "settings/metrics.h"
#include "settings/settings.h"

namespace {

struct IntRuleCase {
    int stored;
    int expected;
};

TEST(SettingsRules, SkinTakesOnlyKnownRows) {
    const IntRuleCase cases[] = {{0, 0}, {7, 7}, {8, 2}, {9, 2}, {-1, 2}, {2, 2}};
    for (const auto& c : cases) EXPECT_EQ(SkinFromStored(c.stored, 2), c.expected) << c.stored;
    EXPECT_EQ(SkinFromStored(9, 5), 5) << "an unknown row keeps the current skin";
}

TEST(SettingsRules, AlphaAndFontSizeAreClamped) {
    const IntRuleCase alpha[] = {{10, 30}, {0, 30}, {29, 30}, {30, 30}, {130, 130}, {255, 255}, {256, 255}, {999, 255}};
    for (const auto& c : alpha) EXPECT_EQ(AlphaFromStored(c.stored), c.expected) << c.stored;
    const IntRuleCase font[] = {{5, 8}, {0, 8}, {8, 8}, {13, 13}, {40, 40}, {41, 40}, {100, 40}, {-3, 8}};
    for (const auto& c : font) EXPECT_EQ(FontSizeFromStored(c.stored), c.expected) << c.stored;
}

TEST(SettingsRules, TrayIconOutOfRangeBecomesZero) {
    const IntRuleCase cases[] = {{0, 0}, {3, 3}, {4, 0}, {-1, 0}, {100, 0}};
    for (const auto& c : cases) EXPECT_EQ(TrayIconFromStored(c.stored), c.expected) << c.stored;
}

TEST(SettingsRules, IconSizeRangeAndNoOverlap) {
    EXPECT_FALSE(IconSizeAccepted(8));
    EXPECT_FALSE(IconSizeAccepted(15));
    EXPECT_TRUE(IconSizeAccepted(16));
    EXPECT_TRUE(IconSizeAccepted(100));
    EXPECT_TRUE(IconSizeAccepted(128));
    EXPECT_FALSE(IconSizeAccepted(129));
    EXPECT_FALSE(IconSizeAccepted(200));
    EXPECT_TRUE(NoOverlapFromStored(1));
    EXPECT_TRUE(NoOverlapFromStored(-7));
    EXPECT_FALSE(NoOverlapFromStored(0));
}

TEST(SettingsRules, StringsKeepWhatTheirBufferHolds) {
    const std::wstring name(200, L'x');
    EXPECT_EQ(FitToBuffer(name, kFontNameBuffer).size(), 127u);
    EXPECT_EQ(FitToBuffer(std::wstring(259, L'p'), kBgImageBuffer).size(), 259u);
    EXPECT_EQ(FitToBuffer(std::wstring(300, L'p'), kBgImageBuffer).size(), 259u);
    EXPECT_EQ(FitToBuffer(L"", kFontNameBuffer), L"");
}

TEST(SettingsRules, TypedValuesLoseTheBlanksAndQuotesTheNextReadWouldDrop) {
    const struct { std::wstring typed, used; } cases[] = {
        {L"  \"C:\\pics\\a b.png\"  ", L"C:\\pics\\a b.png"}, {L"\t'Segoe UI'\t", L"Segoe UI"},
        {L"\" x \"", L"x"}, {L"\"a\" \"b\"", L"a\" \"b"}, {L"\"half", L"\"half"}, {L"\"'", L"\"'"},
        {L"\"\"", L""}, {L"   ", L""}, {L"\"", L"\""}, {std::wstring(126, L'p') + L" x", std::wstring(126, L'p')}};
    for (const auto& c : cases) EXPECT_EQ(TypedSetting(c.typed, kFontNameBuffer), c.used) << WideToUtf8(c.typed);
}

TEST(CellMetrics, FollowTheIconSizeWithAFloorOf64) {
    struct Case {
        int icon, w, h;
    };
    const Case cases[] = {{16, 64, 68}, {18, 64, 70}, {24, 70, 76}, {32, 78, 84}, {48, 94, 100},
                          {64, 110, 116}, {100, 146, 152}, {128, 174, 180}, {10, 64, 64}};
    for (const auto& c : cases) {
        g_iconSize = c.icon;
        UpdateCellSize();
        EXPECT_EQ(g_cellW, c.w) << c.icon;
        EXPECT_EQ(g_cellH, c.h) << c.icon;
    }
    ResetSettingsToDefaults();
    EXPECT_EQ(g_cellW, 78);
    EXPECT_EQ(g_cellH, 84);
}

TEST(Strings, ExeSiblingPaths) {
    EXPECT_EQ(PathBesideExe(L"C:\\apps\\b\\brindlecot.exe", L"dbg.log"), L"C:\\apps\\b\\dbg.log");
    EXPECT_EQ(PathBesideExe(L"brindlecot.exe", L"brindlecot.ini"), L"brindlecot.exe\\brindlecot.ini");
    EXPECT_EQ(PathBesideExe(L"\\\\srv\\share\\x.exe", L"dbg.log"), L"\\\\srv\\share\\dbg.log");
}

TEST(Strings, Utf8RoundTripsChineseAndAstralText) {
    const std::wstring w = L"SCAN group=[文件夹] \U0001F600 é";
    const std::string u = WideToUtf8(w);
    EXPECT_EQ(u, "SCAN group=[\xE6\x96\x87\xE4\xBB\xB6\xE5\xA4\xB9] \xF0\x9F\x98\x80 \xC3\xA9");
    EXPECT_EQ(Utf8ToWide(u), w);
    EXPECT_EQ(Utf8ToWide("a\xFF" "b"), L"a\uFFFD" L"b");
}

TEST(Strings, LeadingIntegerLikeTheRuntime) {
    struct Case {
        const wchar_t* text;
        int value;
    };
    const Case cases[] = {{L"12abc", 12}, {L"  -7", -7}, {L"+5", 5}, {L"abc", 0}, {L"", 0},
                          {L"100", 100}, {L"99999999999", 2147483647}, {L"-99999999999", -2147483647 - 1}};
    for (const auto& c : cases) EXPECT_EQ(ParseLeadingInt(c.text), c.value) << c.text;
}

TEST(SettingsRules, TypedValuesAreCheckedBeforeAnythingIsStored) {
    const auto fonts = [](const std::wstring& n) { return n == L"SimSun" || n == L"Microsoft YaHei UI"; };
    const auto files = [](const std::wstring& p) { return p == L"C:\\a b.png" ? PictureFile::kDecodes : p == L"C:\\x.txt" ? PictureFile::kUndecodable : PictureFile::kMissing; };
    struct Case { char what; const wchar_t* typed; const wchar_t* stored; const wchar_t* told; } cases[] = {
        {'s', L"12", L"12", L""}, {'s', L" +8 ", L"8", L""}, {'s', L"040", L"40", L""},
        {'s', L"12abc", nullptr, L"12abc"}, {'s', L"abc", nullptr, L"8 到 40"}, {'s', L"100", nullptr, L"100"},
        {'s', L"7", nullptr, L"7"}, {'s', L"-12", nullptr, L"-12"}, {'s', L"99999999999999", nullptr, L"999"},
        {'f', L" \"SimSun\" ", L"SimSun", L""}, {'f', L"NoSuchFont", nullptr, L"NoSuchFont"},
        {'p', L"\"C:\\a b.png\"", L"C:\\a b.png", L""}, {'p', L"C:\\gone.png", nullptr, L"找不到"}, {'p', L"C:\\x.txt", nullptr, L"无法读取"}};
    for (const Case& c : cases) {
        const TypedCheck r = c.what == 's' ? CheckFontSize(c.typed)
                             : c.what == 'f' ? CheckFontName(c.typed, fonts) : CheckPicture(c.typed, files);
        EXPECT_TRUE(r.ok == (c.stored != nullptr) && r.value == (c.stored ? c.stored : L"") && r.message.empty() == r.ok) << c.typed;
        EXPECT_NE(r.message.find(c.told), std::wstring::npos) << c.typed << " told " << r.message.size();
    }
}

} // namespace

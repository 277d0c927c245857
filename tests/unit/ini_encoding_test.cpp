#include <gtest/gtest.h>

#include "settings/ini_encoding.h"

namespace {

std::string Le(const std::u16string& text) {
    std::string bytes;
    for (char16_t u : text) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    return bytes;
}

std::string Be(std::string le) { // the same units with their bytes swapped
    for (size_t i = 0; i + 1 < le.size(); i += 2) std::swap(le[i], le[i + 1]);
    return le;
}

std::u16string Latin1(const std::string& bytes) { // stands in for the platform's code page
    std::u16string units;
    for (char c : bytes) units.push_back(static_cast<unsigned char>(c));
    return units;
}

TEST(IniEncoding, EveryFormBecomesUtf16WithTheMarkOnce) {
    const std::string bom = "\xFF\xFE";
    const std::string names = Le(u"[文件夹]\r\nx=5\r\n");
    const struct { const char* what; std::string bytes; IniEncoding encoding; std::string out; } rows[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBF[\xE6\x96\x87\xE4\xBB\xB6\xE5\xA4\xB9]\r\nx=5\r\n", IniEncoding::Utf8Bom, bom + names},
        {"UTF-8", "[\xE6\x96\x87\xE4\xBB\xB6\xE5\xA4\xB9]\r\nx=5\r\n", IniEncoding::Utf8, bom + names},
        {"UTF-8 beyond 16 bits", "a=\xF0\x9F\x98\x80", IniEncoding::Utf8, bom + Le(u"a=\U0001F600")},
        {"ANSI", "[Caf\xE9]\r\nx=1", IniEncoding::Ansi, bom + Le(u"[Caf\u00E9]\r\nx=1")},
        {"ANSI, a sequence cut at the end", "k=\xE6\x96", IniEncoding::Ansi, bom + Le(u"k=\u00E6\u0096")},
        {"ANSI, a UTF-8 surrogate", "k=\xED\xA0\x80", IniEncoding::Ansi, bom + Le(u"k=\u00ED\u00A0\u0080")},
        {"a mark on ANSI text", "\xEF\xBB\xBFk=\xE9", IniEncoding::Utf8Bom, bom + Le(u"k=\u00E9")},
        {"UTF-16LE without mark", names, IniEncoding::Utf16, bom + names},
        {"UTF-16LE without mark, odd length", names + "x", IniEncoding::Utf16, bom + names},
        {"UTF-16BE with mark, odd length", "\xFE\xFF" + Be(names) + "x", IniEncoding::Utf16BeBom, bom + names},
        {"already right", bom + names, IniEncoding::Utf16Bom, ""},
        {"empty", "", IniEncoding::Empty, ""},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(DetectIniEncoding(r.bytes), r.encoding) << r.what;
        EXPECT_EQ(IniAsUtf16(r.bytes, r.encoding, Latin1), r.out) << r.what;
    }
}

} // namespace

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "e2e/harness.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::vector<std::string> LogLines(const fs::path& log) {
    std::ifstream in(log, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (lines.empty() && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        lines.push_back(line);
    }
    return lines;
}

// UTF-8 text (ASCII and Chinese only) to a UTF-16LE file with its byte-order mark.
void WriteUtf16Ini(const fs::path& p, const std::u16string& text) {
    std::ofstream out(p, std::ios::binary);
    out << "\xFF\xFE";
    for (char16_t c : text)
        out << static_cast<char>(c & 0xFF) << static_cast<char>(c >> 8);
}

TEST(InventoryE2E, StartUpLoadsTheListsAndScansTheDesktop) {
    e2e::Scenario s;
    std::ofstream(s.Desk() / "a.txt") << "a";
    std::ofstream(s.Desk() / "b.zip") << "b";
    std::ofstream(s.Desk() / "[Draft] plan.docx") << "d";
    fs::create_directory(s.Desk() / "项目");
    WriteUtf16Ini(s.Ini(), u"[hiddenBoxes]\r\n压缩包=0\r\n[manualGroups]\r\n~%[Draft] plan.docx=工作\r\n"
                           u"[customBoxes]\r\n空盒=1\r\n");

    s.Start();
    auto done = [&] {
        for (const auto& l : LogLines(s.Log()))
            if (l.rfind("SCAN after filter", 0) == 0) return true;
        return false;
    };
    ASSERT_TRUE(e2e::WaitFor(done, 30s)) << "the scan never logged";
    EXPECT_EQ(s.Quit(20s), 0);

    const std::string ini = e2e::WinPath(s.Ini());
    EXPECT_EQ(LogLines(s.Log()),
              (std::vector<std::string>{"LoadHidden start, ini=" + ini, "LoadHidden key=[压缩包]",
                                        "LoadHidden total=1", "SCAN group=[文件夹]", "SCAN group=[文档]",
                                        "SCAN group=[压缩包]", "SCAN group=[工作]", "SCAN hidden=[压缩包]",
                                        "SCAN after filter: groups=3"}));
    for (const char* name : {"a.txt", "b.zip", "[Draft] plan.docx", "项目"})
        EXPECT_TRUE(fs::exists(s.Desk() / name)) << name << ": start-up moves nothing";
}

} // namespace

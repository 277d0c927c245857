#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "base/strutil.h"
#include "e2e/harness.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

using e2e::ReadFile;
using e2e::Touch;

std::wstring ReadUtf16(const fs::path& p) {
    const std::string b = ReadFile(p);
    std::wstring w;
    for (size_t i = 2; i + 1 < b.size(); i += 2)
        w += static_cast<wchar_t>(static_cast<unsigned char>(b[i]) | (static_cast<unsigned char>(b[i + 1]) << 8));
    return w;
}

std::map<std::string, e2e::WindowInfo> ByTitle(const std::vector<e2e::WindowInfo>& ws) {
    std::map<std::string, e2e::WindowInfo> m;
    for (const auto& w : ws) m[w.title] = w;
    return m;
}

const char* const kKeys[] = {"文件夹", "快捷方式", "图片", "文档", "压缩包", "其他"};

void SeedOnePerGroup(const fs::path& desk) {
    fs::create_directory(desk / "Projects");
    Touch(desk / "Browser.lnk");
    Touch(desk / "照片.png");
    Touch(desk / "report.txt");
    Touch(desk / "backup.zip");
    Touch(desk / "data.bin");
    Touch(desk / "desktop.ini");
}

TEST(DesktopE2E, FirstRunShowsOneBoxPerGroupStackedFromTheTopRightAndKeepsThemNextTime) {
    e2e::Scenario s;
    SeedOnePerGroup(s.Desk());
    s.Start();
    ASSERT_TRUE(e2e::WaitFor([&] { return s.Boxes().size() == 6; }, 30s)) << "six boxes expected";
    // Positions are written while the boxes are arranged; wait until the last one is there.
    ASSERT_TRUE(e2e::WaitFor([&] { return ReadUtf16(s.Ini()).find(L"[其他]") != std::wstring::npos; }, 10s));
    auto boxes = ByTitle(s.Boxes());
    int y = 0;
    for (const char* key : kKeys) {
        ASSERT_TRUE(boxes.count(key)) << key;
        const auto& b = boxes[key];
        EXPECT_TRUE(b.visible) << key;
        EXPECT_EQ(b.w, 324) << key;
        EXPECT_EQ(b.h, 126) << key;
        EXPECT_EQ(b.x, 1600 - 324) << key << ": one right-aligned column on a 1600-pixel screen";
        EXPECT_EQ(b.y, y) << key;
        y += 126;
    }
    EXPECT_EQ(s.Quit(20s), 0);

    // The INI file is UTF-16 with the positions under the Chinese group keys; the log is UTF-8.
    const std::string iniBytes = ReadFile(s.Ini());
    ASSERT_GE(iniBytes.size(), 2u);
    EXPECT_EQ(iniBytes.substr(0, 2), "\xFF\xFE");
    const std::wstring ini = ReadUtf16(s.Ini());
    EXPECT_NE(ini.find(L"[文件夹]\r\nx=1276\r\ny=0"), std::wstring::npos) << WideToUtf8(ini);
    const std::string log = ReadFile(s.Log());
    EXPECT_NE(log.find("SCAN group=[文件夹]"), std::string::npos);
    EXPECT_NE(log.find("SCAN after filter: groups=6"), std::string::npos);
    EXPECT_FALSE(fs::exists(s.AppDir().parent_path() / "dbg.log")) << "the log lives beside the exe, not in the cwd";
    EXPECT_TRUE(fs::exists(s.Desk() / "desktop.ini")) << "start-up moves nothing";

    // Second start: the INI exists, so no arrangement; every box comes back where it was.
    Touch(s.Desk() / "second.txt");
    s.Start();
    ASSERT_TRUE(e2e::WaitFor([&] { return s.Boxes().size() == 6; }, 30s));
    boxes = ByTitle(s.Boxes());
    EXPECT_EQ(boxes["文件夹"].x, 1276);
    EXPECT_EQ(boxes["文件夹"].y, 0);
    EXPECT_EQ(boxes["文档"].y, 3 * 126);
    EXPECT_EQ(boxes["文档"].h, 126) << "two documents still fit one row";
    EXPECT_EQ(s.Quit(20s), 0);
}

} // namespace

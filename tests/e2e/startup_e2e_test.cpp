#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "e2e/harness.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

using e2e::Touch;

// The move journal beside the INI file (UTF-16LE with its mark): "temporary, from, to" per line.
void WriteJournal(const fs::path& file, const std::string& asciiLine) {
    std::string bytes = "\xFF\xFE";
    for (char c : asciiLine + "\n") bytes += {c, '\0'};
    Touch(file, bytes);
}

TEST(StartupE2E, StartsCreatesTheHiddenStoreAndQuitsWithZero) {
    e2e::Scenario s;
    Touch(s.Desk() / "notes.txt");
    Touch(s.Desk() / "照片.png");
    fs::create_directory(s.Desk() / "项目");
    Touch(s.Desk() / "~brindlecot-move-0000abcd.tmp", "a copy whose move was cut short");
    Touch(s.Desk() / "~brindlecot-move-12345678.tmp", "the user's own file");
    const std::string desk = e2e::WinPath(s.Desk());
    WriteJournal(s.AppDir() / "brindlecot.moves",
                 desk + "\\~brindlecot-move-0000abcd.tmp\tZ:\\elsewhere\\a.txt\t" + desk + "\\a.txt");

    s.Start();
    ASSERT_TRUE(e2e::WaitFor([&] { return s.MainWindowExists(); }, 30s)) << "main window never appeared";
    EXPECT_TRUE(fs::is_directory(s.Desk() / ".hidden"));
    const auto attrib = s.WinTool({"attrib", e2e::WinPath(s.Desk() / ".hidden")});
    ASSERT_EQ(attrib.status, 0);
    EXPECT_EQ(std::stoul(attrib.out), 0x10u | 0x2u | 0x4u) << "directory + hidden + system, nothing else";
    EXPECT_TRUE(s.Running()) << "the main loop keeps running";
    EXPECT_EQ(s.Quit(20s), 0);
    EXPECT_FALSE(fs::exists(s.Desk() / "~brindlecot-move-0000abcd.tmp"));
    EXPECT_NE(e2e::ReadFile(s.Log()).find("MOVE unfinished copy removed"), std::string::npos);
    // Desktop entries are untouched by start-up, whatever their names, and shown in a second start.
    s.Start();
    EXPECT_TRUE(e2e::WaitFor([&] { return s.Boxes().size() == 4; }, 30s)) << "folders, pictures, documents, others";
    EXPECT_EQ(s.Quit(20s), 0);
    EXPECT_EQ(e2e::ReadFile(s.Desk() / "~brindlecot-move-12345678.tmp"), "the user's own file");
    EXPECT_TRUE(fs::exists(s.Desk() / "notes.txt"));
    EXPECT_TRUE(fs::exists(s.Desk() / "照片.png"));
}

TEST(StartupE2E, AUserFileNamedLikeTheStoreIsLeftAloneAndEveryBoxIsWithinReach) {
    e2e::Scenario s;
    Touch(s.Desk() / ".hidden", "the user's own bytes");
    Touch(s.Desk() / "notes.txt");
    std::string custom = "[customBoxes]\r\n"; // ten more boxes: default places run off the screen
    for (int i = 0; i < 10; ++i)
        custom += "box" + std::to_string(i) + "=1\r\n";
    Touch(s.Ini(), custom);
    const auto before = s.WinTool({"attrib", e2e::WinPath(s.Desk() / ".hidden")});
    ASSERT_EQ(before.status, 0);
    s.Start();
    const auto reachable = [&] {
        const auto boxes = s.Boxes();
        return boxes.size() == 11 && std::all_of(boxes.begin(), boxes.end(), [](const e2e::WindowInfo& b) {
                   return b.x + b.w > 0 && b.x < 1600 && b.y >= 0 && b.y < 900;
               });
    };
    ASSERT_TRUE(e2e::WaitFor(reachable, 30s)) << "notes.txt's box and ten more, each within reach";
    EXPECT_EQ(s.WinTool({"attrib", e2e::WinPath(s.Desk() / ".hidden")}).out, before.out);
    EXPECT_EQ(e2e::ReadFile(s.Desk() / ".hidden"), "the user's own bytes");
    EXPECT_EQ(s.Quit(20s), 0);
    EXPECT_TRUE(fs::exists(s.Desk() / "notes.txt")) << "nothing moved";
    EXPECT_NE(e2e::ReadFile(s.Log()).find("is not a folder"), std::string::npos);
}

} // namespace

namespace {
// Start with Windows from a program folder deeper than a path buffer: the Run value holds the
// whole path. The program's side runs in a copy of the Windows tests, which sets the value.
TEST(StartupE2E, RunValueHoldsAProgramPathLongerThanAPathBuffer) {
    e2e::Scenario s;
    fs::path deep = s.AppDir();
    while (e2e::WinPath(deep).size() < 300) deep /= std::string(60, 'd');
    fs::create_directories(deep);
    fs::copy_file(fs::path(std::getenv("BC_WIN_BUILD")) / "win_tests.exe", deep / "win_tests.exe");
    const std::string exe = e2e::WinPath(deep / "win_tests.exe");
    EXPECT_EQ(e2e::Run({"env", "BC_WRITE_RUN_VALUE=1", "wine", exe, "--gtest_filter=AutoStart.WrittenBy*"}).status, 0);
    const std::string key = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const auto value = e2e::Run({"wine", "reg", "query", key, "/v", "Brindlecot"});
    e2e::Run({"wine", "reg", "delete", key, "/v", "Brindlecot", "/f"});
    EXPECT_NE(value.out.find("\"" + exe + "\""), std::string::npos) << value.out;
}

} // namespace

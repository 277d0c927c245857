// The running program follows its desktop folder, and a second start hands over to it.
#include <gtest/gtest.h>

#include <set>

#include "e2e/harness.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(LivingDesktopE2E, FilesMadeRenamedAndDeletedInTheDesktopFolderChangeTheBoxes) {
    e2e::Scenario s;
    e2e::Touch(s.Desk() / "notes.txt");
    s.Start();
    const auto boxes = [&](std::set<std::string> want) {
        return e2e::WaitFor([&] {
            std::set<std::string> titles;
            for (const auto& b : s.Boxes()) titles.insert(b.title);
            return titles == want;
        }, 20s);
    };
    ASSERT_TRUE(boxes({"文档"}));
    e2e::Touch(s.Desk() / "new.zip");
    EXPECT_TRUE(boxes({"文档", "压缩包"})) << "a file written while the program runs";
    fs::rename(s.Desk() / "new.zip", s.Desk() / "new.png");
    EXPECT_TRUE(boxes({"文档", "图片"})) << "renamed into another group";
    fs::remove(s.Desk() / "new.png");
    EXPECT_TRUE(boxes({"文档"})) << "deleted";
    fs::create_directory(s.Desk() / ".hidden" / "stored");
    EXPECT_TRUE(boxes({"文档", "文件夹"})) << "a change in the hidden store";
    EXPECT_EQ(s.Quit(20s), 0);
}

// As folder redirection and sync tools do: the desktop folder renamed and another one made in its
// place, the old one back, the desktop set to another folder.
TEST(LivingDesktopE2E, TheBoxesFollowTheDesktopFolderItselfAndCollectAllWorksThere) {
    e2e::Scenario s;
    e2e::Touch(s.Desk() / "notes.txt");
    s.Start();
    const auto boxes = [&](std::set<std::string> want) {
        return e2e::WaitFor([&] {
            std::set<std::string> titles;
            for (const auto& b : s.Boxes()) titles.insert(b.title);
            return titles == want;
        }, 20s);
    };
    ASSERT_TRUE(boxes({"文档"}));
    const fs::path old = s.Desk().parent_path() / "desk-old";
    fs::rename(s.Desk(), old);
    EXPECT_TRUE(boxes({})) << "no desktop folder: no box";
    fs::create_directory(s.Desk());
    e2e::Touch(s.Desk() / "pack.zip");
    EXPECT_TRUE(boxes({"压缩包"})) << "the new folder";
    ASSERT_TRUE(s.ChooseFromTray("0x28", 3)); // Down x3: "收纳全部桌面图标到盒子"
    EXPECT_TRUE(e2e::WaitFor([&] { return fs::exists(s.Desk() / ".hidden" / "pack.zip"); }, 20s)) << "collected there";
    EXPECT_TRUE(fs::exists(old / "notes.txt")) << "the old folder is left alone";
    fs::rename(s.Desk(), s.Desk().parent_path() / "desk-new");
    fs::rename(old, s.Desk());
    EXPECT_TRUE(boxes({"文档"})) << "the old folder back";
    const fs::path other = s.Desk().parent_path() / "elsewhere";
    fs::create_directory(other);
    e2e::Touch(other / "photo.png");
    s.UseDesktop(e2e::WinPath(other));
    EXPECT_TRUE(boxes({"图片"})) << "the desktop set to another folder";
    EXPECT_TRUE(fs::is_directory(other / ".hidden")) << "with a store of its own";
    EXPECT_EQ(s.Quit(20s), 0);
}

TEST(LivingDesktopE2E, ASecondStartLeavesOneProgramAndChangesNothing) {
    e2e::Scenario s;
    e2e::Touch(s.Desk() / "notes.txt");
    e2e::Touch(s.Desk() / "pack.zip");
    s.Start();
    ASSERT_TRUE(e2e::WaitFor([&] { return s.Boxes().size() == 2 && fs::exists(s.Ini()); }, 30s));
    std::string ini, log; // once start-up and the echo of its own changes have settled for a second
    int unchanged = 0;
    ASSERT_TRUE(e2e::WaitFor([&] {
        const bool same = e2e::ReadFile(s.Ini()) == ini && e2e::ReadFile(s.Log()) == log;
        ini = e2e::ReadFile(s.Ini()), log = e2e::ReadFile(s.Log());
        return (unchanged = same ? unchanged + 1 : 0) >= 10;
    }, 20s));
    const auto second = e2e::Run({"wine", (s.AppDir() / "brindlecot.exe").string()});
    EXPECT_EQ(second.status, 0);
    EXPECT_TRUE(s.Windows("BrindlecotMain").size() == 1 && s.Boxes().size() == 2 && s.Running());
    EXPECT_TRUE(e2e::ReadFile(s.Ini()) == ini && e2e::ReadFile(s.Log()) == log) << "no line written";
    EXPECT_TRUE(fs::exists(s.Desk() / "notes.txt") && fs::exists(s.Desk() / "pack.zip"));
    EXPECT_EQ(s.Quit(20s), 0);
}

} // namespace

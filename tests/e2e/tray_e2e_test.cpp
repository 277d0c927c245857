// The tray menu drives the real program: collect everything into boxes, restore everything, exit.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "e2e/harness.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::map<std::string, std::string> Files(const fs::path& root) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string rel = fs::relative(e.path(), root).string();
        if (rel.rfind(".hidden", 0) == 0) continue;
        out[rel] = e.is_directory() ? "<dir>" : e2e::ReadFile(e.path());
    }
    return out;
}

void Choose(e2e::Scenario& s, const std::string& key, int times) {
    ASSERT_TRUE(s.ChooseFromTray(key, times)) << "the tray menu did not open";
}

TEST(TrayE2E, CollectRestoreAndExitFromTheTrayMenu) {
    e2e::Scenario s;
    for (const char* n : {"年度报告.docx", "照片.png"})
        e2e::Touch(s.Desk() / n, n + std::string(" \x01\x02"));
    e2e::Touch(s.Desk() / "a.txt", std::string(5000, 'a'));
    fs::create_directory(s.Desk() / "项目");
    e2e::Touch(s.Desk() / "项目" / "inner.txt", "inner");
    const auto before = Files(s.Desk());
    s.Start();
    ASSERT_TRUE(e2e::WaitFor([&] { return s.Boxes().size() >= 3; }, 30s)) << "boxes did not appear";
    Choose(s, "0x28", 3); // Down x3: "收纳全部桌面图标到盒子"
    ASSERT_TRUE(e2e::WaitFor([&] { return Files(s.Desk()).empty(); }, 30s)) << "not everything was collected";
    EXPECT_TRUE(fs::exists(s.Desk() / ".hidden" / "项目" / "inner.txt"));
    Choose(s, "0x28", 4); // "还原全部图标到桌面"
    ASSERT_TRUE(e2e::WaitFor([&] { return Files(s.Desk()) == before; }, 30s)) << "not everything came back";
    Choose(s, "0x26", 1); // Up from nothing selects the last item: "退出"
    ASSERT_TRUE(e2e::WaitFor([&] { return !s.Running(); }, 20s)) << "the program did not end";
    EXPECT_EQ(s.Quit(1s), 0);
    EXPECT_EQ(Files(s.Desk()), before) << "every file is back, byte for byte";
}

// An executable folder that cannot be written (a read-only file system, as a copy under Program
// Files is for a standard user): the decisions go to the per-user INI file, with the log beside it.
TEST(TrayE2E, ReadOnlyProgramFolderUsesThePerUserFile) {
    e2e::Scenario s;
    e2e::Touch(s.Desk() / "a.txt", "a");
    const fs::path exe = s.AppDir().parent_path() / "brindlecot.exe";
    fs::rename(s.AppDir() / "brindlecot.exe", exe);
    if (geteuid() != 0 || mount("none", s.AppDir().c_str(), "tmpfs", 0, nullptr) != 0)
        GTEST_SKIP() << "needs root to mount a read-only folder";
    fs::copy_file(exe, s.AppDir() / "brindlecot.exe");
    ASSERT_EQ(mount("none", s.AppDir().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    fs::path user;
    for (const auto& e : fs::directory_iterator(fs::path(getenv("WINEPREFIX")) / "drive_c/users"))
        if (e.path().filename() != "Public") user = e.path() / "AppData/Roaming/Brindlecot";
    fs::remove_all(user);
    s.Start();
    const bool written = e2e::WaitFor( // the first run arranges the boxes and writes their positions
        [&] { return e2e::ReadFile(user / "brindlecot.ini").find(std::string("x\0=\0", 4)) != std::string::npos; },
        30s);
    const int code = s.Quit(20s);
    umount(s.AppDir().c_str());
    EXPECT_TRUE(written && fs::exists(user / "dbg.log")) << "no positions in the per-user INI file, or no log";
    EXPECT_EQ(code, 0);
    fs::remove_all(user);
}

} // namespace

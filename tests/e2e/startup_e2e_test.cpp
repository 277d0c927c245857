#include <gtest/gtest.h>

#include <fstream>

#include "e2e/harness.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

using e2e::Touch;

TEST(StartupE2E, StartsCreatesTheHiddenStoreAndQuitsWithZero) {
    e2e::Scenario s;
    Touch(s.Desk() / "notes.txt");
    Touch(s.Desk() / "照片.png");
    fs::create_directory(s.Desk() / "项目");

    s.Start();
    ASSERT_TRUE(e2e::WaitFor([&] { return s.MainWindowExists(); }, 30s)) << "main window never appeared";
    EXPECT_TRUE(fs::is_directory(s.Desk() / ".hidden"));
    const auto attrib = s.WinTool({"attrib", e2e::WinPath(s.Desk() / ".hidden")});
    ASSERT_EQ(attrib.status, 0);
    EXPECT_EQ(std::stoul(attrib.out), 0x10u | 0x2u | 0x4u) << "directory + hidden + system, nothing else";
    EXPECT_TRUE(s.Running()) << "the main loop keeps running";
    EXPECT_EQ(s.Quit(20s), 0);
    // Desktop entries are untouched by start-up.
    EXPECT_TRUE(fs::exists(s.Desk() / "notes.txt"));
    EXPECT_TRUE(fs::exists(s.Desk() / "照片.png"));
}

} // namespace

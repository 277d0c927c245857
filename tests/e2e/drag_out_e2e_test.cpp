// Entries dragged with the real mouse out of a box onto another program's window (a probe with a drop
// target, in a process of its own) arrive there as their files: a copy leaves the entry in its box, a
// move takes it away; nothing is recorded for them. Brought back over the desktop before the release,
// the drag is the box's own again and frees the entry.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "e2e/harness.h"

namespace {
using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(DragOutE2E, EntriesDraggedOntoAnotherProgramArriveThereAsTheirFiles) {
    e2e::Scenario s;
    for (const char* name : {"copied.txt", "moved.txt", "zback.txt"}) e2e::Touch(s.Desk() / name);
    s.Start();
    // The box's place is written once start-up has arranged it (the file itself is there before).
    const std::string placed("[\0\x87\x65\x63\x68]\0", 8); // "[文档]"
    ASSERT_TRUE(e2e::WaitFor([&] { return s.Boxes().size() == 1 && e2e::ReadFile(s.Ini()).find(placed) != std::string::npos; }, 30s));
    const e2e::WindowInfo box = s.Boxes()[0];
    const fs::path drop = s.AppDir().parent_path() / "drop";
    fs::create_directory(drop);
    const auto n = [](int v) { return std::to_string(v); };
    // The first cell's centre is at (42, 80) of a box, the second one cell width to its right.
    const struct { const char* name; const char* mode; int cell; bool back; } rows[] = {
        {"copied.txt", "copy", 0, false}, {"moved.txt", "move", 1, false}, {"zback.txt", "copy", 1, true}};
    for (const auto& r : rows) {
        const fs::path out = drop / (std::string("out-") + r.name);
        const std::string exe = (fs::path(std::getenv("BC_WIN_BUILD")) / "drop_probe.exe").string();
        std::thread probe([&] { e2e::Run({"wine", exe, e2e::WinPath(out), r.mode, "200", "400"}); });
        ASSERT_TRUE(e2e::WaitFor([&] { return !s.Windows("BcDropProbe").empty(); }, 20s));
        const int x = box.x + 42 + 78 * r.cell, y = box.y + 80;
        e2e::Run({"xdotool", "mousemove", n(x), n(y), "sleep", "0.3", "mousedown", "1", "sleep", "0.3", "mousemove",
                  n(x - 8), n(y + 4), "sleep", "0.3", "mousemove", n(400), n(500), "sleep", "0.5", "mousemove", n(420),
                  n(520), "sleep", "0.5", "mousemove", n(r.back ? 900 : 420), n(r.back ? 750 : 520), "sleep", "0.5",
                  "mousemove", n(r.back ? 905 : 420), n(r.back ? 755 : 520), "sleep", "0.5", "mouseup", "1"});
        const bool told = e2e::WaitFor([&] { return e2e::ReadFile(out).size() > 2; }, r.back ? 3s : 20s);
        if (!told) s.WinTool({"post", "BcDropProbe", "0x113"}); // WM_TIMER: the probe ends
        probe.join();
        EXPECT_TRUE(fs::exists(out.string() + ".enter")) << r.name << ": the drag reached the probe";
        ASSERT_EQ(told, !r.back) << r.name << ": a drop on the probe";
        EXPECT_EQ(fs::exists(drop / r.name), !r.back) << r.name;
        EXPECT_EQ(fs::exists(s.Desk() / r.name) || fs::exists(s.Desk() / ".hidden" / r.name), r.mode[0] == 'c') << r.name;
    }
    const std::string freed("z\0b\0a\0c\0k\0.\0t\0x\0t\0=\0" "1\0", 20); // freed, as a drag of ours frees
    EXPECT_TRUE(e2e::WaitFor([&] { return e2e::ReadFile(s.Ini()).find(freed) != std::string::npos; }, 5s));
    EXPECT_EQ(s.Quit(20s), 0);
}

} // namespace
// An entry dragged with the real mouse from one box into another, then out onto the bare desktop;
// after a restart the file, the INI file and the boxes say the same.
#include <gtest/gtest.h>

#include <map>

#include "e2e/harness.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::wstring IniText(const fs::path& p) {
    const std::string b = e2e::ReadFile(p);
    std::wstring w;
    for (size_t i = 2; i + 1 < b.size(); i += 2)
        w += static_cast<wchar_t>(static_cast<unsigned char>(b[i]) | (static_cast<unsigned char>(b[i + 1]) << 8));
    return w;
}
bool IniHas(e2e::Scenario& s, const std::wstring& text) {
    return IniText(s.Ini()).find(text) != std::wstring::npos;
}

std::map<std::string, e2e::WindowInfo> BoxesByTitle(e2e::Scenario& s) {
    std::map<std::string, e2e::WindowInfo> m;
    for (const auto& w : s.Boxes()) m[w.title] = w;
    return m;
}

void MouseDrag(int x, int y, int tx, int ty) {
    const auto n = [](int v) { return std::to_string(v); };
    e2e::Run({"xdotool", "mousemove", n(x), n(y), "sleep", "0.3", "mousedown", "1", "sleep", "0.3", "mousemove",
              n(x + 8), n(y + 4), "sleep", "0.2", "mousemove", n((x + tx) / 2), n((y + ty) / 2), "sleep", "0.2",
              "mousemove", n(tx), n(ty), "sleep", "0.3", "mouseup", "1"});
}

TEST(DragE2E, AnEntryDraggedIntoAnotherBoxAndOntoTheDesktopStaysThereAfterARestart) {
    e2e::Scenario s;
    e2e::Touch(s.Desk() / "报告.txt");
    e2e::Touch(s.Desk() / "backup.zip");
    const fs::path stored = s.Desk() / ".hidden" / "报告.txt";
    s.Start();
    ASSERT_TRUE(e2e::WaitFor([&] { return IniHas(s, L"[压缩包]"); }, 30s));
    auto boxes = BoxesByTitle(s);
    ASSERT_TRUE(boxes.count("文档") && boxes.count("压缩包"));
    const auto doc = boxes["文档"];
    // Moved by its title through the system move loop: written where it landed, still shown.
    MouseDrag(boxes["压缩包"].x + 150, boxes["压缩包"].y + 15, 1000, 400);
    ASSERT_TRUE(e2e::WaitFor([&] { return BoxesByTitle(s)["压缩包"].y > 300; }, 10s));
    const auto zip = BoxesByTitle(s)["压缩包"];
    EXPECT_TRUE(zip.visible);
    const std::wstring place = L"[压缩包]\r\nx=" + std::to_wstring(zip.x) + L"\r\ny=" + std::to_wstring(zip.y);
    EXPECT_TRUE(e2e::WaitFor([&] { return IniHas(s, place); }, 5s)) << zip.x << "," << zip.y;
    // The first cell's centre is at (42, 80) of a box; the drop lands in the other box's body.
    MouseDrag(doc.x + 42, doc.y + 80, zip.x + 200, zip.y + 70);
    ASSERT_TRUE(e2e::WaitFor([&] { return fs::exists(stored) && s.Boxes().size() == 1; }, 20s))
        << "moved into the store; the emptied box is gone";
    EXPECT_TRUE(IniHas(s, L"报告.txt=压缩包"));
    // Now the second cell of the archive box (desktop entries first, then the store's).
    const auto zip2 = BoxesByTitle(s)["压缩包"];
    EXPECT_EQ(zip2.x, zip.x) << "the box keeps its place through the rebuild";
    MouseDrag(zip2.x + 120, zip2.y + 80, 300, 600);
    ASSERT_TRUE(e2e::WaitFor([&] { return fs::exists(s.Desk() / "报告.txt") && !fs::exists(stored); }, 20s));
    EXPECT_TRUE(e2e::WaitFor([&] { return IniHas(s, L"[freedItems]\r\n报告.txt=1"); }, 5s));
    EXPECT_EQ(s.Quit(20s), 0);
    s.Start();
    ASSERT_TRUE(e2e::WaitFor([&] { return s.Boxes().size() == 1; }, 30s));
    EXPECT_TRUE(BoxesByTitle(s).count("压缩包")) << "the freed entry shows in no box";
    EXPECT_TRUE(fs::exists(s.Desk() / "报告.txt") && fs::exists(s.Desk() / "backup.zip"));
    EXPECT_EQ(s.Quit(20s), 0);
    EXPECT_TRUE(IniHas(s, L"[freedItems]\r\n报告.txt=1"));
    EXPECT_TRUE(IniHas(s, L"报告.txt=压缩包")) << "the manual choice stays as it was";
}

} // namespace

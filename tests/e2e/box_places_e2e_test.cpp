// Boxes stay where they are while the desktop folder changes under the running program.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <tuple>

#include "e2e/harness.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(BoxPlacesE2E, A100FilesAddedWhileRunningMoveAndResizeNoBox) {
    e2e::Scenario s;
    for (int i = 0; i < 6; ++i) e2e::Touch(s.Desk() / ("old " + std::to_string(i) + (i < 3 ? ".txt" : ".zip")));
    e2e::Touch(s.Desk() / "photo.png");
    s.Start();
    using Places = std::map<std::string, std::tuple<int, int, int, int>>;
    const auto places = [&](Places p = {}) {
        for (const auto& b : s.Boxes()) p[b.title] = {b.x, b.y, b.w, b.h};
        return p;
    };
    // Settled: the same places, INI and log for a second in a row.
    const auto settled = [&](size_t boxes) {
        Places last;
        std::string ini, log;
        int same = 0;
        return e2e::WaitFor([&] {
            const Places now = places();
            const bool still = now == last && e2e::ReadFile(s.Ini()) == ini && e2e::ReadFile(s.Log()) == log;
            last = now, ini = e2e::ReadFile(s.Ini()), log = e2e::ReadFile(s.Log());
            same = still && now.size() == boxes ? same + 1 : 0;
            return same >= 10;
        }, 40s);
    };
    ASSERT_TRUE(settled(3));
    const Places before = places();

    // 100 files into the three groups (文档 grows from 3 to 63 entries), then one of a new group.
    for (int i = 0; i < 100; ++i) e2e::Touch(s.Desk() / ("added " + std::to_string(i) + (i % 5 < 3 ? ".txt" : i % 5 < 4 ? ".zip" : ".png")));
    e2e::Touch(s.Desk() / "tool.url", "[InternetShortcut]\r\nURL=about:blank\r\n");
    ASSERT_TRUE(settled(4)) << "the new file's box never settled";
    const Places after = places();
    const auto& [x, y, w, h] = after.at("快捷方式");
    for (const auto& [title, place] : before) {
        EXPECT_TRUE(after.count(title) && after.at(title) == place) << title << " moved or changed its size";
        const auto& [ox, oy, ow, oh] = place;
        EXPECT_FALSE(x < ox + ow && ox < x + w && y < oy + oh && oy < y + h) << "the new box lies over " << title;
    }
    EXPECT_EQ(s.Quit(20s), 0);
}

// A box the user left low in the bottom-right corner, only its title band on the screen, starts there.
TEST(BoxPlacesE2E, AStoredPlaceWithTheTitleBandOnTheScreenIsWhereTheBoxStarts) {
    e2e::Scenario s;
    e2e::Touch(s.Desk() / "a.txt");
    e2e::Touch(s.Desk() / "backup.zip");
    std::ofstream ini(s.Ini(), std::ios::binary);
    ini << "\xFF\xFE";
    for (char16_t c : std::u16string(u"[压缩包]\r\nx=1276\r\ny=870\r\n[文档]\r\nx=40\r\ny=40\r\n"))
        ini << static_cast<char>(c & 0xFF) << static_cast<char>(c >> 8);
    ini.close();
    s.Start();
    ASSERT_TRUE(e2e::WaitFor([&] { return s.Boxes().size() == 2; }, 30s));
    for (const auto& b : s.Boxes()) {
        const bool low = b.title == "压缩包";
        EXPECT_EQ(std::make_pair(b.x, b.y), low ? std::make_pair(1276, 870) : std::make_pair(40, 40)) << b.title;
    }
    EXPECT_EQ(s.Quit(20s), 0);
}

} // namespace

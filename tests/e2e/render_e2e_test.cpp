// Boxes are visible where composition is missing (as under Wine): the program starts on a seeded
// desktop, and a screenshot shows each box window with its blue title bar, its body and title text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "e2e/harness.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int kScreenW = 1600, kScreenH = 900; // tools/test.sh runs Xvfb at 1600x900x24

using Win = e2e::WindowInfo;

struct Shot {
    std::vector<unsigned char> rgb;
    bool ok() const { return rgb.size() == static_cast<size_t>(kScreenW) * kScreenH * 3; }
    void px(int x, int y, int* r, int* g, int* b) const {
        const size_t o = (static_cast<size_t>(y) * kScreenW + x) * 3;
        *r = rgb[o];
        *g = rgb[o + 1];
        *b = rgb[o + 2];
    }
};

Shot ReadShot(const fs::path& png) {
    const fs::path raw = png.string() + ".rgb";
    e2e::Run({"convert", png.string(), "-depth", "8", "rgb:" + raw.string()});
    std::ifstream in(raw, std::ios::binary);
    Shot s;
    s.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return s;
}

TEST(RenderE2E, BoxesAreVisibleWithoutComposition) {
    e2e::Scenario s;
    std::ofstream(s.Desk() / "年度报告.docx") << "x";
    std::ofstream(s.Desk() / "会议纪要.txt") << "x";
    std::ofstream(s.Desk() / "照片.png") << "x";
    fs::create_directory(s.Desk() / "项目资料");

    s.Start();
    ASSERT_TRUE(e2e::WaitFor([&] { return s.MainWindowExists(); }, 30s)) << "main window never appeared";
    std::vector<Win> boxes;
    ASSERT_TRUE(e2e::WaitFor(
        [&] {
            boxes = s.Boxes();
            int visible = 0;
            for (const Win& w : boxes) visible += w.visible ? 1 : 0;
            return visible >= 3; // folders, pictures, documents
        },
        30s))
        << "box windows did not appear";

    const fs::path png = s.AppDir() / "boxes.png";
    Shot shot;
    int good = 0;
    // Poll until every box shows its blue title bar (the first paints may still be on their way).
    e2e::WaitFor(
        [&] {
            boxes = s.Boxes(); // the first run arranges the boxes right after showing them
            s.Screenshot(png);
            shot = ReadShot(png);
            if (!shot.ok()) return false;
            good = 0;
            for (const Win& w : boxes) {
                if (!w.visible || w.x < 0 || w.y < 0 || w.x + w.w > kScreenW || w.y + w.h > kScreenH) continue;
                int r, g, b;
                shot.px(w.x + w.w - 20, w.y + 10, &r, &g, &b);
                if (b > r + 40) ++good;
            }
            return good >= 3;
        },
        20s);
    if (const char* keep = std::getenv("BC_E2E_SHOTS")) fs::copy_file(png, fs::path(keep) / "render_e2e.png", fs::copy_options::overwrite_existing);
    ASSERT_TRUE(shot.ok()) << "no screenshot";
    EXPECT_GE(good, 3) << "title bars of the default skin on the screen";
    for (const Win& w : boxes) {
        if (!w.visible || w.x < 0 || w.y < 0 || w.x + w.w > kScreenW || w.y + w.h > kScreenH) continue;
        int br, bg, bb, r, g, b;
        shot.px(w.x + w.w - 20, w.y + 10, &br, &bg, &bb);
        shot.px(w.x + w.w - 20, w.y + w.h - 6, &r, &g, &b);
        EXPECT_NE(b, bb) << "body below the bar at " << w.x << "," << w.y;
        int light = 0; // title text: pixels far lighter than the bar
        for (int y = w.y + 5; y < w.y + 30; ++y)
            for (int x = w.x + 8; x < w.x + 100 && x < kScreenW; ++x) {
                shot.px(x, y, &r, &g, &b);
                if (r > br + 60) ++light;
            }
        EXPECT_GT(light, 10) << "title text of the box at " << w.x << "," << w.y;
    }
    EXPECT_EQ(s.Quit(20s), 0);
}

} // namespace

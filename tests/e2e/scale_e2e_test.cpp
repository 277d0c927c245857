// Systems of 144 and 192 dpi (the prefix's LogPixels) get boxes half as large again and twice as large as
// at 96: the title band and the box measured on the screen against a run at 96.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "e2e/harness.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int kScreenW = 1600, kScreenH = 900; // tools/test.sh runs Xvfb at 1600x900x24

// The prefix's DPI; Wine reads it when its server starts again. The run's own server is started again
// as tools/wine-prefix.sh left it.
void SetPrefixDpi(int dpi) {
    e2e::Run({"wine", "reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d",
              std::to_string(dpi), "/f"});
    e2e::Run({"wineserver", "-k"});
    e2e::Run({"wineserver", "-w"});
    e2e::Run({"wineserver", "-p"});
}

struct Measured { int w = 0, h = 0, band = 0; };

// One box (a folder's) as it shows: its window's size and the rows of its title band, counted down
// the right part of the box while the pixels are the default skin's blue.
Measured MeasureBox() {
    e2e::Scenario s;
    fs::create_directory(s.Desk() / "项目资料");
    s.Start();
    Measured m;
    if (!e2e::WaitFor([&] { return s.MainWindowExists(); }, 30s)) return m;
    const fs::path png = s.AppDir() / "box.png", raw = s.AppDir() / "box.rgb";
    e2e::WaitFor(
        [&] {
            const auto boxes = s.Boxes();
            if (boxes.size() != 1 || !boxes[0].visible) return false;
            const e2e::WindowInfo& w = boxes[0];
            if (w.x < 0 || w.y < 0 || w.x + w.w > kScreenW || w.y + w.h > kScreenH) return false;
            s.Screenshot(png);
            e2e::Run({"convert", png.string(), "-depth", "8", "rgb:" + raw.string()});
            std::ifstream in(raw, std::ios::binary);
            const std::vector<unsigned char> rgb{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            if (rgb.size() != static_cast<size_t>(kScreenW) * kScreenH * 3) return false;
            const auto blue = [&](int y) {
                const size_t o = (static_cast<size_t>(y) * kScreenW + static_cast<size_t>(w.x + w.w - 20)) * 3;
                return rgb[o + 2] > rgb[o] + 40;
            };
            int band = 0;
            while (band < w.h && blue(w.y + band)) ++band;
            m = {w.w, w.h, band};
            return band > 0 && band < w.h;
        },
        30s);
    s.Quit(20s);
    return m;
}

TEST(ScaleE2E, BoxesAtOneAndAHalfAndTwiceTheDpiAreAsMuchLarger) {
    const Measured at96 = MeasureBox();
    ASSERT_GT(at96.band, 0) << "no box measured at 96 dpi";
    struct Restore {
        ~Restore() { SetPrefixDpi(96); }
    } restore;
    for (const int dpi : {144, 192}) {
        SetPrefixDpi(dpi);
        const Measured m = MeasureBox();
        ASSERT_GT(m.band, 0) << "no box measured at " << dpi << " dpi";
        const auto scaled = [dpi](int at96) { return at96 * dpi / 96; };
        const int slack = dpi / 48; // the title band's bottom row may blend with the body
        // The title band: 34 rows at 96. A new box is four cells wide and one row of cells (plus the
        // title and margins) high.
        EXPECT_NEAR(m.band, scaled(at96.band), slack) << dpi << " dpi; " << at96.band << " rows at 96";
        EXPECT_NEAR(m.w, scaled(at96.w), 2 * slack) << dpi << " dpi; " << at96.w << " wide at 96";
        EXPECT_NEAR(m.h, scaled(at96.h), 2 * slack) << dpi << " dpi; " << at96.h << " high at 96";
    }
}

} // namespace

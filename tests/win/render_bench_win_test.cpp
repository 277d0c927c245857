// Cost of one repaint of eight boxes of fifty items each through the bitmap path, printed for the
// record (the benchmark figure of the Windows side; no timing is asserted).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "render/box_record_win.h"
#include "render/devices_win.h"
#include "render/fallback_win.h"
#include "render/paint_win.h"
#include "settings/settings.h"
#include "win/render_test_util.h"

TEST(RenderWinBench, RenderAllOfEightBoxesOfFiftyItems) {
    InitDCompInfra();
    ResetSettingsToDefaults();
    std::vector<BoxWin> boxes(8);
    for (int i = 0; i < 8; ++i) {
        BoxWin& b = boxes[static_cast<size_t>(i)];
        b.key = L"盒子" + std::to_wstring(i);
        b.colorIdx = i;
        b.width = 324;
        b.height = 600;
        for (int k = 0; k < 50; ++k)
            b.items.push_back(Item{L"季度报告_" + std::to_wstring(k) + L".docx", L"C:\\nowhere\\x", false, L".docx"});
        b.hwnd = MakeTestBoxWindow(i * 180, 40, b.width, b.height);
        ASSERT_TRUE(InitBoxFallback(&b));
        ShowWindow(b.hwnd, SW_SHOWNA);
        g_boxes.push_back(&b);
    }
    RenderAll(); // first paint loads fonts and makes the shared target
    const int frames = 10;
    const auto timed = [&](bool redraw) {
        const auto t0 = std::chrono::steady_clock::now();
        for (int f = 0; f < frames; ++f) {
            if (redraw) InvalidateSurfaces();
            RenderAll();
        }
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() / frames;
    };
    const double full = timed(true);
    const double same = timed(false);
    std::printf("RenderAll, 8 boxes x 50 items, layered bitmaps: %.2f ms per repaint drawing every box, "
                "%.3f ms when no picture changed\n", full, same);
    RecordProperty("ms_per_full_RenderAll", std::to_string(full));
    RecordProperty("ms_per_unchanged_RenderAll", std::to_string(same));
    for (BoxWin& b : boxes) {
        EXPECT_EQ(PixelAt(*b.fallback, 300, 580).a, 130) << "every box was painted";
        ReleaseBoxRender(&b);
        DestroyWindow(b.hwnd);
    }
    g_boxes.clear();
}

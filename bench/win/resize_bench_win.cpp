// Cost of a resize step that keeps the column count, box of 200 entries on the bitmap path, from the
// new size to the picture handed to the window: drawing the title band and the new strips (now)
// beside drawing the whole box (before), in the same run. Usage: resize_bench.exe [steps=60]
#include <chrono>
#include <cstdio>

#include "bench_box_win.h"
#include "boxes/box_win.h"
#include "render/box_record_win.h"
#include "render/fallback_win.h"
#include "render/paint_win.h"
#include "settings/metrics.h"

int wmain(int argc, wchar_t** argv) {
    const int steps = argc > 1 ? _wtoi(argv[1]) : 60;
    BoxWin* box = MakeBenchBox(200);
    if (!box) return 1;
    const int w0 = 4 * g_cellW + 12, h0 = 600; // four columns; every step below keeps them
    std::vector<double> part, whole;
    unsigned long cells[2] = {0, 0};
    for (int round = 0; round < 2; ++round) {
        ResizeBoxRender(box, w0, h0);
        DrawMarkedBoxes();
        const unsigned long before = FallbackCellsDrawn();
        for (int i = 1; i <= steps; ++i) {
            const int w = w0 + (i % 2 ? 6 * (i % 8) : 0), h = h0 + 8 * (i % 5); // width, height or both
            const auto t0 = std::chrono::steady_clock::now();
            if (round == 1) InvalidateSurfaces(); // every picture stale: the whole box is drawn
            SetWindowPos(box->hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            ResizeBoxRender(box, w, h);
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            (round == 0 ? part : whole).push_back(ms);
        }
        cells[round] = FallbackCellsDrawn() - before;
    }
    std::printf("resize step keeping the columns, box of 200 entries (about %d x %d), %d steps (ms): band and strips "
                "median %.2f p95 %.2f (%lu cells drawn); whole box median %.2f p95 %.2f (%lu cells drawn)\n",
                w0, h0, steps, Percentile(part, 0.5), Percentile(part, 0.95), cells[0], Percentile(whole, 0.5),
                Percentile(whole, 0.95), cells[1]);
    DestroyAllBoxes();
    return 0;
}

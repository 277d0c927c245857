// Cost of a wheel step on the bitmap path, from the new scroll offset to the picture handed to the
// window, in boxes of 200 and of 20,000 entries: moving the picture and drawing the rows that come
// into view (now) beside drawing the whole box (before), in the same run. The partial round runs
// first, so it also pays for laying out the names it brings into view.
// Usage: wheel_bench.exe [steps=60]
#include <chrono>
#include <cstdio>

#include "bench_box_win.h"
#include "boxes/box_input.h"
#include "render/fallback_win.h"
#include "render/paint_win.h"
#include "settings/metrics.h"

namespace {

// CPU time of the whole process so far, in milliseconds: on a shared machine it says what the work
// cost where the wall clock also counts the waits.
double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    const auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int steps = argc > 1 ? _wtoi(argv[1]) : 60;
    for (int entries : {200, 20000}) {
        BoxWin* box = MakeBenchBox(entries);
        if (!box) return 1;
        const int w = 4 * g_cellW + 12, h = 600;
        SetWindowPos(box->hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ResizeBoxRender(box, w, h);
        DrawMarkedBoxes();
        std::vector<double> ms[2];
        unsigned long cells[2] = {0, 0};
        double cpu[2] = {0, 0};
        for (int round = 0; round < 2; ++round) {
            box->scrollY = 0;
            InvalidateSurfaces();
            DrawMarkedBoxes();
            const unsigned long before = FallbackCellsDrawn();
            const double cpu0 = ProcessCpuMs();
            for (int i = 0; i < steps; ++i) {
                // Down for the first two thirds, then back up: rows new and rows seen before.
                const int delta = i < 2 * steps / 3 ? -kWheelNotch : kWheelNotch;
                const auto t0 = std::chrono::steady_clock::now();
                box->scrollY = ScrollAfterWheel(box->scrollY, delta, box->items.size(), w, h, g_cellW, g_cellH);
                if (round == 1) InvalidateSurfaces(); // every picture stale: the whole box is drawn
                MarkBoxDirty(box);
                DrawMarkedBoxes();
                ms[round].push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
            }
            cells[round] = FallbackCellsDrawn() - before;
            cpu[round] = (ProcessCpuMs() - cpu0) / steps;
        }
        std::printf("wheel step, box of %d entries (%d x %d), %d steps (ms): moved picture and new rows first %.2f "
                    "median %.2f p95 %.2f max %.2f (%lu cells drawn, CPU %.2f per step); whole box first %.2f median "
                    "%.2f p95 %.2f max %.2f (%lu cells drawn, CPU %.2f per step)\n",
                    entries, w, h, steps, ms[0][0], Percentile(ms[0], 0.5), Percentile(ms[0], 0.95),
                    Percentile(ms[0], 1), cells[0], cpu[0], ms[1][0], Percentile(ms[1], 0.5),
                    Percentile(ms[1], 0.95), Percentile(ms[1], 1), cells[1], cpu[1]);
        DestroyAllBoxes();
    }
    return 0;
}

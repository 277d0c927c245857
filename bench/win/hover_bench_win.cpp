// Cost of a hover change in a box of 200 entries on the bitmap path, from the change to the picture
// handed to the window: drawing the cells involved (now) beside drawing the whole box (before), in
// the same run. Usage: hover_bench.exe [changes=60]
#include <chrono>
#include <cstdio>

#include "bench_box_win.h"
#include "boxes/box_win.h"
#include "render/box_record_win.h"
#include "render/fallback_win.h"
#include "render/paint_win.h"

namespace {

// CPU time of the whole process so far (every thread, the renderer's too), in milliseconds: on a
// shared machine it says what the work cost where the wall clock also counts the waits.
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
    const int changes = argc > 1 ? _wtoi(argv[1]) : 60;
    BoxWin* box = MakeBenchBox(200);
    if (!box) return 1;
    DrawMarkedBoxes();
    std::vector<double> part, whole;
    double cpu[2] = {};
    for (int round = 0; round < 2; ++round) {
        const double cpu0 = ProcessCpuMs();
        for (int i = 0; i < changes; ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            box->hoverIdx = i % 12; // cells of the first rows, which show
            if (round == 1) InvalidateSurfaces(); // every picture stale: the whole box is drawn
            MarkBoxDirty(box);
            DrawMarkedBoxes();
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            (round == 0 ? part : whole).push_back(ms);
        }
        cpu[round] = (ProcessCpuMs() - cpu0) / changes;
    }
    std::printf("hover change, box of 200 entries (%d x %d), %d changes (ms): cells only median %.2f p95 %.2f; "
                "whole box median %.2f p95 %.2f; process CPU per change: cells only %.2f, whole box %.2f\n",
                box->width, box->height, changes, Percentile(part, 0.5), Percentile(part, 0.95), Percentile(whole, 0.5),
                Percentile(whole, 0.95), cpu[0], cpu[1]);
    DestroyAllBoxes();
    return 0;
}

// Settling overlaps on a crowded screen where no box finds a free place: the worst case of the
// free-spot search. Fast decisions against the step-by-step rules, same desk.
#include <benchmark/benchmark.h>

#include <vector>

#include "settings/settings.h"
#include "unit/layout_literal.h"
#include "unit/model_desk.h"

namespace {

// Two full tilings of 1920 x 1080 by 480 x 270 boxes (32 boxes), plus 8 boxes in between:
// whichever box moves, the others still cover every place on the screen.
std::vector<Rect> Crowded() {
    std::vector<Rect> r;
    for (int copy = 0; copy < 2; ++copy)
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 4; ++col)
                r.push_back({col * 480, row * 270, col * 480 + 480, row * 270 + 270});
    for (int i = 0; i < 8; ++i)
        r.push_back({100 + i * 200, 200 + i * 60, 424 + i * 200, 410 + i * 60});
    return r;
}

template <typename Resolve> void Run(benchmark::State& state, Resolve resolve) {
    ResetSettingsToDefaults();
    const std::vector<Rect> boxes = Crowded();
    long long reads = 0;
    for (auto _ : state) {
        ModelDesk desk({1920, 1080}, boxes);
        resolve(desk, static_cast<int>(state.range(0)));
        if (!desk.moves.empty()) state.SkipWithError("a box found a place: the desk is not crowded");
        reads = desk.reads;
    }
    state.counters["rect_reads"] = static_cast<double>(reads);
}

void BM_ResolveCrowdedFast(benchmark::State& state) {
    Run(state, [](BoxDesk& d, int anchor) { ResolveOverlaps(d, anchor); });
}
void BM_ResolveCrowdedLiteral(benchmark::State& state) {
    Run(state, [](BoxDesk& d, int anchor) { literal::ResolveOverlaps(d, anchor); });
}

} // namespace

// Argument: the anchor box, -1 for none.
BENCHMARK(BM_ResolveCrowdedFast)->Arg(-1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResolveCrowdedLiteral)->Arg(-1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);

// Text conversion done for every debug log line.
#include <benchmark/benchmark.h>

#include "base/strutil.h"

static void BM_LogLineToUtf8(benchmark::State& state) {
    const std::wstring line = L"SCAN group=[压缩包] after a scan of the desktop and the hidden store";
    for (auto _ : state) benchmark::DoNotOptimize(WideToUtf8(line));
}
BENCHMARK(BM_LogLineToUtf8);

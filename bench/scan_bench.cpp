// Grouping a large desktop: the scan decision over desktop and store listings.
#include <benchmark/benchmark.h>

#include "inventory/scan.h"

namespace {

std::vector<DirEntry> Listing(int count, int salt) {
    const wchar_t* exts[] = {L".lnk", L".PNG", L".docx", L".zip", L".dat",
                             L".txt", L".exe", L".jpg",  L"",     L".7z"};
    std::vector<DirEntry> out;
    out.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const bool dir = i % 11 == 0;
        out.push_back(DirEntry{
            L"条目_" + std::to_wstring(salt) + L"_" + std::to_wstring(i) + (dir ? L"" : exts[i % 10]), dir});
    }
    return out;
}

void BM_GroupTenThousandItems(benchmark::State& state) {
    const std::set<std::wstring> freed = {L"条目_0_5.docx", L"条目_1_7.jpg"};
    const std::set<std::wstring> hiddenBoxes = {L"压缩包"};
    const std::set<std::wstring> customBoxes = {L"Inbox", L"工作"};
    g_manualGroups.clear();
    for (int i = 0; i < 200; ++i)
        g_manualGroups[L"条目_0_" + std::to_wstring(i * 25) + L".dat"] = L"M" + std::to_wstring(i % 8);
    ScanInput in;
    in.desktop = L"C:\\Users\\u\\Desktop";
    in.hidden = L"C:\\Users\\u\\Desktop\\.hidden";
    in.desktopListing = Listing(5000, 0);
    in.hiddenListing = Listing(5000, 1);
    in.freedItems = &freed;
    in.hiddenBoxes = &hiddenBoxes;
    in.customBoxes = &customBoxes;
    for (auto _ : state) {
        ScanResult r = DecideScan(in);
        benchmark::DoNotOptimize(r.groups.data());
    }
    state.SetItemsProcessed(state.iterations() * 10000);
    g_manualGroups.clear();
}
BENCHMARK(BM_GroupTenThousandItems)->Unit(benchmark::kMillisecond);

} // namespace

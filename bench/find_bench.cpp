// Finding among 20,000 desktop entries: one key press (the query as typed so far, over the whole
// index), the index built from the boxes' items, and the index's memory (counter "index_bytes").
#include <benchmark/benchmark.h>

#include <string>

#include "ui/find_match.h"

namespace {

// Names as desktops hold them: Chinese words, Latin words, both mixed, with extensions.
FindIndex MakeIndex(int count) {
    const wchar_t* const words[] = {L"年度报告", L"文档", L"银行流水", L"行程单", L"音乐", L"重庆火锅", L"长城照片",
                                    L"会议纪要", L"项目计划", L"发票", L"readme", L"Report", L"budget", L"photo",
                                    L"Setup", L"微信", L"QQ", L"设计稿", L"合同", L"简历"};
    const wchar_t* const exts[] = {L".docx", L".xlsx", L".pdf", L".png", L".lnk", L".txt", L""};
    FindIndex index;
    index.Reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::wstring name = words[i % 20];
        name += words[(i / 20) % 20];
        name += std::to_wstring(i);
        name += exts[i % 7];
        index.Add(FindEntry{name, i / 1000, i % 1000});
    }
    return index;
}

const wchar_t* const kTyped[] = {L"w", L"wd", L"wen", L"wendang", L"r", L"rep", L"report1", L"银行", L"yhls", L"zzz"};

void BM_FindKeyPress(benchmark::State& state) {
    static const FindIndex index = MakeIndex(20000);
    const wchar_t* query = kTyped[state.range(0)];
    size_t found = 0;
    for (auto _ : state) {
        found = index.Find(query).size();
        benchmark::DoNotOptimize(found);
    }
    state.SetLabel(std::string(query, query + 0) + std::to_string(found) + " found");
    state.counters["index_bytes"] = static_cast<double>(index.MemoryBytes());
}
BENCHMARK(BM_FindKeyPress)->DenseRange(0, 9)->Unit(benchmark::kMillisecond);

void BM_FindIndexBuild(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeIndex(20000).Size());
    state.counters["table_bytes"] = static_cast<double>(PinyinTableBytes());
}
BENCHMARK(BM_FindIndexBuild)->Unit(benchmark::kMillisecond);

} // namespace

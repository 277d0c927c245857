// Scene building of one full repaint: eight boxes of fifty items each, as the idle loop draws them.
#include <benchmark/benchmark.h>

#include <map>

#include "render/scene.h"
#include "render/skins.h"

namespace {

std::vector<Item> FiftyItems() {
    std::vector<Item> items;
    for (int i = 0; i < 50; ++i)
        items.push_back(Item{L"季度报告_" + std::to_wstring(i) + L".docx", L"C:\\Users\\u\\Desktop\\x", false, L".docx"});
    return items;
}

void BM_SceneOfEightBoxes(benchmark::State& state) {
    const std::vector<Item> items = FiftyItems();
    const std::map<std::wstring, std::wstring> names = {{L"文档", L"工作文档"}};
    std::vector<DrawOp> scene;
    for (auto _ : state) {
        for (int box = 0; box < 8; ++box) {
            BoxSceneInput in;
            in.width = 324;
            in.height = 600; // 7 of 13 rows visible
            in.items = &items;
            in.hoverIdx = box == 3 ? 5 : -1;
            in.colorIdx = box;
            in.title = BoxTitle(box == 0 ? L"文档" : L"其他", names, items.size());
            in.skin = g_skins[2];
            in.alpha = 130 / 255.0f;
            BuildBoxScene(in, scene);
            benchmark::DoNotOptimize(scene.data());
        }
    }
}
BENCHMARK(BM_SceneOfEightBoxes);

} // namespace

namespace {

// One pass of the main loop's drawing decision over five boxes of 200 entries: each box's inputs
// are compared with those its surface shows, and a scene is built only for a box that changed.
struct FrameWorld {
    std::wstring keys[5] = {L"文件夹", L"图片", L"文档", L"压缩包", L"其他"};
    std::vector<Item> items;
    std::map<std::wstring, std::wstring> names = {{L"文档", L"工作文档"}};
    BoxView views[5];
    BoxLook look;
    std::vector<BoxSceneInput> shown;
    std::vector<DrawOp> scene;
    FrameWorld() {
        for (int i = 0; i < 200; ++i)
            items.push_back(Item{L"季度报告_" + std::to_wstring(i) + L".docx", L"C:\\Users\\u\\Desktop\\x", false, L".docx"});
        look.names = &names;
        for (int b = 0; b < 5; ++b) {
            views[b].key = &keys[b];
            views[b].items = &items;
            views[b].width = 324;
            views[b].height = 860;
            views[b].colorIdx = b;
            shown.push_back(SceneInputOf(views[b], look));
        }
    }
    int Pass() {
        int built = 0;
        for (int b = 0; b < 5; ++b) {
            BoxSceneInput now = SceneInputOf(views[b], look);
            if (SameSceneInput(shown[static_cast<size_t>(b)], now)) continue;
            BuildBoxScene(now, scene);
            shown[static_cast<size_t>(b)] = std::move(now);
            ++built;
        }
        return built;
    }
};

void BM_FrameNothingChanged(benchmark::State& state) {
    FrameWorld w;
    long built = 0;
    for (auto _ : state) built += w.Pass();
    state.counters["scenes_per_pass"] = benchmark::Counter(static_cast<double>(built), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FrameNothingChanged);

void BM_FrameHoverChange(benchmark::State& state) {
    FrameWorld w;
    long built = 0;
    int hover = 0;
    for (auto _ : state) {
        w.views[2].hoverIdx = (hover++ % 2) ? 5 : 6;
        built += w.Pass();
    }
    state.counters["scenes_per_pass"] = benchmark::Counter(static_cast<double>(built), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FrameHoverChange);

} // namespace

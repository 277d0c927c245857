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

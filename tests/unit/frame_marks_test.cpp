// Which change makes which box's picture stale, and the cap of a computed box height.
#include <gtest/gtest.h>

#include <functional>

#include "boxes/box_rules.h"
#include "render/scene.h"

namespace {

struct World {
    std::wstring keys[3] = {L"文档", L"图片", L"其他"};
    std::vector<Item> items[3] = {std::vector<Item>(5), std::vector<Item>(9), {}};
    std::vector<Item> otherItems = std::vector<Item>(9);
    std::map<std::wstring, std::wstring> names;
    BoxView views[3];
    BoxLook look;
    World() {
        look.names = &names;
        for (int i = 0; i < 3; ++i) {
            views[i].key = &keys[i];
            views[i].items = &items[i];
            views[i].width = 324;
            views[i].height = 210;
            views[i].colorIdx = i;
        }
    }
    std::vector<BoxSceneInput> Inputs() const {
        std::vector<BoxSceneInput> in;
        for (const BoxView& v : views) in.push_back(SceneInputOf(v, look));
        return in;
    }
};

TEST(FrameMarks, EachChangeMakesExactlyItsBoxesStale) {
    const struct {
        const char* what;
        std::function<void(World&)> change;
        std::vector<int> stale;
    } cases[] = {
        {"nothing", [](World&) {}, {}},
        {"hover of box 1", [](World& w) { w.views[1].hoverIdx = 3; }, {1}},
        {"hover set to what it was", [](World& w) { w.views[1].hoverIdx = -1; }, {}},
        {"scroll of box 2", [](World& w) { w.views[2].scrollY = 84; }, {2}},
        {"width of box 0", [](World& w) { w.views[0].width = 400; }, {0}},
        {"height of box 0", [](World& w) { w.views[0].height = 36; }, {0}},
        {"box 1 collapsed", [](World& w) { w.views[1].collapsed = true; }, {1}},
        {"box 2 shown opaque", [](World& w) { w.views[2].opaque = true; }, {2}},
        {"items of box 2 replaced", [](World& w) { w.views[2].items = &w.otherItems; }, {2}},
        {"display name of box 0", [](World& w) { w.names[L"文档"] = L"工作"; }, {0}},
        {"display name of no box", [](World& w) { w.names[L"压缩包"] = L"旧"; }, {}},
        {"opacity", [](World& w) { w.look.alpha = 200; }, {0, 1, 2}},
        {"skin", [](World& w) { w.look.skinIndex = 1; }, {0, 1, 2}},
        {"skin set to the one shown", [](World& w) { w.look.skinIndex = 2; }, {}},
        {"icon size and cells", [](World& w) { w.look.iconSize = 48, w.look.cellW = 94, w.look.cellH = 100; }, {0, 1, 2}},
    };
    for (const auto& c : cases) {
        World w;
        const std::vector<BoxSceneInput> shown = w.Inputs();
        c.change(w);
        const std::vector<BoxSceneInput> now = w.Inputs();
        std::vector<int> stale;
        for (int i = 0; i < 3; ++i)
            if (!SameSceneInput(shown[static_cast<size_t>(i)], now[static_cast<size_t>(i)])) stale.push_back(i);
        EXPECT_EQ(stale, c.stale) << c.what;
    }    // The background picture is filled in by the drawing side; another picture is another input.
    const World world;
    const BoxSceneInput shown = world.Inputs()[0];
    BoxSceneInput picture = shown;
    picture.bgId = 7;
    EXPECT_FALSE(SameSceneInput(shown, picture)) << "background picture";
}

TEST(FrameMarks, ComputedHeightIsCappedAtTheWorkArea) {
    const struct {
        int computed, workArea, expected;
    } cases[] = {{3570, 860, 860}, {126, 860, 126}, {860, 860, 860}, {3570, 60, 100}, {126, 0, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(CapDefaultHeight(c.computed, c.workArea), c.expected) << c.computed << " in " << c.workArea;
    // 167 entries: 42 rows that no longer fit; the wheel's range reaches the last row.
    const int h = CapDefaultHeight(DefaultBoxSize(78, 84, 167).h, 900);
    const int most = MaxScrollY(167, 324, h, 78, 84);
    EXPECT_EQ(h, 900);
    EXPECT_GT(CellRectAt(166, 324, 0, 78, 84).bottom, h);
    EXPECT_LE(CellRectAt(166, 324, most, 78, 84).bottom, h);
}

} // namespace

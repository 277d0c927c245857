#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "render/scene.h"
#include "render/skins.h"
#include "settings/metrics.h"
#include "settings/settings.h"

namespace {

void ExpectColor(const ColorF& c, float r, float g, float b, float a, const char* what) {
    EXPECT_NEAR(c.r, r, 0.002f) << what;
    EXPECT_NEAR(c.g, g, 0.002f) << what;
    EXPECT_NEAR(c.b, b, 0.002f) << what;
    EXPECT_FLOAT_EQ(c.a, a) << what;
}

void ExpectSame(const ColorF& a, const ColorF& b, const char* what) { ExpectColor(a, b.r, b.g, b.b, b.a, what); }

TEST(RenderColors, ColFReadsRedFromTheLowestByteAndKeepsTheAlpha) {
    EXPECT_EQ(RgbColor(0x3B, 0x82, 0xF6), 0x00F6823Bu);
    ExpectColor(ColF(0x00FFFFFF, 0.5f), 1, 1, 1, 0.5f, "white");
    ExpectColor(ColF(0x00F6823B, 0.25f), 0x3B / 255.f, 0x82 / 255.f, 0xF6 / 255.f, 0.25f, "blue accent");
    ExpectColor(ColF(0x000000FF, 1), 1, 0, 0, 1, "red lives in the low byte");
    ExpectColor(ColF(0x00FF0000, 30 / 255.f), 0, 0, 1, 30 / 255.f, "blue lives in the third byte");
}

TEST(RenderColors, SkinAndAccentTables) {
    for (int i = 0; i < kSkinRows; ++i) {
        const ColorRef expected = i == 1 ? RgbColor(0x1E, 0x1E, 0x1E) : RgbColor(0xFF, 0xFF, 0xFF);
        EXPECT_EQ(g_skins[i].text, expected) << "only the light skin has dark text, row " << i;
    }
    EXPECT_EQ(g_skins[1].accent, g_skins[2].accent);
    EXPECT_EQ(g_skins[2].background, RgbColor(0x0F, 0x1E, 0x3C));
    EXPECT_EQ(g_skins[7].highlight, RgbColor(0x28, 0x5A, 0x64));
    EXPECT_STREQ(g_skins[2].name, L"蓝色");
    EXPECT_STREQ(g_skins[6].name, L"玫红");
    EXPECT_EQ(g_colors[0], 0x00F6823Bu);
    EXPECT_EQ(g_colors[7], RgbColor(0x84, 0xCC, 0x16));
    const struct {
        int idx;
        ColorRef color;
    } accents[] = {{0, g_colors[0]}, {7, g_colors[7]}, {8, g_colors[0]}, {9, g_colors[1]}, {-1, g_colors[7]}};
    for (const auto& c : accents) EXPECT_EQ(AccentAt(c.idx), c.color) << c.idx;
    EXPECT_EQ(&SkinAt(5), &g_skins[5]);
    EXPECT_EQ(&SkinAt(8), &g_skins[2]) << "an index outside the table draws the default skin";
}

TEST(RenderLayout, CellRectangles) {
    const struct {
        int index, width, scrollY, cellW, cellH;
        Rect expected;
    } cases[] = {
        {0, 324, 0, 78, 84, {6, 42, 78, 118}},     // first cell below the title bar
        {3, 324, 0, 78, 84, {240, 42, 312, 118}},  // four columns in the default width
        {4, 324, 0, 78, 84, {6, 126, 78, 202}},    // fifth item opens row two
        {1, 89, 0, 78, 84, {6, 126, 78, 202}},     // narrower than 12 + cellW: one column
        {1, 90, 0, 78, 84, {6, 126, 78, 202}},     // exactly one cell wide
        {1, 0, 0, 78, 84, {6, 126, 78, 202}},      // no width at all still gives one column
        {0, 324, 50, 78, 84, {6, -8, 78, 68}},     // scrolled up under the bar
        {5, 324, 0, 110, 116, {162, 274, 312, 382}}, // icons of 64: two columns of 110 share the width
        {5, 331, 0, 78, 84, {85, 126, 158, 202}},    // four columns of 79
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CellRectAt(c.index, c.width, c.scrollY, c.cellW, c.cellH), c.expected)
            << c.index << " in width " << c.width << " scrolled " << c.scrollY;
    }
}

TEST(RenderLayout, HitTestUsesExclusiveEdgesAndTheItemCount) {
    const struct {
        Point p;
        int count, scrollY;
        int expected;
    } cases[] = {
        {{6, 42}, 5, 0, 0},   {{77, 117}, 5, 0, 0}, {{78, 42}, 5, 0, -1}, // gap between columns
        {{5, 42}, 5, 0, -1},  {{6, 118}, 5, 0, -1}, {{84, 42}, 5, 0, 1},
        {{6, 126}, 5, 0, 4},  {{84, 126}, 5, 0, -1}, // a cell place with no item
        {{6, 42}, 0, 0, -1},  {{6, 30}, 5, 12, 0},  {{6, 29}, 5, 12, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HitTestCells(c.count, 324, c.scrollY, 78, 84, c.p), c.expected) << c.p.x << "," << c.p.y;
}

TEST(RenderLayout, HoverNeedsThePointerOverTheWindowBelowTheTitleZone) {
    // Scrolled by 12 the first row starts at y 30: inside the painted bar but below the hover zone.
    EXPECT_EQ(HoverIndex(true, {10, 30}, 4, 324, 12, 78, 84), 0);
    EXPECT_EQ(HoverIndex(true, {10, 29}, 4, 324, 12, 78, 84), -1);
    EXPECT_EQ(HoverIndex(false, {10, 50}, 4, 324, 12, 78, 84), -1);
    EXPECT_EQ(HoverIndex(true, {90, 50}, 4, 324, 0, 78, 84), 1);
}

TEST(RenderText, TitleAndNameFontSize) {
    const std::map<std::wstring, std::wstring> names = {{L"图片", L"我的照片"}};
    EXPECT_EQ(BoxTitle(L"图片", names, 3), L"我的照片 (3)");
    EXPECT_EQ(BoxTitle(L"文档", names, 12), L"文档 (12)");
    EXPECT_EQ(BoxTitle(L"空盒", names, 0), L"空盒 (0)");
    const struct {
        int font;
        bool rebuilt;
        int expected;
    } sizes[] = {{8, false, 6}, {8, true, 7}, {9, true, 7}, {10, true, 8}, {13, false, 11}, {13, true, 11}, {40, true, 38}};
    for (const auto& c : sizes) EXPECT_EQ(NameFontSize(c.font, c.rebuilt), c.expected) << c.font << c.rebuilt;
}

class BoxScene : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 10; ++i) items.push_back(Item{L"file" + std::to_wstring(i) + L".txt", L"C:\\d\\f", false, L".txt"});
        in.width = 324;
        in.height = 300;
        in.items = &items;
        in.colorIdx = 9;
        in.title = L"文档 (10)";
        in.skin = g_skins[2];
        in.alpha = 130 / 255.0f;
    }
    std::vector<DrawOp> Build() {
        std::vector<DrawOp> ops;
        BuildBoxScene(in, ops);
        return ops;
    }
    static std::vector<const DrawOp*> OfKind(const std::vector<DrawOp>& ops, DrawKind k) {
        std::vector<const DrawOp*> r;
        for (const auto& op : ops)
            if (op.kind == k) r.push_back(&op);
        return r;
    }
    static std::vector<int> IconItems(const std::vector<DrawOp>& ops) {
        std::vector<int> r;
        for (const auto* op : OfKind(ops, DrawKind::Icon)) r.push_back(op->item);
        return r;
    }
    std::vector<Item> items;
    BoxSceneInput in;
};

TEST_F(BoxScene, BodyOutlineAndTitleBarInOrder) {
    const auto ops = Build();
    ASSERT_GE(ops.size(), 5u);
    EXPECT_EQ(ops[0].kind, DrawKind::Clear);
    ExpectColor(ops[0].color, 0, 0, 0, 0, "transparent clear");
    EXPECT_EQ(ops[1].kind, DrawKind::Fill);
    ExpectSame(ops[1].color, ColF(g_skins[2].background, in.alpha), "body");
    EXPECT_FLOAT_EQ(ops[1].rect.right, 324);
    EXPECT_FLOAT_EQ(ops[1].rect.bottom, 300);
    EXPECT_EQ(ops[2].kind, DrawKind::Stroke);
    ExpectSame(ops[2].color, ColF(g_colors[1], in.alpha), "outline of creation index 9 uses accent 1");
    EXPECT_FLOAT_EQ(ops[2].rect.left, 0.5f);
    EXPECT_FLOAT_EQ(ops[2].rect.bottom, 299.5f);
    // The bar and its text come last, over the items.
    const DrawOp& bar = ops[ops.size() - 2];
    EXPECT_EQ(bar.kind, DrawKind::Gradient);
    EXPECT_FLOAT_EQ(bar.rect.bottom, 34);
    ExpectSame(bar.color, ColF(g_skins[2].accent, in.alpha), "gradient top");
    ExpectSame(bar.color2, ColF(g_skins[2].accentDark, in.alpha), "gradient bottom");
    const DrawOp& title = ops.back();
    EXPECT_EQ(title.kind, DrawKind::Text);
    EXPECT_EQ(title.role, TextRole::Title);
    EXPECT_EQ(title.text, L"文档 (10)");
    EXPECT_FLOAT_EQ(title.rect.left, 8);
    EXPECT_FLOAT_EQ(title.rect.right, 316);
    ExpectSame(title.color, ColF(0x00FFFFFF, in.alpha), "title text");
}

TEST_F(BoxScene, ItemCellsIconAndName) {
    const auto ops = Build();
    // 300 high: rows at 42, 126, 210 are visible; row four (top 294) as well, it starts inside the box.
    EXPECT_EQ(IconItems(ops), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    const auto icons = OfKind(ops, DrawKind::Icon);
    EXPECT_FLOAT_EQ(icons[1]->rect.left, 84 + 20); // cell 84..156, icon of 32 centred
    EXPECT_FLOAT_EQ(icons[1]->rect.top, 44);
    EXPECT_FLOAT_EQ(icons[1]->rect.bottom, 76);
    ExpectColor(icons[1]->color, 1, 1, 1, 1, "icons are opaque");
    const auto texts = OfKind(ops, DrawKind::Text);
    ASSERT_EQ(texts.size(), 11u);
    EXPECT_EQ(texts[1]->role, TextRole::Name);
    EXPECT_EQ(texts[1]->text, L"file1.txt");
    EXPECT_FLOAT_EQ(texts[1]->rect.left, 86);
    EXPECT_FLOAT_EQ(texts[1]->rect.top, 42 + 32 + 4);
    EXPECT_FLOAT_EQ(texts[1]->rect.right, 154);
    EXPECT_FLOAT_EQ(texts[1]->rect.bottom, 118);
    EXPECT_TRUE(OfKind(ops, DrawKind::Fill).size() == 1u) << "no hover, only the body is filled";
}

TEST_F(BoxScene, HoverCellIsFilledBeforeItsIcon) {
    in.hoverIdx = 5;
    const auto ops = Build();
    const auto fills = OfKind(ops, DrawKind::Fill);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_FLOAT_EQ(fills[1]->rect.left, 84);
    EXPECT_FLOAT_EQ(fills[1]->rect.top, 126);
    EXPECT_FLOAT_EQ(fills[1]->rect.right, 156);
    EXPECT_FLOAT_EQ(fills[1]->rect.bottom, 202);
    ExpectSame(fills[1]->color, ColF(g_skins[2].highlight, in.alpha), "hover");
    const auto at = std::find_if(ops.begin(), ops.end(), [](const DrawOp& o) { return o.kind == DrawKind::Icon && o.item == 5; });
    ASSERT_NE(at, ops.end());
    EXPECT_EQ(&*(at - 1), fills[1]);
}

TEST_F(BoxScene, RowsOutsideTheVisibleBandAreCulled) {
    const struct {
        int scrollY, height;
        std::vector<int> expected;
    } cases[] = {
        {84, 300, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}}, // row one ends at 34: still drawn under the bar
        {85, 300, {4, 5, 6, 7, 8, 9}},             // ends at 33: not drawn at all
        {0, 126, {0, 1, 2, 3, 4, 5, 6, 7}},        // row two starts at 126 = H: drawn
        {0, 125, {0, 1, 2, 3}},                    // starts below H: not drawn
    };
    for (const auto& c : cases) {
        in.scrollY = c.scrollY;
        in.height = c.height;
        EXPECT_EQ(IconItems(Build()), c.expected) << "scroll " << c.scrollY << " height " << c.height;
    }
}

TEST_F(BoxScene, CollapsedBoxHasNoItems) {
    in.collapsed = true;
    in.height = 36;
    in.hoverIdx = 0;
    const auto ops = Build();
    std::vector<DrawKind> kinds;
    for (const auto& op : ops) kinds.push_back(op.kind);
    EXPECT_EQ(kinds, (std::vector<DrawKind>{DrawKind::Clear, DrawKind::Fill, DrawKind::Stroke, DrawKind::Gradient,
                                            DrawKind::Text}));
    EXPECT_FLOAT_EQ(ops[2].rect.bottom, 35.5f);
}

TEST_F(BoxScene, EmptyOrDegenerateBoxes) {
    std::vector<Item> none;
    in.items = &none;
    in.title = BoxTitle(L"新盒子", {}, none.size());
    EXPECT_EQ(Build().back().text, L"新盒子 (0)");
    in.width = 0;
    EXPECT_TRUE(Build().empty());
    in.width = 324;
    in.height = 0;
    EXPECT_TRUE(Build().empty());
}

TEST_F(BoxScene, OpacityReachesEveryColourButIcons) {
    in.alpha = 30 / 255.0f;
    in.hoverIdx = 0;
    for (const auto& op : Build()) {
        if (op.kind == DrawKind::Clear) continue;
        if (op.kind == DrawKind::Icon) {
            EXPECT_FLOAT_EQ(op.color.a, 1);
            continue;
        }
        EXPECT_FLOAT_EQ(op.color.a, 30 / 255.0f) << static_cast<int>(op.kind);
        if (op.kind == DrawKind::Gradient) {
            EXPECT_FLOAT_EQ(op.color2.a, 30 / 255.0f);
        }
    }
}

TEST_F(BoxScene, EqualInputsGiveEqualScenes) {
    const auto first = Build();
    EXPECT_EQ(Build(), first);
    const struct {
        const char* what;
        void (*change)(BoxSceneInput&);
    } changes[] = {
        {"hover", [](BoxSceneInput& i) { i.hoverIdx = 2; }},
        {"scroll", [](BoxSceneInput& i) { i.scrollY = 1; }},
        {"opacity", [](BoxSceneInput& i) { i.alpha = 1; }},
        {"skin", [](BoxSceneInput& i) { i.skin = g_skins[3]; }},
        {"title", [](BoxSceneInput& i) { i.title = L"x (10)"; }},
        {"outline", [](BoxSceneInput& i) { i.colorIdx = 0; }},
        {"icon size", [](BoxSceneInput& i) { i.iconSize = 48; }},
    };
    for (const auto& c : changes) {
        BoxSceneInput saved = in;
        c.change(in);
        EXPECT_NE(Build(), first) << c.what;
        in = saved;
    }
}

TEST_F(BoxScene, LightSkinDrawsDarkText) {
    in.skin = g_skins[1];
    const auto ops = Build();
    for (const auto* t : OfKind(ops, DrawKind::Text)) ExpectSame(t->color, ColF(0x001E1E1E, in.alpha), "text");
}

} // namespace

namespace {

TEST_F(BoxScene, BackgroundPictureCoversTheBodyUnderTheCellsAtTheBoxOpacity) {
    EXPECT_TRUE(OfKind(Build(), DrawKind::Picture).empty()) << "no picture, nothing drawn";
    in.bgWidth = 1000; // wider than the 324 x 266 body: cut left and right
    in.bgHeight = 500;
    in.bgId = 7;
    auto ops = Build();
    ASSERT_EQ(ops[2].kind, DrawKind::Picture) << "right after the body fill, before outline and cells";
    EXPECT_TRUE(ops[2].rect == (RectF{0, 34, 324, 300}) && ops[2].item == 7);
    ExpectColor(ops[2].color, 1, 1, 1, in.alpha, "box opacity");
    // Wider than the body: the full height shows, the width is cut evenly; taller: cut top and bottom.
    EXPECT_NEAR(ops[2].src.right - ops[2].src.left, 500.0f * 324 / 266, 0.01);
    EXPECT_NEAR(ops[2].src.left + ops[2].src.right, 1000, 0.01);
    EXPECT_TRUE(ops[2].src.top == 0 && ops[2].src.bottom == 500);
    EXPECT_EQ(CoverSource(100, 1000, 200, 100), (RectF{0, 475, 100, 525}));
    EXPECT_EQ(CoverSource(0, 10, 200, 100), RectF{});
    in.collapsed = true;
    EXPECT_TRUE(OfKind(Build(), DrawKind::Picture).empty()) << "a collapsed box has no body";
}

TEST_F(BoxScene, AResizeStepRedrawsTheTitleBandAndTheStripsAlongTheEdgesThatChanged) {
    in.width = 330; // four columns, 79 apart from 328 to 331 wide
    const struct { int w, h, scrollY, bg; bool partial; std::vector<Rect> areas; } steps[] = {
        {331, 300, 0, 0, true, {{0, 0, 331, 34}, {328, 34, 331, 300}}}, // the old border column and the new strip
        {330, 340, 0, 0, true, {{0, 298, 330, 340}}},                    // no band: its text keeps its width
        {328, 280, 0, 0, true, {{0, 0, 328, 34}, {326, 34, 328, 280}, {0, 278, 326, 280}}}, // the new border
        {360, 300, 0, 0, false, {}}, {402, 300, 0, 0, false, {}}, // columns further apart, five columns,
        {331, 300, 20, 0, false, {}}, {331, 300, 0, 640, false, {}}, // scrolled, a picture scaled to the size
    };
    for (const auto& st : steps) {
        BoxSceneInput now = in;
        std::tie(now.width, now.height, now.scrollY, now.bgWidth, now.bgHeight) = std::tie(st.w, st.h, st.scrollY, st.bg, st.bg);
        std::vector<Rect> areas;
        EXPECT_EQ(ResizeChangeAreas(in, now, areas), st.partial) << st.w << "x" << st.h;
        EXPECT_TRUE(areas == st.areas || !st.partial) << st.w << "x" << st.h;
    }
}

TEST_F(BoxScene, AreasWhoseBoundsAddLittleAreDrawnAsOne) {
    const int c = GridColumns(in.width, in.cellW); // beside, below: one; diagonal, apart in a row, a row's end and the next: two
    for (auto [from, to, n] : {std::tuple{1, 2, 1}, {1, 1 + c, 1}, {1, 2 + c, 2}, {0, c - 1, 2}, {c - 1, c, 2}}) {
        std::vector<Rect> areas = HoverChangeAreas(in, from, to);
        MergeNearAreas(areas);
        EXPECT_EQ(areas.size(), static_cast<size_t>(n)) << from << " -> " << to;
    }
    std::vector<Rect> row = {{0, 0, 10, 10}, {40, 0, 50, 10}, {20, 0, 30, 10}, {10, 0, 20, 10}, {30, 0, 40, 10}};
    EXPECT_EQ((MergeNearAreas(row), row), (std::vector<Rect>{{0, 0, 50, 10}})) << "merged in any order";
}

} // namespace

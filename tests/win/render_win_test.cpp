#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>

#include "render/box_record_win.h"
#include "render/devices_win.h"
#include "render/fallback_win.h"
#include "render/paint_win.h"
#include "render/replay_win.h"
#include "render/scene.h"
#include "render/skins.h"
#include "render/skins_win.h"
#include "settings/lists.h"
#include "settings/metrics.h"
#include "settings/settings.h"
#include "win/render_test_util.h"

namespace {

// Premultiplied result of painting colour `top` at alpha a over colour `under` painted at alpha a.
int Over(int top, int under, float a) { return static_cast<int>(std::lround(top * a + under * a * (1 - a))); }

void ExpectNear(const Bgra& p, int r, int g, int b, int a, int tol, const char* what) {
    EXPECT_NEAR(p.r, r, tol) << what;
    EXPECT_NEAR(p.g, g, tol) << what;
    EXPECT_NEAR(p.b, b, tol) << what;
    EXPECT_NEAR(p.a, a, tol) << what;
}

int R(ColorRef c) { return static_cast<int>(c & 0xFF); }
int G(ColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
int B(ColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }

// Pixels in a region whose red channel rises well above what the region holds without text.
int BrightPixels(const BoxSurface& s, int l, int t, int r, int b, int above) {
    int n = 0;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            if (PixelAt(s, x, y).r > above) ++n;
    return n;
}

class RenderWin : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static bool once = false;
        if (!once) {
            infraResult = InitDCompInfra();
            once = true;
        }
    }
    void SetUp() override {
        ResetSettingsToDefaults();
        g_boxNames.clear();
        for (const wchar_t* n : {L"报告.docx", L"b.txt", L"c.txt", L"d.txt", L"e.txt"})
            items.push_back(Item{n, std::wstring(L"C:\\nowhere\\") + n, false, L".txt"});
    }
    void TearDown() override {
        g_boxes.clear();
        FlushIconBitmaps();
        ResetSettingsToDefaults();
    }
    BoxSceneInput Input() {
        BoxSceneInput in;
        in.width = 324;
        in.height = 210;
        in.items = &items;
        in.colorIdx = 2;
        in.hoverIdx = 1;
        in.title = BoxTitle(L"文档", g_boxNames, items.size());
        in.skin = g_skins[2];
        in.alpha = 130 / 255.0f;
        return in;
    }
    static bool infraResult;
    std::vector<Item> items;
};
bool RenderWin::infraResult = false;

TEST_F(RenderWin, WithoutCompositionTheFactoriesStillExist) {
    ASSERT_NE(AnyD2DFactory(), nullptr) << "drawing without composition needs Direct2D";
    ASSERT_NE(g_dw, nullptr) << "and DirectWrite";
    if (g_dcomp) GTEST_SKIP() << "this system composes; the bitmap path is not needed";
    EXPECT_FALSE(infraResult);
    BoxWin box;
    box.hwnd = MakeTestBoxWindow(0, 0, 100, 100);
    EXPECT_FALSE(InitBoxDComp(&box));
    EXPECT_EQ(box.swapChain, nullptr);
    EXPECT_EQ(box.d2dCtx, nullptr);
    EXPECT_EQ(box.brush, nullptr);
    EXPECT_EQ(box.titleFormat, nullptr) << "a box that failed composition keeps nothing half made";
    DestroyWindow(box.hwnd);
}

TEST_F(RenderWin, SceneReplayedIntoABitmap) {
    BoxSurface s;
    ASSERT_TRUE(MakeSurfaceBitmap(&s, 324, 210));
    BoxWin fmt;
    MakeBoxFormats(&fmt, false);
    ASSERT_NE(fmt.titleFormat, nullptr);
    HICON app = LoadIconW(nullptr, IDI_APPLICATION);
    ASSERT_NE(app, nullptr);
    std::vector<DrawOp> scene;
    BuildBoxScene(Input(), scene);
    const auto icon = [&](int i) { return i == 0 ? FallbackIcon(app) : nullptr; };
    ASSERT_TRUE(RenderSurface(&s, scene, fmt.titleFormat, fmt.nameFormat, icon));
    if (const char* shot = std::getenv("BC_RENDER_SHOT")) SaveSurfaceBmp(s, std::wstring(shot, shot + strlen(shot)));

    const float a = 130 / 255.0f;
    const Skin& sk = g_skins[2];
    const int ba = static_cast<int>(std::lround(130.0));
    // Body where no cell lies (place of a fifth column item that does not exist).
    ExpectNear(PixelAt(s, 300, 180), std::lround(R(sk.background) * a), std::lround(G(sk.background) * a),
               std::lround(B(sk.background) * a), ba, 2, "body");
    // The outline, left edge below the bar, in accent 2 (amber).
    const ColorRef amber = g_colors[2];
    ExpectNear(PixelAt(s, 0, 150), Over(R(amber), R(sk.background), a), Over(G(amber), G(sk.background), a),
               Over(B(amber), B(sk.background), a), Over(255, 255, a), 3, "outline");
    // Title bar: near the accent at its top, near the dark accent at its bottom.
    const int barA = Over(255, 255, a);
    ExpectNear(PixelAt(s, 290, 1), Over(R(sk.accent), R(sk.background), a), Over(G(sk.accent), G(sk.background), a),
               Over(B(sk.accent), B(sk.background), a), barA, 6, "gradient top");
    ExpectNear(PixelAt(s, 290, 33), Over(R(sk.accentDark), R(sk.background), a),
               Over(G(sk.accentDark), G(sk.background), a), Over(B(sk.accentDark), B(sk.background), a), barA, 6,
               "gradient bottom");
    // Hover cell of item 1, away from its name.
    ExpectNear(PixelAt(s, 150, 112), Over(R(sk.highlight), R(sk.background), a),
               Over(G(sk.highlight), G(sk.background), a), Over(B(sk.highlight), B(sk.background), a), barA, 3,
               "hover");
    // White text: in the title, and under the icon of item 0.
    EXPECT_GT(BrightPixels(s, 8, 4, 160, 30, 100), 20) << "title text";
    EXPECT_GT(BrightPixels(s, 8, 78, 76, 100, 80), 10) << "item name";
    // The icon is drawn opaque: pixels of full alpha inside its rectangle only.
    int opaque = 0;
    for (int y = 44; y < 76; ++y)
        for (int x = 26; x < 58; ++x)
            if (PixelAt(s, x, y).a >= 250) ++opaque;
    EXPECT_GT(opaque, 50) << "icon of item 0";

    // Without formats the same regions hold no text pixels: they came from the text.
    ASSERT_TRUE(RenderSurface(&s, scene, nullptr, nullptr, nullptr));
    EXPECT_EQ(BrightPixels(s, 8, 4, 160, 30, 100), 0);
    EXPECT_EQ(BrightPixels(s, 8, 78, 76, 100, 80), 0);
    RebuildBoxFormats(&fmt);
    ReleaseBoxRender(&fmt);
    FreeSurface(&s);
}

TEST_F(RenderWin, NameFormatSizeAtCreationAndAfterARebuild) {
    g_fontSize = 8;
    HWND w = MakeTestBoxWindow(0, 0, 200, 100);
    BoxWin box;
    box.hwnd = w;
    box.width = 200;
    box.height = 100;
    ASSERT_TRUE(InitBoxFallback(&box));
    ASSERT_NE(box.nameFormat, nullptr);
    EXPECT_FLOAT_EQ(box.titleFormat->GetFontSize(), 8);
    EXPECT_FLOAT_EQ(box.nameFormat->GetFontSize(), 6);
    EXPECT_EQ(box.nameFormat->GetTextAlignment(), DWRITE_TEXT_ALIGNMENT_CENTER);
    EXPECT_EQ(box.titleFormat->GetParagraphAlignment(), DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
    g_boxes.push_back(&box);
    g_fontName = L"Arial";
    RebuildAllFormats();
    EXPECT_FLOAT_EQ(box.nameFormat->GetFontSize(), 7);
    wchar_t family[64] = {};
    box.titleFormat->GetFontFamilyName(family, 64);
    EXPECT_STREQ(family, L"Arial") << "a rebuild takes the current font name";
    ReleaseBoxRender(&box);
    EXPECT_EQ(box.fallback, nullptr);
    EXPECT_EQ(box.titleFormat, nullptr);
    DestroyWindow(w);
}

TEST_F(RenderWin, LayeredBoxDrawsResizesAndCollapses) {
    HWND w = MakeTestBoxWindow(300, 200, 324, 210);
    BoxWin box;
    box.key = L"文档";
    box.hwnd = w;
    box.items = items;
    box.width = 324;
    box.height = 210;
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&box));
    ASSERT_TRUE(InitBoxFallback(&box));
    ASSERT_TRUE(box.fallback->layered);
    EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED);
    ShowWindow(w, SW_SHOWNA);
    DrawBox(&box);
    EXPECT_EQ(PixelAt(*box.fallback, 300, 180).a, 130) << "body at the box opacity";

    const struct {
        int w, h, expectW, expectH;
    } sizes[] = {{400, 300, 400, 300}, {0, 50, 400, 300}, {50, -1, 400, 300}, {400, 36, 400, 36}, {400, 360, 400, 360}};
    for (const auto& c : sizes) {
        SetWindowPos(w, nullptr, 0, 0, c.expectW, c.expectH, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ResizeBoxRender(&box, c.w, c.h);
        EXPECT_EQ(box.width, c.expectW) << c.w << "x" << c.h;
        EXPECT_EQ(box.height, c.expectH) << c.w << "x" << c.h;
        EXPECT_EQ(box.fallback->w, c.expectW);
        EXPECT_EQ(box.fallback->h, c.expectH);
        EXPECT_EQ(PixelAt(*box.fallback, c.expectW - 20, c.expectH - 2).a, 130) << "redrawn at the new size";
    }
    // Collapsed at 36: rows 34 and 35 are body, nothing of the items.
    box.collapsed = true;
    ResizeBoxRender(&box, 400, 36);
    EXPECT_EQ(PixelAt(*box.fallback, 200, 35).a, Over(255, 255, 130 / 255.0f)) << "outline along the bottom";
    EXPECT_EQ(PixelAt(*box.fallback, 200, 34).a, 130) << "body below the bar";

    // Where the window cannot be layered the picture is drawn opaque for WM_PAINT.
    box.collapsed = false;
    box.fallback->layered = false;
    ResizeBoxRender(&box, 324, 210);
    EXPECT_EQ(PixelAt(*box.fallback, 300, 180).a, 255);
    HDC dc = GetDC(w);
    PaintBoxWindow(&box, dc);
    ReleaseDC(w, dc);

    ReleaseBoxRender(&box);
    EXPECT_EQ(box.fallback, nullptr);
    DrawBox(&box); // nothing left to draw with: no effect, no crash
    DestroyWindow(w);
}

TEST_F(RenderWin, UnchangedPicturesAreNotDrawnAgain) {
    HWND w = MakeTestBoxWindow(300, 200, 324, 210);
    BoxWin box;
    box.key = L"文档";
    box.hwnd = w;
    box.items = items;
    box.width = 324;
    box.height = 210;
    ASSERT_TRUE(InitBoxFallback(&box));
    ShowWindow(w, SW_SHOWNA);
    g_boxes.push_back(&box);
    DrawBox(&box);
    // In cell 2: a hover change draws only the cells it left and entered.
    auto* px = static_cast<uint8_t*>(box.fallback->bits) + (60 * 324 + 200) * 4;
    const struct {
        const char* what;
        std::function<void()> change;
        bool redrawn;
    } steps[] = {
        {"nothing changed", [] {}, false},
        {"hover", [&] { box.hoverIdx = 2; }, true},
        {"same hover again", [] {}, false},
        {"opacity", [&] { g_alpha = 200; }, true},
        {"font rebuilt", [] { RebuildAllFormats(); }, true},
        {"icons flushed", [] { FlushIconBitmaps(); }, true},
        {"scroll", [&] { box.scrollY = 10; }, true},
    };
    for (const auto& st : steps) {
        px[3] = 7; // a mark no drawing leaves there
        st.change();
        DrawBox(&box);
        EXPECT_EQ(px[3] != 7, st.redrawn) << st.what;
    }
    g_boxes.clear();
    ReleaseBoxRender(&box);
    DestroyWindow(w);
}

TEST_F(RenderWin, RenderAllTracksThePointer) {
    HWND w = MakeTestBoxWindow(400, 300, 324, 210);
    BoxWin box;
    box.key = L"图片";
    box.hwnd = w;
    box.items = items;
    box.width = 324;
    box.height = 210;
    ASSERT_TRUE(InitBoxFallback(&box));
    ShowWindow(w, SW_SHOWNA);
    g_boxes.push_back(&box);
    const struct {
        int x, y, expected;
    } points[] = {
        {400 + 90, 300 + 50, 1},  // inside cell 1
        {400 + 10, 300 + 130, 4}, // row two
        {400 + 90, 300 + 20, -1}, // title zone
        {400 + 80, 300 + 50, -1}, // gap between cells
        {100, 100, -1},           // outside every box
    };
    for (const auto& p : points) {
        SetCursorPos(p.x, p.y);
        POINT at = {};
        GetCursorPos(&at);
        if (at.x != p.x || at.y != p.y) GTEST_SKIP() << "the pointer cannot be moved on this display";
        box.hoverIdx = 99;
        RenderAll();
        EXPECT_EQ(box.hoverIdx, p.expected) << p.x << "," << p.y;
    }
    g_boxes.clear();
    ReleaseBoxRender(&box);
    DestroyWindow(w);
}

TEST_F(RenderWin, IconBitmapsAreCachedUntilFlushed) {
    HICON app = LoadIconW(nullptr, IDI_APPLICATION);
    ID2D1Bitmap* first = FallbackIcon(app);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(FallbackIcon(app), first);
    D2D1_SIZE_U size = first->GetPixelSize();
    EXPECT_EQ(size.width, 32u);
    FlushIconBitmaps();
    g_iconSize = 48;
    ID2D1Bitmap* again = FallbackIcon(app);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetPixelSize().width, 48u) << "remade at the new icon size after the flush";
    EXPECT_EQ(FallbackIcon(nullptr), nullptr);
    BoxWin bare;
    EXPECT_EQ(IconToD2D(&bare, app), nullptr) << "a box without a drawing target makes no bitmap";
}

TEST_F(RenderWin, SkinBrushFollowsTheSkin) {
    for (int skin : {2, 1}) {
        g_skinIndex = skin;
        UpdateSkinBrush();
        LOGBRUSH lb = {};
        ASSERT_NE(g_skinBgBrush, nullptr);
        ASSERT_EQ(GetObjectW(g_skinBgBrush, sizeof lb, &lb), static_cast<int>(sizeof lb));
        EXPECT_EQ(lb.lbColor, g_skins[skin].background);
    }
}

} // namespace

namespace {

// An icon with a colour bitmap but no alpha channel: left half opaque red, right half transparent.
HICON MaskOnlyIcon() {
    std::vector<uint32_t> color(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 16; ++x) color[static_cast<size_t>(y * 32 + x)] = 0x00FF0000; // red, alpha 0
    std::vector<uint8_t> mask(32 * 4);
    for (int y = 0; y < 32; ++y) mask[static_cast<size_t>(y * 4 + 2)] = mask[static_cast<size_t>(y * 4 + 3)] = 0xFF;
    ICONINFO ii = {};
    ii.fIcon = TRUE;
    ii.hbmColor = CreateBitmap(32, 32, 1, 32, color.data());
    ii.hbmMask = CreateBitmap(32, 32, 1, 1, mask.data());
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);
    return icon;
}

TEST(RenderWinIcons, IconWithoutAlphaTakesItsMask) {
    InitDCompInfra();
    ResetSettingsToDefaults();
    HICON icon = MaskOnlyIcon();
    ASSERT_NE(icon, nullptr);
    BoxSurface s;
    ASSERT_TRUE(MakeSurfaceBitmap(&s, 60, 60));
    std::vector<DrawOp> scene(3);
    scene[0].kind = DrawKind::Clear;
    scene[1].kind = DrawKind::Fill;
    scene[1].rect = RectF{0, 0, 60, 60};
    scene[1].color = ColorF{0, 0, 1, 0.5f};
    scene[2].kind = DrawKind::Icon;
    scene[2].rect = RectF{10, 10, 42, 42};
    scene[2].item = 0;
    ASSERT_TRUE(RenderSurface(&s, scene, nullptr, nullptr, [&](int) { return FallbackIcon(icon); }));
    ExpectNear(PixelAt(s, 15, 20), 255, 0, 0, 255, 2, "opaque half of the icon");
    ExpectNear(PixelAt(s, 35, 20), 0, 0, 128, 128, 2, "transparent half shows the body");
    FreeSurface(&s);
    FlushIconBitmaps();
    DestroyIcon(icon);
}

} // namespace

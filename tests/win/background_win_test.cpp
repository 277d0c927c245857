// The background picture in a box's body, drawn on the bitmap path.
#include <gtest/gtest.h>

#include <cmath>

#include "boxes/box_win.h"
#include "render/fallback_win.h"
#include "render/render_win.h"
#include "render/skins.h"
#include "settings/settings.h"
#include "win/fs_fixture.h"
#include "win/render_test_util.h"

#include <gdiplus.h>

namespace {

// A w x h 24-bit BMP whose left half is red and right half blue.
std::string TwoColourBmp(int w, int h) {
    const int stride = (w * 3 + 3) & ~3;
    std::string px(static_cast<size_t>(stride) * h, '\0');
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px[static_cast<size_t>(y * stride + x * 3 + (x < w / 2 ? 2 : 0))] = '\xFF';
    std::string f = "BM";
    auto put = [&f](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) f += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put(54 + static_cast<uint32_t>(px.size()), 4), put(0, 4), put(54, 4);
    put(40, 4), put(static_cast<uint32_t>(w), 4), put(static_cast<uint32_t>(h), 4), put(1, 2), put(24, 2);
    put(0, 4), put(static_cast<uint32_t>(px.size()), 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
    return f + px;
}

TEST(BackgroundWin, PictureCoversTheBodyAtTheBoxOpacity) {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    InitDCompInfra();
    ResetSettingsToDefaults();
    wt::TempDir tmp(L"bgdraw");
    ASSERT_TRUE(wt::WriteBytes(tmp / L"图.bmp", TwoColourBmp(40, 30)));
    ASSERT_TRUE(wt::WriteBytes(tmp / L"x.png", "not a picture"));

    HWND w = MakeTestBoxWindow(300, 200, 324, 210);
    BoxWin box;
    box.key = L"文档";
    box.hwnd = w;
    box.items = {Item{L"a.txt", L"C:\\nowhere\\a.txt", false, L".txt"}};
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&box));
    box.width = 324;
    box.height = 210;
    ASSERT_TRUE(InitBoxFallback(&box));
    DrawBox(&box);
    const Bgra plain = PixelAt(*box.fallback, 300, 180);

    const float a = 130 / 255.0f;
    const Skin& sk = SkinAt(g_skinIndex);
    // The picture at opacity a over the body (itself at opacity a), premultiplied.
    auto over = [a](int pic, int body) { return static_cast<int>(std::lround(pic * a + body * a * (1 - a))); };
    const int alpha = static_cast<int>(std::lround(255 * (a + a * (1 - a))));
    struct Probe {
        int x, y;
        int r, b;
    } probes[] = {{300, 180, over(0, sk.background & 0xFF), over(255, (sk.background >> 16) & 0xFF)},
                  {10, 205, over(255, sk.background & 0xFF), over(0, (sk.background >> 16) & 0xFF)},
                  {300, 40, over(0, sk.background & 0xFF), over(255, (sk.background >> 16) & 0xFF)}};
    g_bgImage = tmp / L"图.bmp";
    DrawBox(&box);
    for (const auto& p : probes) {
        const Bgra px = PixelAt(*box.fallback, p.x, p.y);
        EXPECT_NEAR(px.r, p.r, 3) << p.x << "," << p.y;
        EXPECT_NEAR(px.b, p.b, 3) << p.x << "," << p.y;
        EXPECT_NEAR(px.a, alpha, 3) << p.x << "," << p.y;
    }

    g_bgImage = tmp / L"x.png"; // not a picture: the box looks as without one
    DrawBox(&box);
    const Bgra none = PixelAt(*box.fallback, 300, 180);
    EXPECT_EQ(std::vector<int>({none.r, none.g, none.b, none.a}), std::vector<int>({plain.r, plain.g, plain.b, plain.a}));

    ReleaseBoxRender(&box);
    DestroyWindow(w);
    delete g_bgBitmap;
    g_bgBitmap = nullptr;
    ResetSettingsToDefaults();
    Gdiplus::GdiplusShutdown(token);
}

} // namespace

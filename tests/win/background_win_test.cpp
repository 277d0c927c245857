// The background picture in a box's body, drawn on the bitmap path.
#include <gtest/gtest.h>

#include <cmath>

#include "render/background_win.h"
#include "render/box_record_win.h"
#include "render/devices_win.h"
#include "render/fallback_win.h"
#include "render/paint_win.h"
#include "render/skins.h"
#include "settings/settings.h"
#include "win/fs_fixture.h"
#include "win/render_test_util.h"

#include <gdiplus.h>

TEST(BackgroundWin, PictureCoversTheBodyAtTheBoxOpacity) {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    InitDCompInfra(), ResetSettingsToDefaults();
    wt::TempDir tmp(L"bgdraw");
    BoxSurface pic; // 40 x 30: left half red, right half blue
    ASSERT_TRUE(MakeSurfaceBitmap(&pic, 40, 30));
    for (int i = 0; i < 40 * 30; ++i)
        static_cast<uint32_t*>(pic.bits)[i] = i % 40 < 20 ? 0xFFFF0000u : 0xFF0000FFu;
    ASSERT_TRUE(SaveSurfaceBmp(pic, tmp / L"图.bmp"));
    FreeSurface(&pic);
    ASSERT_TRUE(wt::WriteBytes(tmp / L"x.png", "not a picture"));
    BoxWin box;
    box.hwnd = MakeTestBoxWindow(300, 200, 324, 210);
    box.items = {Item{L"a.txt", L"C:\\nowhere\\a.txt", false, L".txt"}};
    SetWindowLongPtrW(box.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&box));
    box.width = 324, box.height = 210;
    ASSERT_TRUE(InitBoxFallback(&box));
    DrawBox(&box);
    const Bgra plain = PixelAt(*box.fallback, 300, 180);
    // The picture at opacity a over the body (itself at opacity a), premultiplied; the picture is
    // wider than the body's shape, so its left half reaches the left edge and its right half the right.
    const float a = 130 / 255.0f;
    const ColorRef bg = SkinAt(g_skinIndex).background;
    auto over = [a](int pic, int body) {
        return static_cast<int>(std::lround(pic * a + body * a * (1 - a)));
    };
    const struct { int x, y, r, b; } probes[] = {{300, 180, over(0, bg & 0xFF), over(255, bg >> 16)},
                  {10, 205, over(255, bg & 0xFF), over(0, bg >> 16)},
                  {300, 40, over(0, bg & 0xFF), over(255, bg >> 16)}};
    g_bgImage = tmp / L"图.bmp";
    StartBgImageDecode(); // decoded on its own thread, as at start
    DrawBox(&box);
    for (const auto& p : probes) {
        const Bgra px = PixelAt(*box.fallback, p.x, p.y);
        EXPECT_NEAR(px.r, p.r, 3) << p.x << "," << p.y;
        EXPECT_NEAR(px.b, p.b, 3) << p.x << "," << p.y;
        EXPECT_NEAR(px.a, std::lround(255 * (a + a * (1 - a))), 3) << p.x << "," << p.y;
    }
    g_bgImage = tmp / L"x.png"; // not a picture: the box looks as without one
    DrawBox(&box);
    const Bgra none = PixelAt(*box.fallback, 300, 180);
    EXPECT_TRUE(none.r == plain.r && none.g == plain.g && none.b == plain.b && none.a == plain.a);
    ReleaseBoxRender(&box);
    DestroyWindow(box.hwnd);
    ResetSettingsToDefaults();
    Gdiplus::GdiplusShutdown(token);
}

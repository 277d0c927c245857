#include <gtest/gtest.h>

#include "render/fallback_win.h"
#include "render/render_win.h"
#include "settings/settings.h"
#include "win/fs_fixture.h"
#include "win/render_test_util.h"

#include <gdiplus.h>

TEST(RenderBgImage, OneEntryCacheOfTheDecodedPicture) {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    wt::TempDir tmp(L"bg");
    const std::wstring& dir = tmp.Path();
    BoxSurface s;
    ASSERT_TRUE(MakeSurfaceBitmap(&s, 40, 30));
    const std::wstring pic = dir + L"\\背景.bmp";
    ASSERT_TRUE(SaveSurfaceBmp(s, pic));
    FreeSurface(&s);

    g_bgImage = pic;
    g_bgImageLoaded.clear();
    LoadBgImage();
    ASSERT_NE(g_bgBitmap, nullptr);
    EXPECT_EQ(g_bgBitmap->GetWidth(), 40u);
    EXPECT_EQ(g_bgImageLoaded, pic);
    Gdiplus::Bitmap* first = g_bgBitmap;
    LoadBgImage();
    EXPECT_EQ(g_bgBitmap, first) << "the same path is not decoded again";

    const struct {
        std::wstring path;
        const char* what;
    } none[] = {{dir + L"\\missing.png", "a file that does not exist"}, {dir + L"\\x.txt", "a file that is no picture"},
                {L"", "no picture set"}};
    FILE* f = _wfopen((dir + L"\\x.txt").c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fputs("not a picture", f);
    fclose(f);
    for (const auto& c : none) {
        g_bgImage = c.path;
        LoadBgImage();
        EXPECT_EQ(g_bgBitmap, nullptr) << c.what;
        EXPECT_EQ(g_bgImageLoaded, c.path) << c.what;
    }
    Gdiplus::GdiplusShutdown(token);
    ResetSettingsToDefaults();
}

#include <gtest/gtest.h>

#include "render/background_win.h"
#include "render/fallback_win.h"
#include "render/picture_decode_win.h"
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
                {dir + L"\\huge.png", "larger than 16,384 pixels on a side"}, {dir + L"\\lies.png", "a header that lies"},
                {L"", "no picture set"}};
    const std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
    ASSERT_TRUE(wt::WriteBytes(dir + L"\\huge.png", png + std::string("\0\0\x40\x01\0\0\0\x01\x08\x02\0\0\0", 13)));
    ASSERT_TRUE(wt::WriteBytes(dir + L"\\lies.png", png + std::string("\0\0\0\x10\0\0\0\x10\x08\x02\0\0\0junk", 17)));
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
    EXPECT_EQ(wt::ReadDebugLog().end()[-2], L"BGIMAGE not shown, 16385x1 is larger than 16384 on a side [" + dir + L"\\huge.png]");
    // Decoded just large enough to cover the screen.
    ASSERT_TRUE(MakeSurfaceBitmap(&s, 400, 300) && SaveSurfaceBmp(s, pic));
    FreeSurface(&s);
    Gdiplus::Bitmap* scaled = DecodeBoundedPicture(pic, 100, 50);
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(std::make_pair(scaled->GetWidth(), scaled->GetHeight()), std::make_pair(100u, 75u));
    delete scaled;
    Gdiplus::GdiplusShutdown(token);
    ResetSettingsToDefaults();
}

#include <gtest/gtest.h>

#include "render/background_win.h"
#include "render/fallback_win.h"
#include "render/picture_decode_win.h"
#include "settings/settings.h"
#include "win/fs_fixture.h"
#include "win/render_test_util.h"

#include <gdiplus.h>

#include <vector>

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

// A PNG as the platform writes it (compressed, filtered rows) comes out pixel for pixel.
TEST(RenderBgImage, APngIsDecodedRowByRowExactly) {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    wt::TempDir tmp(L"png");
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> codecs(size);
    auto* info = reinterpret_cast<Gdiplus::ImageCodecInfo*>(codecs.data());
    Gdiplus::GetImageEncoders(count, size, info);
    CLSID png = {};
    for (UINT i = 0; i < count; ++i)
        if (std::wstring(info[i].MimeType) == L"image/png") png = info[i].Clsid;
    const auto color = [](int x, int y) { return Gdiplus::Color(255, x * 7 & 255, y * 11 & 255, x * y & 255); };
    {
        Gdiplus::Bitmap pattern(301, 67, PixelFormat32bppARGB);
        for (int y = 0; y < 67; ++y)
            for (int x = 0; x < 301; ++x) pattern.SetPixel(x, y, color(x, y));
        ASSERT_EQ(pattern.Save((tmp / L"图.png").c_str(), &png, nullptr), Gdiplus::Ok);
    }
    Gdiplus::Bitmap* decoded = DecodeBoundedPicture(tmp / L"图.png", 1600, 900);
    ASSERT_NE(decoded, nullptr);
    ASSERT_EQ(decoded->GetWidth() * 1000 + decoded->GetHeight(), 301067u);
    int wrong = 0;
    for (int y = 0; y < 67; ++y)
        for (int x = 0; x < 301; ++x) {
            Gdiplus::Color got;
            decoded->GetPixel(x, y, &got);
            wrong += got.GetValue() != color(x, y).GetValue();
        }
    EXPECT_EQ(wrong, 0);
    delete decoded;
    Gdiplus::GdiplusShutdown(token);
}

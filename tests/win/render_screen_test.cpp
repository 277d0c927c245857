// A box drawn without composition is visible on the screen: a popup window with a few items goes
// through InitBoxFallback and DrawBox, and the screen is read back where the box lies.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "render/box_record_win.h"
#include "render/devices_win.h"
#include "render/fallback_win.h"
#include "render/paint_win.h"
#include "settings/settings.h"
#include "win/render_test_util.h"

namespace {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The screen (what the display shows) w x h from (x, y) into a surface.
bool CaptureScreen(int x, int y, int w, int h, BoxSurface* out) {
    if (!MakeSurfaceBitmap(out, w, h)) return false;
    HDC screen = GetDC(nullptr);
    const BOOL ok = BitBlt(out->dc, 0, 0, w, h, screen, x, y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    return ok != FALSE;
}

TEST(RenderWinScreen, FallbackBoxIsVisible) {
    InitDCompInfra();
    ResetSettingsToDefaults();
    const int X = 200, Y = 150, W = 324, H = 210;
    HWND w = MakeTestBoxWindow(X, Y, W, H);
    ASSERT_NE(w, nullptr);
    BoxWin box;
    box.key = L"文档";
    box.hwnd = w;
    box.width = W;
    box.height = H;
    for (const wchar_t* n : {L"年度报告.docx", L"会议纪要.txt", L"readme.md", L"预算表.xlsx", L"照片说明.txt"})
        box.items.push_back(Item{n, std::wstring(L"C:\\nowhere\\") + n, false, L".txt"});
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&box));
    ASSERT_TRUE(InitBoxFallback(&box));
    ShowWindow(w, SW_SHOWNA);
    DrawBox(&box);

    BoxSurface shot;
    bool seen = false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!seen && std::chrono::steady_clock::now() < end) {
        Pump();
        DrawBox(&box);
        ASSERT_TRUE(CaptureScreen(X, Y, W, H, &shot));
        const Bgra bar = PixelAt(shot, W - 20, 10);
        seen = bar.b > bar.r + 40; // the blue title bar of the default skin
        if (!seen) MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    if (const char* path = std::getenv("BC_RENDER_SCREEN")) SaveSurfaceBmp(shot, std::wstring(path, path + strlen(path)));
    EXPECT_TRUE(seen) << "title bar not on the screen";
    const Bgra body = PixelAt(shot, W - 20, H - 20);
    const Bgra bar = PixelAt(shot, W - 20, 10);
    EXPECT_NE(body.b, bar.b) << "body and bar differ";
    // Text of the title: some pixels much lighter than the bar around them.
    int light = 0;
    for (int y = 5; y < 30; ++y)
        for (int x = 8; x < 80; ++x)
            if (PixelAt(shot, x, y).r > bar.r + 60) ++light;
    EXPECT_GT(light, 10) << "title text on the screen";
    FreeSurface(&shot);
    ReleaseBoxRender(&box);
    DestroyWindow(w);
}

} // namespace


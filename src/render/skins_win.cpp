// The skin's dialog brush and the background picture cache.
#include "render/picture_decode_win.h"
#include "render/render_win.h"
#include "render/skins.h"
#include "settings/settings.h"

#include <gdiplus.h>

HBRUSH g_skinBgBrush = nullptr;
Gdiplus::Bitmap* g_bgBitmap = nullptr;
int g_bgGeneration = 0;

void UpdateSkinBrush() {
    if (g_skinBgBrush) {
        DeleteObject(g_skinBgBrush);
        g_skinBgBrush = nullptr;
    }
    g_skinBgBrush = CreateSolidBrush(SkinAt(g_skinIndex).background);
}

void ForgetBgImage() {
    delete g_bgBitmap;
    g_bgBitmap = nullptr;
    g_bgImageLoaded.clear();
    ++g_bgGeneration;
}

void LoadBgImage() {
    if (g_bgImageLoaded == g_bgImage) return;
    delete g_bgBitmap;
    g_bgBitmap = nullptr;
    g_bgImageLoaded = g_bgImage;
    ++g_bgGeneration;
    if (g_bgImage.empty()) return;
    g_bgBitmap = DecodeBoundedPicture(g_bgImage, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

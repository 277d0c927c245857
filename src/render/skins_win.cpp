// The skin's dialog brush and the background picture cache.
#include "render/picture_decode_win.h"
#include "render/render_win.h"
#include "render/skins.h"
#include "settings/settings.h"

#include <gdiplus.h>

#include <utility>

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

namespace {

// The picture decoded at start on a thread of its own, beside the scan and the first drawing; the
// first LoadBgImage waits for it and takes it when it is still the picture asked for.
struct StartDecode {
    std::wstring path;
    int w = 0, h = 0;
    Gdiplus::Bitmap* picture = nullptr;
    HANDLE thread = nullptr;
} g_startDecode;

DWORD WINAPI DecodeAtStart(void*) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    g_startDecode.picture = DecodeBoundedPicture(g_startDecode.path, g_startDecode.w, g_startDecode.h);
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}

Gdiplus::Bitmap* TakeStartDecode(const std::wstring& path) {
    if (!g_startDecode.thread) return nullptr;
    WaitForSingleObject(g_startDecode.thread, INFINITE);
    CloseHandle(g_startDecode.thread);
    Gdiplus::Bitmap* picture = std::exchange(g_startDecode.picture, nullptr);
    if (g_startDecode.path != path) delete picture, picture = nullptr;
    g_startDecode = StartDecode();
    return picture;
}

} // namespace

void StartBgImageDecode() {
    if (g_bgImage.empty() || g_startDecode.thread || g_bgImageLoaded == g_bgImage) return;
    g_startDecode.path = g_bgImage;
    g_startDecode.w = GetSystemMetrics(SM_CXSCREEN);
    g_startDecode.h = GetSystemMetrics(SM_CYSCREEN);
    g_startDecode.thread = CreateThread(nullptr, 0, DecodeAtStart, nullptr, 0, nullptr);
}

void LoadBgImage() {
    if (g_bgImageLoaded == g_bgImage) return;
    Gdiplus::Bitmap* decoded = TakeStartDecode(g_bgImage);
    delete g_bgBitmap;
    g_bgBitmap = nullptr;
    g_bgImageLoaded = g_bgImage;
    ++g_bgGeneration;
    if (g_bgImage.empty()) return;
    g_bgBitmap = decoded ? decoded
                         : DecodeBoundedPicture(g_bgImage, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

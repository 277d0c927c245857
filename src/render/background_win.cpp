#include "render/background_win.h"

#include <utility>
#include <vector>

#include "base/com_win.h"
#include "render/picture_decode_win.h"
#include "settings/settings.h"

#include <d2d1_1.h>
#include <gdiplus.h>

namespace {

int g_bgGeneration = 0; // counts the pictures LoadBgImage has loaded

struct DeviceBitmap {
    ComPtr<IUnknown> device; // the Direct2D device (or the target itself) the bitmap belongs to
    ComPtr<ID2D1Bitmap> bitmap;
};

struct Picture {
    Gdiplus::Bitmap* source = nullptr; // the decoded picture the pixels come from
    int generation = -1;
    int w = 0;
    int h = 0;
    std::vector<unsigned char> pixels; // premultiplied BGRA, top-down
    std::vector<DeviceBitmap> bitmaps;
};

Picture g_picture;

// The decoded picture is already bounded and premultiplied (DecodeBoundedPicture): its rows are copied.
bool Convert(Gdiplus::Bitmap* src, Picture& out) {
    const int w = static_cast<int>(src->GetWidth()), h = static_cast<int>(src->GetHeight());
    if (w < 1 || h < 1) return false;
    Gdiplus::Rect all(0, 0, w, h);
    Gdiplus::BitmapData data = {};
    if (src->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) != Gdiplus::Ok) return false;
    out.pixels.resize(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        const auto* row =
            static_cast<const unsigned char*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
        std::copy(row, row + static_cast<size_t>(w) * 4,
                  out.pixels.begin() + static_cast<ptrdiff_t>(y) * w * 4);
    }
    src->UnlockBits(&data);
    out.w = w;
    out.h = h;
    return true;
}

// The current picture's pixels, converted once per loaded picture; false when there is none.
bool CurrentPicture() {
    LoadBgImage();
    if (!g_bgBitmap) {
        g_picture = Picture(); // the pixels and bitmaps of a cleared picture are let go
        return false;
    }
    if (g_picture.source != g_bgBitmap || g_picture.generation != g_bgGeneration) {
        g_picture = Picture();
        g_picture.source = g_bgBitmap;
        g_picture.generation = g_bgGeneration;
        if (!Convert(g_bgBitmap, g_picture)) g_picture.w = g_picture.h = 0;
    }
    return g_picture.w > 0;
}

// Bitmaps made by one device context serve every context of its device; other targets own theirs.
ComPtr<IUnknown> DeviceOf(ID2D1RenderTarget* rt) {
    ComPtr<IUnknown> device;
    ComPtr<ID2D1DeviceContext> dc;
    if (SUCCEEDED(rt->QueryInterface(__uuidof(ID2D1DeviceContext), dc.put_void()))) {
        ComPtr<ID2D1Device> d;
        dc->GetDevice(d.put());
        if (d && SUCCEEDED(d->QueryInterface(__uuidof(IUnknown), device.put_void()))) return device;
    }
    rt->QueryInterface(__uuidof(IUnknown), device.put_void());
    return device;
}

} // namespace

void SetSceneBackground(BoxSceneInput& in) {
    const bool shown = CurrentPicture();
    in.bgWidth = shown ? g_picture.w : 0;
    in.bgHeight = shown ? g_picture.h : 0;
    in.bgId = g_picture.generation;
}

ID2D1Bitmap* BackgroundBitmap(ID2D1RenderTarget* rt, int id) {
    if (!rt || !g_bgBitmap || g_picture.source != g_bgBitmap || g_picture.generation != id || g_picture.w < 1)
        return nullptr;
    ComPtr<IUnknown> device = DeviceOf(rt);
    if (!device) return nullptr;
    for (const DeviceBitmap& b : g_picture.bitmaps)
        if (b.device.get() == device.get()) return b.bitmap.get();
    D2D1_BITMAP_PROPERTIES props;
    props.pixelFormat.format = DXGI_FORMAT_B8G8R8A8_UNORM;
    props.pixelFormat.alphaMode = D2D1_ALPHA_MODE_PREMULTIPLIED;
    props.dpiX = 96;
    props.dpiY = 96;
    DeviceBitmap made;
    if (FAILED(rt->CreateBitmap(
            D2D1::SizeU(static_cast<UINT32>(g_picture.w), static_cast<UINT32>(g_picture.h)),
            g_picture.pixels.data(), static_cast<UINT32>(g_picture.w) * 4, &props, made.bitmap.put())))
        return nullptr;
    // Targets come and go (a lost device, a new shared target): keep the few most recent.
    if (g_picture.bitmaps.size() >= 4) g_picture.bitmaps.erase(g_picture.bitmaps.begin());
    made.device = std::move(device);
    g_picture.bitmaps.push_back(std::move(made));
    return g_picture.bitmaps.back().bitmap.get();
}

void ForgetBackgroundBitmaps() { g_picture.bitmaps.clear(); }

Gdiplus::Bitmap* g_bgBitmap = nullptr;

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

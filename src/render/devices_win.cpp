// Shared graphics devices and the composition surface of each box.
#include "render/devices_win.h"

#include "base/com_win.h"
#include "boxes/box_win.h"
#include "render/fallback_win.h"
#include "render/render_win.h"
#include "render/scene.h"
#include "settings/settings.h"

ID3D11Device* g_d3d = nullptr;
ID3D11DeviceContext* g_d3dCtx = nullptr;
ID2D1Factory1* g_d2dF = nullptr;
ID2D1Device* g_d2dDev = nullptr;
IDWriteFactory* g_dw = nullptr;
IDCompositionDevice* g_dcomp = nullptr;

namespace {

ID2D1Factory* g_d2dF10 = nullptr; // only where the 1.1 factory cannot be made

using DCompCreateFn = HRESULT(WINAPI*)(IDXGIDevice*, REFIID, void**);

// dcomp.dll exists from Windows 8 on; it is loaded from the system folder only, and only by name here,
// so the program still starts where it is missing.
DCompCreateFn LoadDCompCreate() {
    wchar_t dir[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(dir) + L"\\dcomp.dll";
    HMODULE dll = LoadLibraryW(path.c_str());
    if (!dll) return nullptr;
    return reinterpret_cast<DCompCreateFn>(
        reinterpret_cast<void*>(GetProcAddress(dll, "DCompositionCreateDevice")));
}

HRESULT MakeD3DDevice(D3D_DRIVER_TYPE type) {
    const D3D_FEATURE_LEVEL levels[] = {D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_1};
    return D3D11CreateDevice(nullptr, type, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT, levels, 2, D3D11_SDK_VERSION,
                             &g_d3d, nullptr, &g_d3dCtx);
}

DXGI_SWAP_CHAIN_DESC1 SwapChainDesc(int w, int h) {
    DXGI_SWAP_CHAIN_DESC1 d = {};
    d.Width = static_cast<UINT>(w);
    d.Height = static_cast<UINT>(h);
    d.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    d.Stereo = FALSE;
    d.SampleDesc.Count = 1;
    d.SampleDesc.Quality = 0;
    d.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
    d.BufferCount = 2;
    d.Scaling = DXGI_SCALING_STRETCH;
    d.SwapEffect = DXGI_SWAP_EFFECT_FLIP_DISCARD;
    d.AlphaMode = DXGI_ALPHA_MODE_PREMULTIPLIED;
    d.Flags = 0;
    return d;
}

IDXGISwapChain1* MakeSwapChain(int w, int h) {
    ComPtr<IDXGIDevice> dxgi;
    if (FAILED(g_d3d->QueryInterface(__uuidof(IDXGIDevice), dxgi.put_void()))) return nullptr;
    ComPtr<IDXGIAdapter> adapter;
    if (FAILED(dxgi->GetAdapter(adapter.put()))) return nullptr;
    ComPtr<IDXGIFactory2> factory;
    if (FAILED(adapter->GetParent(__uuidof(IDXGIFactory2), factory.put_void()))) return nullptr;
    const DXGI_SWAP_CHAIN_DESC1 desc = SwapChainDesc(w, h);
    IDXGISwapChain1* chain = nullptr;
    if (FAILED(factory->CreateSwapChainForComposition(g_d3d, &desc, nullptr, &chain))) return nullptr;
    return chain;
}

// Points the box's device context at back buffer 0 of its swap chain.
bool AttachBackBuffer(BoxWin* box) {
    ComPtr<IDXGISurface> surface;
    if (FAILED(box->swapChain->GetBuffer(0, __uuidof(IDXGISurface), surface.put_void()))) return false;
    D2D1_BITMAP_PROPERTIES1 props = {};
    props.pixelFormat.format = DXGI_FORMAT_B8G8R8A8_UNORM;
    props.pixelFormat.alphaMode = D2D1_ALPHA_MODE_PREMULTIPLIED;
    props.dpiX = 0;
    props.dpiY = 0;
    props.bitmapOptions = D2D1_BITMAP_OPTIONS_TARGET | D2D1_BITMAP_OPTIONS_CANNOT_DRAW;
    props.colorContext = nullptr;
    if (FAILED(box->d2dCtx->CreateBitmapFromDxgiSurface(surface.get(), &props, &box->targetBitmap))) {
        box->targetBitmap = nullptr;
        return false;
    }
    box->d2dCtx->SetTarget(box->targetBitmap);
    return true;
}

IDWriteTextFormat* MakeFormat(float size, bool forNames) {
    IDWriteTextFormat* f = nullptr;
    if (FAILED(g_dw->CreateTextFormat(g_fontName.c_str(), nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
                                      DWRITE_FONT_STRETCH_NORMAL, size, L"zh-CN", &f)))
        return nullptr;
    if (forNames) {
        f->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER);
        f->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_NEAR);
        f->SetWordWrapping(DWRITE_WORD_WRAPPING_WRAP);
    } else {
        f->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_LEADING);
        f->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
    }
    return f;
}

void ReleaseComposition(BoxWin* box) {
    if (box->d2dCtx) box->d2dCtx->SetTarget(nullptr);
    if (box->dcTarget) box->dcTarget->SetRoot(nullptr);
    SafeRelease(box->dcVisual);
    SafeRelease(box->dcTarget);
    SafeRelease(box->targetBitmap);
    SafeRelease(box->brush);
    SafeRelease(box->d2dCtx);
    SafeRelease(box->swapChain);
}

// A swap chain that could not get back its buffers after a resize is replaced by a new one of the
// box's size, shown by the same visual.
bool ReplaceSwapChain(BoxWin* box) {
    if (!box->dcVisual || !g_dcomp) return false;
    IDXGISwapChain1* chain = MakeSwapChain(box->width, box->height);
    if (!chain) return false;
    if (FAILED(box->dcVisual->SetContent(chain))) {
        chain->Release();
        return false;
    }
    SafeRelease(box->swapChain);
    box->swapChain = chain;
    g_dcomp->Commit();
    return AttachBackBuffer(box);
}

} // namespace

ID2D1Factory* AnyD2DFactory() {
    if (g_d2dF) return g_d2dF;
    if (!g_d2dF10) D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                                     reinterpret_cast<void**>(&g_d2dF10));
    return g_d2dF10;
}

void MakeBoxFormats(BoxWin* box, bool rebuilt) {
    SafeRelease(box->titleFormat);
    SafeRelease(box->nameFormat);
    ForgetBoxPicture(box);
    if (!g_dw) return;
    box->titleFormat = MakeFormat(static_cast<float>(g_fontSize), false);
    box->nameFormat = MakeFormat(static_cast<float>(NameFontSize(g_fontSize, rebuilt)), true);
}

namespace {

void ReleaseCompositionDevices() {
    SafeRelease(g_dcomp);
    SafeRelease(g_d2dDev);
    SafeRelease(g_d3dCtx);
    SafeRelease(g_d3d);
}

// The devices composition needs, all or none, made only once composition itself has answered: a
// Direct3D device costs much memory and start-up time, and a system whose composition fails only
// when used (a library that loads but cannot make a device) would carry it for nothing.
bool MakeCompositionDevices() {
    DCompCreateFn create = LoadDCompCreate();
    if (!create || FAILED(create(nullptr, __uuidof(IDCompositionDevice), reinterpret_cast<void**>(&g_dcomp)))) {
        g_dcomp = nullptr;
        return false;
    }
    // Without a hardware device the software rasteriser still gives composition a device.
    if (FAILED(MakeD3DDevice(D3D_DRIVER_TYPE_HARDWARE))) {
        g_d3d = nullptr;
        g_d3dCtx = nullptr;
        if (FAILED(MakeD3DDevice(D3D_DRIVER_TYPE_WARP))) {
            g_d3d = nullptr;
            g_d3dCtx = nullptr;
        }
    }
    if (g_d3d && g_d2dF) {
        ComPtr<IDXGIDevice> dxgi;
        if (SUCCEEDED(g_d3d->QueryInterface(__uuidof(IDXGIDevice), dxgi.put_void())) &&
            FAILED(g_d2dF->CreateDevice(dxgi.get(), &g_d2dDev)))
            g_d2dDev = nullptr;
    }
    if (g_d3d && g_d2dDev) return true;
    ReleaseCompositionDevices();
    return false;
}

// Swap chain, device context, target bitmap, brush and composition wiring of one box. False when
// any of them cannot be made: a box without its brush would be attached and never drawn.
bool AttachComposition(BoxWin* box) {
    if (!box || !box->hwnd || !g_d3d || !g_dcomp || !g_d2dDev) return false;
    bool ok = (box->swapChain = MakeSwapChain(box->width, box->height)) != nullptr;
    ok = ok && SUCCEEDED(g_d2dDev->CreateDeviceContext(D2D1_DEVICE_CONTEXT_OPTIONS_NONE, &box->d2dCtx));
    ok = ok && AttachBackBuffer(box);
    const D2D1_COLOR_F white = {1, 1, 1, 1};
    ok = ok && SUCCEEDED(box->d2dCtx->CreateSolidColorBrush(&white, nullptr, &box->brush));
    // A box whose composition cannot be wired would stay empty: it is drawn without composition then.
    ok = ok && SUCCEEDED(g_dcomp->CreateTargetForHwnd(box->hwnd, TRUE, &box->dcTarget)) &&
         SUCCEEDED(g_dcomp->CreateVisual(&box->dcVisual)) && SUCCEEDED(box->dcVisual->SetContent(box->swapChain)) &&
         SUCCEEDED(box->dcTarget->SetRoot(box->dcVisual)) && SUCCEEDED(g_dcomp->Commit());
    if (!ok) ReleaseComposition(box);
    if (ok) ForgetBoxPicture(box); // a new surface shows nothing yet
    return ok;
}

} // namespace

bool InitDCompInfra() {
    // The factories are made whatever happens to composition: boxes drawn without it need them.
    D2D1_FACTORY_OPTIONS opts = {};
    opts.debugLevel = D2D1_DEBUG_LEVEL_NONE;
    if (!g_d2dF && FAILED(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory1), &opts,
                                            reinterpret_cast<void**>(&g_d2dF))))
        g_d2dF = nullptr;
    if (!g_dw && FAILED(DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                            reinterpret_cast<IUnknown**>(&g_dw))))
        g_dw = nullptr;
    if (!g_dcomp) MakeCompositionDevices();
    return g_d3d && g_d2dF && g_d2dDev && g_dw && g_dcomp;
}

bool InitBoxDComp(BoxWin* box) {
    if (!AttachComposition(box)) return false;
    MakeBoxFormats(box, false);
    return true;
}

bool RecoverLostDevice() {
    // Every object made on the old devices goes: surfaces, contexts, brushes and icon bitmaps.
    for (BoxWin* box : g_boxes)
        if (!box->fallback) ReleaseComposition(box);
    FlushIconBitmaps();
    ReleaseCompositionDevices();
    bool all = MakeCompositionDevices();
    for (BoxWin* box : g_boxes) {
        if (box->fallback) continue;
        // A box that cannot compose any more is drawn into its own bitmap instead.
        if (!AttachComposition(box)) {
            all = false;
            InitBoxFallback(box);
        }
    }
    MarkAllBoxesDirty();
    return all;
}

void RebuildBoxFormats(BoxWin* box) {
    if (box) MakeBoxFormats(box, true);
}

void RebuildAllFormats() {
    for (BoxWin* box : g_boxes) RebuildBoxFormats(box);
    MarkAllBoxesDirty();
}

void ResizeBoxRender(BoxWin* box, int w, int h) {
    if (!box || w < 1 || h < 1) return;
    if (box->fallback) {
        ResizeBoxFallback(box, w, h);
        DrawBox(box);
        return;
    }
    if (!box->swapChain || !box->d2dCtx) return;
    box->d2dCtx->SetTarget(nullptr);
    SafeRelease(box->targetBitmap);
    // On failure the buffers keep their old size, and so does the box.
    if (SUCCEEDED(box->swapChain->ResizeBuffers(0, static_cast<UINT>(w), static_cast<UINT>(h), DXGI_FORMAT_UNKNOWN, 0))) {
        box->width = w;
        box->height = h;
    }
    if (!AttachBackBuffer(box)) ReplaceSwapChain(box);
    DrawBox(box);
}

void ReleaseBoxRender(BoxWin* box) {
    if (!box) return;
    ReleaseComposition(box);
    SafeRelease(box->titleFormat);
    SafeRelease(box->nameFormat);
    ReleaseBoxFallback(box);
    ForgetBox(box);
}

bool RecoverBoxTarget(BoxWin* box) {
    if (!box->swapChain || !box->d2dCtx) return false;
    return AttachBackBuffer(box) || ReplaceSwapChain(box);
}

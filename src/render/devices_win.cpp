// Shared graphics devices and the composition surface of each box.
#include "render/devices_win.h"

#include <vector>

#include <d3d11_4.h>

#include "base/com_win.h"
#include "base/log_win.h"
#include "render/box_record_win.h"
#include "render/scene.h"
#include "settings/settings.h"

ID2D1Device* g_d2dDev = nullptr;
IDWriteFactory* g_dw = nullptr;
IDCompositionDevice* g_dcomp = nullptr;

namespace {

ID3D11Device* g_d3d = nullptr;
ID3D11DeviceContext* g_d3dCtx = nullptr;
ID2D1Factory1* g_d2dF = nullptr;

ID2D1Factory* g_d2dF10 = nullptr; // only where the 1.1 factory cannot be made

using DCompCreateFn = HRESULT(WINAPI*)(IDXGIDevice*, REFIID, void**);
using DCompCreate2Fn = HRESULT(WINAPI*)(IUnknown*, REFIID, void**);

// dcomp.dll exists from Windows 8 on; it is loaded from the system folder only, and only by name here,
// so the program still starts where it is missing.
HMODULE LoadDComp() {
    wchar_t dir[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(dir) + L"\\dcomp.dll";
    return LoadLibraryW(path.c_str());
}

// The newer creation function (Windows 8.1 on) takes no rendering device: the device only composes
// swap chains. The first one is used where the newer is missing.
HRESULT SystemCompositionDevice(IDCompositionDevice** out) {
    *out = nullptr;
    HMODULE dll = LoadDComp();
    if (!dll) return E_NOTIMPL;
    HRESULT hr = E_NOTIMPL;
    if (auto create2 = reinterpret_cast<DCompCreate2Fn>(
            reinterpret_cast<void*>(GetProcAddress(dll, "DCompositionCreateDevice2")))) {
        hr = create2(nullptr, __uuidof(IDCompositionDevice), reinterpret_cast<void**>(out));
        if (SUCCEEDED(hr)) return hr;
        *out = nullptr;
    }
    if (auto create = reinterpret_cast<DCompCreateFn>(
            reinterpret_cast<void*>(GetProcAddress(dll, "DCompositionCreateDevice")))) {
        hr = create(nullptr, __uuidof(IDCompositionDevice), reinterpret_cast<void**>(out));
        if (FAILED(hr)) *out = nullptr;
    }
    return hr;
}

HRESULT SystemSwapChain(ID3D11Device* device, const DXGI_SWAP_CHAIN_DESC1& desc, IDXGISwapChain1** out) {
    *out = nullptr;
    ComPtr<IDXGIDevice> dxgi;
    HRESULT hr = device->QueryInterface(__uuidof(IDXGIDevice), dxgi.put_void());
    ComPtr<IDXGIAdapter> adapter;
    if (SUCCEEDED(hr)) hr = dxgi->GetAdapter(adapter.put());
    ComPtr<IDXGIFactory2> factory;
    if (SUCCEEDED(hr)) hr = adapter->GetParent(__uuidof(IDXGIFactory2), factory.put_void());
    if (SUCCEEDED(hr)) hr = factory->CreateSwapChainForComposition(device, &desc, nullptr, out);
    if (FAILED(hr)) *out = nullptr;
    return hr;
}

HRESULT MakeD3DDevice(D3D_DRIVER_TYPE type) {
    const D3D_FEATURE_LEVEL levels[] = {D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_1};
    return D3D11CreateDevice(nullptr, type, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT, levels, 2, D3D11_SDK_VERSION,
                             &g_d3d, nullptr, &g_d3dCtx);
}

DXGI_SWAP_CHAIN_DESC1 SwapChainDesc(int w, int h, DXGI_SWAP_EFFECT effect) {
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
    d.SwapEffect = effect;
    d.AlphaMode = DXGI_ALPHA_MODE_PREMULTIPLIED;
    d.Flags = 0;
    return d;
}

// The sequential flip model: its buffers keep their pixels, so a present may name the parts that
// changed (the discarding model refuses partial presents, and it is what Windows 10 and 11 would
// otherwise take). A system that refuses it gets the discarding model, presented whole.
HRESULT MakeSwapChain(int w, int h, IDXGISwapChain1** chain) {
    *chain = nullptr;
    HRESULT hr = g_makeBoxSwapChain(g_d3d, SwapChainDesc(w, h, DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL), chain);
    if (SUCCEEDED(hr) && *chain) return S_OK;
    LogHr(L"MakeSwapChain: FLIP_SEQUENTIAL", hr);
    *chain = nullptr;
    if (IsDeviceLoss(hr)) return hr; // another swap effect would not help
    hr = g_makeBoxSwapChain(g_d3d, SwapChainDesc(w, h, DXGI_SWAP_EFFECT_FLIP_DISCARD), chain);
    if (SUCCEEDED(hr) && *chain) return S_OK;
    LogHr(L"MakeSwapChain: FLIP_DISCARD", hr);
    *chain = nullptr;
    return FAILED(hr) ? hr : E_FAIL;
}

// Points the box's device context at back buffer 0 of its swap chain.
HRESULT AttachBackBuffer(BoxWin* box) {
    ComPtr<IDXGISurface> surface;
    HRESULT hr = box->swapChain->GetBuffer(0, __uuidof(IDXGISurface), surface.put_void());
    if (FAILED(hr)) return hr;
    D2D1_BITMAP_PROPERTIES1 props = {};
    props.pixelFormat.format = DXGI_FORMAT_B8G8R8A8_UNORM;
    props.pixelFormat.alphaMode = D2D1_ALPHA_MODE_PREMULTIPLIED;
    props.dpiX = 0;
    props.dpiY = 0;
    props.bitmapOptions = D2D1_BITMAP_OPTIONS_TARGET | D2D1_BITMAP_OPTIONS_CANNOT_DRAW;
    props.colorContext = nullptr;
    hr = box->d2dCtx->CreateBitmapFromDxgiSurface(surface.get(), &props, &box->targetBitmap);
    if (FAILED(hr)) {
        box->targetBitmap = nullptr;
        return hr;
    }
    box->d2dCtx->SetTarget(box->targetBitmap);
    return S_OK;
}

// No reference to a box's back buffers may remain before they are resized or the chain replaced:
// the target bitmap goes, and so do views still bound by earlier drawing and objects whose
// destruction the device defers.
void LetGoOfBackBuffers(BoxWin* box) {
    if (box->d2dCtx) box->d2dCtx->SetTarget(nullptr);
    SafeRelease(box->targetBitmap);
    if (g_d3dCtx) {
        g_d3dCtx->ClearState();
        g_d3dCtx->Flush();
    }
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

// The objects of a box made on the Direct3D and Direct2D devices; the visual shows nothing of them
// any more (not committed: the screen keeps the old picture until the next commit).
void ReleaseDrawingObjects(BoxWin* box) {
    LetGoOfBackBuffers(box);
    if (box->dcVisual) box->dcVisual->SetContent(nullptr);
    SafeRelease(box->brush);
    SafeRelease(box->d2dCtx);
    SafeRelease(box->swapChain);
}

// Swap chain, device context, target bitmap and brush of a box; all or none.
HRESULT MakeDrawingObjects(BoxWin* box) {
    HRESULT hr = MakeSwapChain(box->width, box->height, &box->swapChain);
    if (SUCCEEDED(hr)) hr = g_d2dDev->CreateDeviceContext(D2D1_DEVICE_CONTEXT_OPTIONS_NONE, &box->d2dCtx);
    if (SUCCEEDED(hr)) hr = AttachBackBuffer(box);
    const D2D1_COLOR_F white = {1, 1, 1, 1};
    if (SUCCEEDED(hr)) hr = box->d2dCtx->CreateSolidColorBrush(&white, nullptr, &box->brush);
    if (FAILED(hr)) ReleaseDrawingObjects(box);
    return hr;
}

// A swap chain that could not get back its buffers after a resize is replaced by a new one of the
// box's size, shown by the same visual.
bool ReplaceSwapChain(BoxWin* box) {
    if (!box->dcVisual || !g_dcomp) return false;
    LetGoOfBackBuffers(box);
    IDXGISwapChain1* chain = nullptr;
    if (FAILED(MakeSwapChain(box->width, box->height, &chain))) return false;
    if (FAILED(box->dcVisual->SetContent(chain))) {
        chain->Release();
        return false;
    }
    SafeRelease(box->swapChain);
    box->swapChain = chain;
    g_dcomp->Commit();
    return SUCCEEDED(AttachBackBuffer(box));
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
    if (!g_dw) return;
    // At the real pixel size on the box's monitor: text is laid out sharp, never stretched.
    box->titleFormat = MakeFormat(ScaleFont(static_cast<float>(g_fontSize), box->dpi), false);
    box->nameFormat = MakeFormat(ScaleFont(static_cast<float>(NameFontSize(g_fontSize, rebuilt)), box->dpi), true);
}

bool RenewBoxFormats(BoxWin* box) {
    const auto sized = [box](IDWriteTextFormat* f, int size) {
        return f && f->GetFontSize() == ScaleFont(static_cast<float>(size), box->dpi);
    };
    wchar_t family[256] = {};
    const bool asNew = !g_dw || (sized(box->titleFormat, g_fontSize) &&
                                 sized(box->nameFormat, NameFontSize(g_fontSize, false)) &&
                                 SUCCEEDED(box->nameFormat->GetFontFamilyName(family, 256)) && g_fontName == family);
    if (!asNew) MakeBoxFormats(box, false);
    return !asNew;
}

namespace {

HANDLE g_removedEvent = nullptr; // set by the Direct3D device when it is removed
bool g_removalWatched = false;
DWORD g_removalCookie = 0;
bool g_composedOnce = false; // composition devices were made in this process

HRESULT SystemWatchRemoval(ID3D11Device* device, HANDLE event, DWORD* cookie) {
    ComPtr<ID3D11Device4> device4;
    HRESULT hr = device->QueryInterface(__uuidof(ID3D11Device4), device4.put_void());
    if (SUCCEEDED(hr)) hr = device4->RegisterDeviceRemovedEvent(event, cookie);
    return hr;
}

void SystemUnwatchRemoval(ID3D11Device* device, DWORD cookie) {
    ComPtr<ID3D11Device4> device4;
    if (SUCCEEDED(device->QueryInterface(__uuidof(ID3D11Device4), device4.put_void())))
        device4->UnregisterDeviceRemoved(cookie);
}

HRESULT SystemRemovedReason(ID3D11Device* device) { return device->GetDeviceRemovedReason(); }

// A device that can tell of its removal sets the event even while no box draws (Windows 10 1703
// on); elsewhere a loss is seen by the next present, resize, paint or display change.
void WatchRemoval() {
    if (!g_removedEvent) g_removedEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (g_removedEvent) ResetEvent(g_removedEvent);
    g_removalWatched = g_removedEvent && SUCCEEDED(g_deviceRemoval.watch(g_d3d, g_removedEvent, &g_removalCookie));
}

void ReleaseDrawingDevices() {
    if (g_removalWatched && g_d3d) g_deviceRemoval.unwatch(g_d3d, g_removalCookie);
    g_removalWatched = false;
    SafeRelease(g_d2dDev);
    SafeRelease(g_d3dCtx);
    SafeRelease(g_d3d);
}

// The Direct3D and Direct2D devices, both or none.
HRESULT MakeDrawingDevices() {
    // Without a hardware device the software rasteriser still gives composition a device.
    HRESULT hr = MakeD3DDevice(D3D_DRIVER_TYPE_HARDWARE);
    if (FAILED(hr)) hr = MakeD3DDevice(D3D_DRIVER_TYPE_WARP);
    if (FAILED(hr)) {
        g_d3d = nullptr;
        g_d3dCtx = nullptr;
        return hr;
    }
    ComPtr<IDXGIDevice> dxgi;
    hr = g_d2dF ? g_d3d->QueryInterface(__uuidof(IDXGIDevice), dxgi.put_void()) : E_NOINTERFACE;
    if (SUCCEEDED(hr)) hr = g_d2dF->CreateDevice(dxgi.get(), &g_d2dDev);
    if (SUCCEEDED(hr)) {
        WatchRemoval();
        return S_OK;
    }
    g_d2dDev = nullptr;
    ReleaseDrawingDevices();
    return hr;
}

// The devices composition needs, all or none, made only once composition itself has answered: a
// Direct3D device costs much memory and start-up time, and a system whose composition fails only
// when used (a library that loads but cannot make a device) would carry it for nothing.
HRESULT MakeCompositionDevices() {
    HRESULT hr = S_OK;
    if (!g_dcomp && FAILED(hr = g_makeCompositionDevice(&g_dcomp))) g_dcomp = nullptr;
    if (g_dcomp && !g_d2dDev) hr = MakeDrawingDevices();
    if (g_dcomp && g_d2dDev) {
        g_composedOnce = true;
        return S_OK;
    }
    ReleaseCompositionDevices();
    return FAILED(hr) ? hr : E_FAIL;
}

// The box window's topmost target with one visual showing the box's swap chain (not committed).
HRESULT WireBox(BoxWin* box) {
    HRESULT hr = g_dcomp->CreateTargetForHwnd(box->hwnd, TRUE, &box->dcTarget);
    if (SUCCEEDED(hr)) hr = g_dcomp->CreateVisual(&box->dcVisual);
    if (SUCCEEDED(hr)) hr = box->dcVisual->SetContent(box->swapChain);
    if (SUCCEEDED(hr)) hr = box->dcTarget->SetRoot(box->dcVisual);
    return hr;
}

} // namespace

DeviceRemovalFns g_deviceRemoval = {SystemWatchRemoval, SystemUnwatchRemoval, SystemRemovedReason};

HANDLE DeviceRemovedEvent() { return g_removalWatched ? g_removedEvent : nullptr; }

bool CompositionReady() { return g_d3d && g_d2dDev && g_dcomp; }

bool CompositionMissing() { return g_composedOnce && !CompositionReady(); }

MakeCompositionDeviceFn g_makeCompositionDevice = SystemCompositionDevice;
MakeBoxSwapChainFn g_makeBoxSwapChain = SystemSwapChain;

void ReleaseCompositionDevices() {
    SafeRelease(g_dcomp);
    ReleaseDrawingDevices();
}

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

HRESULT MakeBoxComposition(BoxWin* box) {
    if (!box || !box->hwnd || !CompositionReady()) return E_FAIL;
    // A box whose composition cannot be wired would stay empty: it is drawn without composition then.
    HRESULT hr = MakeDrawingObjects(box);
    if (SUCCEEDED(hr)) hr = WireBox(box);
    if (SUCCEEDED(hr)) hr = g_dcomp->Commit();
    if (FAILED(hr)) ReleaseBoxComposition(box);
    return hr;
}

void ReleaseBoxComposition(BoxWin* box) {
    ReleaseDrawingObjects(box);
    if (box->dcTarget) box->dcTarget->SetRoot(nullptr);
    SafeRelease(box->dcVisual);
    SafeRelease(box->dcTarget);
}

bool IsDeviceLoss(HRESULT hr) {
    return hr == static_cast<HRESULT>(D2DERR_RECREATE_TARGET) || hr == DXGI_ERROR_DEVICE_REMOVED ||
           hr == DXGI_ERROR_DEVICE_RESET;
}

bool CompositionDevicesLost() {
    BOOL valid = TRUE;
    if (g_dcomp && SUCCEEDED(g_dcomp->CheckDeviceState(&valid)) && !valid) return true;
    return g_d3d && FAILED(g_deviceRemoval.reason(g_d3d));
}

void RebuildCompositionDevices(void (*boxFailed)(BoxWin* box)) {
    BOOL valid = FALSE;
    const bool keep = g_dcomp && SUCCEEDED(g_dcomp->CheckDeviceState(&valid)) && valid;
    // Every box not drawn into a bitmap: those composed, and those whose composition waits for
    // these devices (a loss while they were made).
    std::vector<BoxWin*> composed;
    for (BoxWin* box : g_boxes)
        if (!box->fallback && box->hwnd) composed.push_back(box);
    // Everything made on the old devices goes first; a target of a lost composition device goes
    // before its window gets a new one (a window takes one target at a time).
    for (BoxWin* box : composed) {
        if (keep) {
            ReleaseDrawingObjects(box);
        } else {
            ReleaseBoxComposition(box);
        }
    }
    ReleaseDrawingDevices();
    if (!keep) SafeRelease(g_dcomp);
    const HRESULT devices = MakeCompositionDevices();
    if (FAILED(devices)) LogHr(L"RebuildCompositionDevices", devices);
    for (BoxWin* box : composed) {
        HRESULT hr = devices;
        if (SUCCEEDED(hr)) hr = MakeDrawingObjects(box);
        if (SUCCEEDED(hr)) hr = box->dcVisual ? box->dcVisual->SetContent(box->swapChain) : WireBox(box);
        if (FAILED(hr)) {
            ReleaseBoxComposition(box);
            boxFailed(box);
        }
    }
    if (g_dcomp) g_dcomp->Commit();
}

ChainResize ResizeBoxChain(BoxWin* box, int w, int h) {
    if (!box->swapChain || !box->d2dCtx || w < 1 || h < 1) return ChainResize::Failed;
    DXGI_SWAP_CHAIN_DESC1 desc = {};
    const bool known = SUCCEEDED(box->swapChain->GetDesc1(&desc));
    if (known && desc.Width == static_cast<UINT>(w) && desc.Height == static_cast<UINT>(h) && box->targetBitmap) {
        box->width = w;
        box->height = h;
        return ChainResize::Unchanged;
    }
    LetGoOfBackBuffers(box);
    const HRESULT hr = box->swapChain->ResizeBuffers(0, static_cast<UINT>(w), static_cast<UINT>(h), DXGI_FORMAT_UNKNOWN, 0);
    if (IsDeviceLoss(hr)) return ChainResize::Lost;
    if (SUCCEEDED(hr)) {
        box->width = w;
        box->height = h;
    } else if (known) {
        LogHr(L"ResizeBoxChain", hr);
        box->width = static_cast<int>(desc.Width); // the box keeps the size its buffers have
        box->height = static_cast<int>(desc.Height);
    }
    if (FAILED(AttachBackBuffer(box)) && !ReplaceSwapChain(box)) return ChainResize::Failed;
    return SUCCEEDED(hr) ? ChainResize::Resized : ChainResize::Failed;
}

bool RecoverBoxTarget(BoxWin* box) {
    if (!box->swapChain || !box->d2dCtx) return false;
    return SUCCEEDED(AttachBackBuffer(box)) || ReplaceSwapChain(box);
}

#include "win/composition_path_fakes.h"

#include <cstring>
#include <map>
#include <set>
#include <utility>

#include <wrl/client.h>

// The headers give these two interfaces no identifier of their own for __uuidof.
__CRT_UUID_DECL(IDCompositionVisual, 0x4d93059d, 0x097b, 0x4651, 0x9a, 0x60, 0xf0, 0xf2, 0x51, 0x16, 0xe2, 0xf3)
__CRT_UUID_DECL(IDCompositionTarget, 0xeacdd04c, 0x117e, 0x4e17, 0x88, 0xf4, 0xd1, 0xb1, 0x2b, 0x0e, 0x3d, 0x89)

namespace fake {

Record& Seen() {
    static Record r;
    return r;
}

void Reset() { Seen() = Record(); }

namespace {

// Reference counting and identity shared by every fake: a fake counts as live until its last
// reference goes.
template <class I> class Obj : public I {
  public:
    Obj() { ++Seen().liveObjects; }
    virtual ~Obj() { --Seen().liveObjects; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG n = --refs_;
        if (n == 0) delete this;
        return n;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid != __uuidof(IUnknown) && !Is(iid)) return E_NOINTERFACE;
        *out = static_cast<I*>(this);
        AddRef();
        return S_OK;
    }

  protected:
    virtual bool Is(REFIID iid) const = 0;

  private:
    ULONG refs_ = 1;
};

class Visual;
class Target;
std::map<HWND, Target*>& Targets() {
    static std::map<HWND, Target*> t;
    return t;
}
std::set<Visual*>& Visuals() {
    static std::set<Visual*> v;
    return v;
}

// A property of the visual tree: what is set waits for the device's Commit.
struct Pending {
    Microsoft::WRL::ComPtr<IUnknown> shown, next;
    bool set = false;
    void Set(IUnknown* p) { next = p, set = true; }
    void Commit() {
        if (set) shown = std::move(next);
        set = false;
    }
};

const GUID kRemovedTag = {0x6b1c0f3e, 0x2d4a, 0x4e8b, {0x9a, 0x51, 0x0c, 0x7e, 0x33, 0x12, 0x8f, 0x40}};
bool Removed(ID3D11Device* device) {
    UINT size = 0;
    return device && SUCCEEDED(device->GetPrivateData(kRemovedTag, &size, nullptr)) && size > 0;
}

class Visual final : public Obj<IDCompositionVisual> {
  public:
    Visual() { Visuals().insert(this); }
    ~Visual() override { Visuals().erase(this); }
    IUnknown* content() const { return content_.shown.Get(); }
    void Commit() { content_.Commit(); }
    HRESULT STDMETHODCALLTYPE SetContent(IUnknown* c) override {
        ++Seen().setContents;
        Seen().calls.push_back("SetContent");
        content_.Set(c);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetOffsetX(IDCompositionAnimation*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOffsetX(float) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOffsetY(IDCompositionAnimation*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOffsetY(float) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTransform(IDCompositionTransform*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTransform(const D2D_MATRIX_3X2_F&) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTransformParent(IDCompositionVisual*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetEffect(IDCompositionEffect*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBitmapInterpolationMode(DCOMPOSITION_BITMAP_INTERPOLATION_MODE) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetBorderMode(DCOMPOSITION_BORDER_MODE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetClip(IDCompositionClip*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetClip(const D2D_RECT_F&) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddVisual(IDCompositionVisual*, BOOL, IDCompositionVisual*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveVisual(IDCompositionVisual*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveAllVisuals() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetCompositeMode(DCOMPOSITION_COMPOSITE_MODE) override { return E_NOTIMPL; }

  protected:
    bool Is(REFIID iid) const override { return iid == __uuidof(IDCompositionVisual); }

  private:
    Pending content_;
};

class Target final : public Obj<IDCompositionTarget> {
  public:
    explicit Target(HWND hwnd) : hwnd_(hwnd) { Targets()[hwnd] = this; }
    ~Target() override {
        Targets().erase(hwnd_); // the window may be composed again
    }
    IDCompositionVisual* root() const { return static_cast<IDCompositionVisual*>(root_.shown.Get()); }
    void Commit() { root_.Commit(); }
    HRESULT STDMETHODCALLTYPE SetRoot(IDCompositionVisual* v) override {
        Seen().calls.push_back(v ? "SetRoot" : "SetRoot(null)");
        root_.Set(v);
        return S_OK;
    }

  protected:
    bool Is(REFIID iid) const override { return iid == __uuidof(IDCompositionTarget); }

  private:
    HWND hwnd_;
    Pending root_;
};

class Device final : public Obj<IDCompositionDevice> {
  public:
    HRESULT STDMETHODCALLTYPE Commit() override {
        ++Seen().commits;
        Seen().calls.push_back("Commit");
        for (Visual* v : Visuals()) v->Commit();
        for (auto& t : Targets()) t.second->Commit();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateTargetForHwnd(HWND hwnd, BOOL topmost, IDCompositionTarget** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        Seen().calls.push_back(topmost ? "CreateTargetForHwnd(topmost)" : "CreateTargetForHwnd");
        if (!IsWindow(hwnd)) return E_INVALIDARG;
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid != GetCurrentProcessId()) return E_ACCESSDENIED; // only windows of the calling process
        if (Targets().count(hwnd)) {
            ++Seen().alreadyComposed;
            return DCOMPOSITION_ERROR_WINDOW_ALREADY_COMPOSED;
        }
        ++Seen().targetsMade;
        *out = new Target(hwnd);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateVisual(IDCompositionVisual** out) override {
        if (!out) return E_POINTER;
        Seen().calls.push_back("CreateVisual");
        *out = new Visual;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CheckDeviceState(BOOL* valid) override {
        if (!valid) return E_POINTER;
        *valid = Seen().deviceValid ? TRUE : FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE WaitForCommitCompletion() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFrameStatistics(DCOMPOSITION_FRAME_STATISTICS*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateSurface(UINT, UINT, DXGI_FORMAT, DXGI_ALPHA_MODE, IDCompositionSurface**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateVirtualSurface(UINT, UINT, DXGI_FORMAT, DXGI_ALPHA_MODE,
                                                   IDCompositionVirtualSurface**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateSurfaceFromHandle(HANDLE, IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateSurfaceFromHwnd(HWND, IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateTranslateTransform(IDCompositionTranslateTransform**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateScaleTransform(IDCompositionScaleTransform**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateRotateTransform(IDCompositionRotateTransform**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateSkewTransform(IDCompositionSkewTransform**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateMatrixTransform(IDCompositionMatrixTransform**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateTransformGroup(IDCompositionTransform**, UINT, IDCompositionTransform**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateTranslateTransform3D(IDCompositionTranslateTransform3D**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateScaleTransform3D(IDCompositionScaleTransform3D**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateRotateTransform3D(IDCompositionRotateTransform3D**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateMatrixTransform3D(IDCompositionMatrixTransform3D**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateTransform3DGroup(IDCompositionTransform3D**, UINT,
                                                     IDCompositionTransform3D**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateEffectGroup(IDCompositionEffectGroup**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateRectangleClip(IDCompositionRectangleClip**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateAnimation(IDCompositionAnimation**) override { return E_NOTIMPL; }

  protected:
    bool Is(REFIID iid) const override { return iid == __uuidof(IDCompositionDevice); }
};

// A swap chain whose only reachable buffer is a real texture of the device it was made with.
class SwapChain final : public Obj<IDXGISwapChain1> {
  public:
    SwapChain(ID3D11Device* device, const DXGI_SWAP_CHAIN_DESC1& desc) : device_(device), desc_(desc) {
        device_->AddRef();
    }
    ~SwapChain() override {
        if (buffer_) buffer_->Release();
        device_->Release();
    }
    bool MakeBuffer() {
        D3D11_TEXTURE2D_DESC t = {};
        t.Width = desc_.Width;
        t.Height = desc_.Height;
        t.MipLevels = 1;
        t.ArraySize = 1;
        t.Format = desc_.Format;
        t.SampleDesc.Count = 1;
        t.Usage = D3D11_USAGE_DEFAULT;
        t.BindFlags = D3D11_BIND_RENDER_TARGET | D3D11_BIND_SHADER_RESOURCE;
        if (buffer_) buffer_->Release();
        buffer_ = nullptr;
        // New buffers hold nothing defined: a colour no picture has shows where one is left undrawn.
        held_.assign(desc_.BufferCount, {});
        back_ = 0;
        const std::vector<uint32_t> undefined(size_t(t.Width) * t.Height, kUndefined);
        const D3D11_SUBRESOURCE_DATA data = {undefined.data(), t.Width * 4u, 0};
        return SUCCEEDED(device_->CreateTexture2D(&t, &data, &buffer_));
    }
    const Shown& shown() const { return shown_; }
    ID3D11Device* device() const { return device_; }
    int presents() const { return presents_; }

    HRESULT STDMETHODCALLTYPE Present(UINT, UINT) override {
        ++Seen().presents;
        ++presents_;
        if (Removed(device_)) return DXGI_ERROR_DEVICE_REMOVED;
        if (Seen().nextPresent != S_OK) {
            const HRESULT hr = Seen().nextPresent;
            if (Seen().repeatPresent-- <= 0) Seen().nextPresent = S_OK;
            return hr;
        }
        ReadBack();
        Flip();
        return S_OK;
    }
    // Partial presentation: only where the buffers keep their pixels (the sequential flip model), every
    // dirty rectangle within the buffer, and the pixels outside them what the last present showed.
    HRESULT STDMETHODCALLTYPE Present1(UINT sync, UINT flags, const DXGI_PRESENT_PARAMETERS* p) override {
        if (!p || !p->DirtyRectsCount) return Present(sync, flags);
        const LONG w = LONG(desc_.Width), h = LONG(desc_.Height);
        bool valid = desc_.SwapEffect == DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL && p->pDirtyRects;
        for (UINT i = 0; valid && i < p->DirtyRectsCount; ++i) {
            const RECT& r = p->pDirtyRects[i];
            valid = r.left >= 0 && r.top >= 0 && r.right <= w && r.bottom <= h && r.left < r.right && r.top < r.bottom;
        }
        if (!valid) {
            ++Seen().invalidCalls;
            return DXGI_ERROR_INVALID_CALL;
        }
        ++Seen().partialPresents;
        const Shown last = shown_;
        const HRESULT hr = Present(sync, flags);
        if (FAILED(hr) || last.pixels.size() != shown_.pixels.size()) return hr;
        std::vector<uint32_t> outside = shown_.pixels; // the dirty rectangles taken from the last picture
        for (UINT i = 0; i < p->DirtyRectsCount; ++i)
            for (LONG y = p->pDirtyRects[i].top; y < p->pDirtyRects[i].bottom; ++y)
                for (LONG x = p->pDirtyRects[i].left; x < p->pDirtyRects[i].right; ++x) outside[size_t(y * w + x)] = last.At(x, y);
        Seen().changedOutsideDirty += outside != last.pixels;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetBuffer(UINT index, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (Removed(device_)) return DXGI_ERROR_DEVICE_REMOVED;
        if (index != 0) return DXGI_ERROR_INVALID_CALL; // a flip model chain gives out buffer 0 only
        return buffer_->QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE ResizeBuffers(UINT count, UINT w, UINT h, DXGI_FORMAT format, UINT) override {
        if (Removed(device_)) return DXGI_ERROR_DEVICE_REMOVED;
        if (Seen().failResizes > 0) {
            --Seen().failResizes;
            return Seen().resizeFailure;
        }
        // Any reference to a back buffer kept anywhere (a surface, a bitmap over it, a view still
        // bound in a context) shows as more than our own on the texture.
        buffer_->AddRef();
        const bool referenced = buffer_->Release() > 1;
        if (w == 0 || h == 0 || referenced) {
            ++Seen().invalidCalls;
            return DXGI_ERROR_INVALID_CALL;
        }
        const DXGI_SWAP_CHAIN_DESC1 old = desc_;
        desc_.Width = w;
        desc_.Height = h;
        if (count) desc_.BufferCount = count;
        if (format != DXGI_FORMAT_UNKNOWN) desc_.Format = format;
        if (!MakeBuffer()) {
            desc_ = old;
            MakeBuffer();
            return E_OUTOFMEMORY;
        }
        ++Seen().resizes;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDesc1(DXGI_SWAP_CHAIN_DESC1* d) override {
        if (!d) return E_POINTER;
        *d = desc_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDevice(REFIID iid, void** out) override { return device_->QueryInterface(iid, out); }

    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID, UINT, const void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPrivateDataInterface(REFGUID, const IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID, UINT*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetParent(REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFullscreenState(WINBOOL, IDXGIOutput*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFullscreenState(WINBOOL*, IDXGIOutput**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDesc(DXGI_SWAP_CHAIN_DESC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ResizeTarget(const DXGI_MODE_DESC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainingOutput(IDXGIOutput**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFrameStatistics(DXGI_FRAME_STATISTICS*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLastPresentCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFullscreenDesc(DXGI_SWAP_CHAIN_FULLSCREEN_DESC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetHwnd(HWND*) override { return DXGI_ERROR_INVALID_CALL; }
    HRESULT STDMETHODCALLTYPE GetCoreWindow(REFIID, void**) override { return DXGI_ERROR_INVALID_CALL; }
    WINBOOL STDMETHODCALLTYPE IsTemporaryMonoSupported() override { return FALSE; }
    HRESULT STDMETHODCALLTYPE GetRestrictToOutput(IDXGIOutput**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBackgroundColor(const DXGI_RGBA*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBackgroundColor(DXGI_RGBA*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRotation(DXGI_MODE_ROTATION) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRotation(DXGI_MODE_ROTATION*) override { return E_NOTIMPL; }

  protected:
    bool Is(REFIID iid) const override {
        return iid == __uuidof(IDXGISwapChain1) || iid == __uuidof(IDXGISwapChain) ||
               iid == __uuidof(IDXGIDeviceSubObject) || iid == __uuidof(IDXGIObject);
    }

  private:
    static constexpr uint32_t kUndefined = 0xFFFF00FFu; // opaque magenta

    // The presented buffer goes to the compositor and the next one becomes the back buffer, reached
    // through the same texture as ever: it holds what it held when it was presented last (sequential
    // flip model) or nothing defined (discarding).
    void Flip() {
        held_[back_] = shown_.pixels;
        back_ = (back_ + 1) % UINT(held_.size());
        const bool kept = desc_.SwapEffect == DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL && !held_[back_].empty();
        const std::vector<uint32_t> pixels =
            kept ? held_[back_] : std::vector<uint32_t>(size_t(desc_.Width) * desc_.Height, kUndefined);
        ID3D11DeviceContext* ctx = nullptr;
        device_->GetImmediateContext(&ctx);
        ctx->UpdateSubresource(buffer_, 0, nullptr, pixels.data(), desc_.Width * 4u, 0);
        ctx->Release();
    }

    // Copies the back buffer into memory, as the compositor would take it.
    void ReadBack() {
        D3D11_TEXTURE2D_DESC t = {};
        buffer_->GetDesc(&t);
        t.Usage = D3D11_USAGE_STAGING;
        t.BindFlags = 0;
        t.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
        ID3D11Texture2D* staging = nullptr;
        if (FAILED(device_->CreateTexture2D(&t, nullptr, &staging))) return;
        ID3D11DeviceContext* ctx = nullptr;
        device_->GetImmediateContext(&ctx);
        ctx->CopyResource(staging, buffer_);
        D3D11_MAPPED_SUBRESOURCE m = {};
        if (SUCCEEDED(ctx->Map(staging, 0, D3D11_MAP_READ, 0, &m))) {
            shown_.w = static_cast<int>(t.Width);
            shown_.h = static_cast<int>(t.Height);
            shown_.pixels.resize(static_cast<size_t>(t.Width) * t.Height);
            for (UINT y = 0; y < t.Height; ++y)
                std::memcpy(&shown_.pixels[static_cast<size_t>(y) * t.Width],
                            static_cast<const char*>(m.pData) + static_cast<size_t>(y) * m.RowPitch, t.Width * 4u);
            ctx->Unmap(staging, 0);
        }
        ctx->Release();
        staging->Release();
    }

    ID3D11Device* device_;
    DXGI_SWAP_CHAIN_DESC1 desc_;
    ID3D11Texture2D* buffer_ = nullptr;
    Shown shown_;
    int presents_ = 0;
    std::vector<std::vector<uint32_t>> held_; // each buffer's pixels when it was presented last
    UINT back_ = 0;
};

template <class T, class I> T* As(I* p) { return p ? static_cast<T*>(p) : nullptr; }

} // namespace

HRESULT MakeDevice(IDCompositionDevice** out) {
    if (!out) return E_POINTER;
    ++Seen().devicesMade;
    Seen().deviceValid = true;
    Seen().calls.push_back("MakeDevice");
    *out = new Device;
    return S_OK;
}

HRESULT MakeSwapChain(ID3D11Device* device, const DXGI_SWAP_CHAIN_DESC1& desc, IDXGISwapChain1** out) {
    if (!out || !device) return E_POINTER;
    *out = nullptr;
    Seen().chainsAsked.push_back(desc);
    Seen().calls.push_back("MakeSwapChain");
    if (Removed(device)) return DXGI_ERROR_DEVICE_REMOVED;
    if (desc.SwapEffect == DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL && Seen().refuseFlipSequential) return DXGI_ERROR_INVALID_CALL;
    // Composition swap chains: flip model, stretched, at least two buffers, never a zero size.
    if (desc.Width == 0 || desc.Height == 0 || desc.BufferCount < 2 || desc.Scaling != DXGI_SCALING_STRETCH ||
        (desc.SwapEffect != DXGI_SWAP_EFFECT_FLIP_DISCARD && desc.SwapEffect != DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL))
        return DXGI_ERROR_INVALID_CALL;
    SwapChain* chain = new SwapChain(device, desc);
    if (!chain->MakeBuffer()) {
        chain->Release();
        return E_OUTOFMEMORY;
    }
    *out = chain;
    return S_OK;
}

DeviceRemovalFns Removal() {
    return {[](ID3D11Device*, HANDLE event, DWORD*) { return (Seen().removalEvent = event), S_OK; },
            [](ID3D11Device*, DWORD) {},
            [](ID3D11Device* d) { return Removed(d) ? DXGI_ERROR_DEVICE_REMOVED : S_OK; }};
}

void RemoveDevice(IDXGISwapChain1* chain) {
    const char mark = 1;
    As<SwapChain>(chain)->device()->SetPrivateData(kRemovedTag, 1, &mark);
    SetEvent(Seen().removalEvent);
}

Shown LastPresented(IDXGISwapChain1* chain) { return chain ? As<SwapChain>(chain)->shown() : Shown(); }
int PresentsOf(IDXGISwapChain1* chain) { return chain ? As<SwapChain>(chain)->presents() : 0; }
IUnknown* ContentOf(IDCompositionVisual* visual) { return visual ? As<Visual>(visual)->content() : nullptr; }
IDCompositionVisual* RootOf(IDCompositionTarget* target) { return target ? As<Target>(target)->root() : nullptr; }
IDCompositionTarget* TargetOf(HWND hwnd) {
    const auto it = Targets().find(hwnd);
    return it == Targets().end() ? nullptr : it->second;
}

} // namespace fake

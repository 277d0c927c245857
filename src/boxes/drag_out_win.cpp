// The drag out to another program: a drop source that drops when the button is released over that
// program, gives up on Esc, and hands the drag back to the box as soon as the pointer is over a box,
// the desktop or another window of ours again.
#include "boxes/drag_out_win.h"

#include <shlobj.h>

#include "base/log_win.h"
#include "boxes/desktop_click.h"
#include "boxes/pointer_over_win.h"
#include "inventory/inventory_win.h"

namespace {

class DragOutSource final : public IDropSource {
  public:
    bool backToUs = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
            *out = static_cast<IDropSource*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) return DRAGDROP_S_CANCEL;
        POINT p = {};
        if (GetCursorPos(&p) && !DragGoesToOtherProgram(g_pointerOver(p))) {
            backToUs = true; // a box, the desktop or a window of ours: the box's own drag decides there
            return DRAGDROP_S_CANCEL;
        }
        const DWORD button = GetSystemMetrics(SM_SWAPBUTTON) ? MK_RBUTTON : MK_LBUTTON;
        return keys & button ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

  private:
    ~DragOutSource() = default;
    LONG refs_ = 1;
};

} // namespace

DoDragDropFn g_doDragDrop = DoDragDrop;

ComPtr<IDataObject> ShellDataObjectFor(const std::wstring& path) {
    ComPtr<IDataObject> data;
    ShellObjectOf(path, nullptr, IID_IDataObject, data.put_void());
    return data;
}

DragOutResult DragOutToOtherProgram(const std::wstring& path) {
    DragOutResult result;
    ComPtr<IDataObject> data = ShellDataObjectFor(path);
    if (!data) {
        LogDbg(L"DRAG OUT: no data object for " + path);
        return result;
    }
    DragOutSource* source = new DragOutSource;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr =
        g_doDragDrop(data.get(), source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
    const bool back = source->backToUs;
    source->Release();
    if (hr == DRAGDROP_S_DROP && effect != DROPEFFECT_NONE) {
        result = {DragOutEnd::Dropped, effect};
    } else if (hr == DRAGDROP_S_CANCEL || hr == DRAGDROP_S_DROP) {
        result.end = back ? DragOutEnd::BackToUs : DragOutEnd::Cancelled;
    } else {
        LogDbg(L"DRAG OUT: the drag loop failed, " + std::to_wstring(static_cast<unsigned long>(hr)));
    }
    LogDbg(L"DRAG OUT: " + path + L" end=" + std::to_wstring(static_cast<int>(result.end)) +
           L" effect=" + std::to_wstring(result.effect));
    return result;
}

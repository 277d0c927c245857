#include "base/win.h"

#include <shellapi.h>

#include "boxes/drop_target_win.h"

#include <map>

#include "base/com_win.h"
#include "boxes/box_win.h"
#include "boxes/interaction_win.h"

namespace {

// The program's own reference to each window's target; OLE holds another while it is registered.
std::map<HWND, ComPtr<DropTarget>> g_dropTargets;

} // namespace

HRESULT DropTarget::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *out = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG DropTarget::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&refCount));
}

ULONG DropTarget::Release() {
    const LONG n = InterlockedDecrement(&refCount);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

HRESULT DropTarget::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) {
    if (effect) *effect = DROPEFFECT_COPY;
    return S_OK;
}

HRESULT DropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (effect) *effect = DROPEFFECT_COPY;
    return S_OK;
}

HRESULT DropTarget::DragLeave() {
    return S_OK;
}

HRESULT DropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (effect) *effect = DROPEFFECT_COPY;
    if (!data) return S_OK;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (FAILED(data->GetData(&format, &medium))) return S_OK;
    // The file list functions take the memory handle itself (they lock it), not a locked pointer.
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal && GlobalSize(medium.hGlobal) > 0) {
        TakeDroppedFiles(static_cast<HDROP>(medium.hGlobal), groupKey);
        RequestBoxRefresh();
    }
    ReleaseStgMedium(&medium);
    return S_OK;
}

size_t RegisteredDropTargets() {
    return g_dropTargets.size();
}

void RegisterBoxDropTarget(BoxWin* box) {
    if (!box || !box->hwnd) return;
    RevokeDropTargetOf(box->hwnd);
    RevokeDragDrop(box->hwnd);
    ComPtr<DropTarget> target;
    *target.put() = new DropTarget(box->key);
    if (SUCCEEDED(RegisterDragDrop(box->hwnd, target.get()))) g_dropTargets[box->hwnd] = std::move(target);
}

void RevokeBoxDropTarget(BoxWin* box) {
    if (box) RevokeDropTargetOf(box->hwnd);
}

void RevokeDropTargetOf(HWND hwnd) {
    const auto it = g_dropTargets.find(hwnd);
    if (it == g_dropTargets.end()) return;
    RevokeDragDrop(hwnd);
    g_dropTargets.erase(it);
}

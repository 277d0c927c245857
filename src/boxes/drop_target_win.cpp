#include "base/win.h"

#include <shellapi.h>

#include "boxes/drop_target_win.h"

#include <functional>
#include <map>

#include "base/com_win.h"
#include "boxes/box_input.h"
#include "boxes/box_mouse_win.h"
#include "boxes/hover_open_win.h"
#include "boxes/item_drag_win.h"
#include "inventory/inventory_win.h"
#include "render/box_record_win.h"

namespace {

// The program's own reference to each window's target; OLE holds another while it is registered.
std::map<HWND, ComPtr<DropTarget>> g_dropTargets;
bool g_targetsDeferred = false; // boxes made now get their targets from RegisterDeferredDropTargets

BoxWin* BoxOfKey(const std::wstring& key) {
    for (BoxWin* box : g_boxes)
        if (box->key == key) return box;
    return nullptr;
}

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

namespace {

// The file list a data object carries; false when it carries none.
bool WithFileList(IDataObject* data, const std::function<void(HDROP)>& use) {
    if (!data) return false;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (FAILED(data->GetData(&format, &medium))) return false;
    // The file list functions take the memory handle itself (they lock it), not a locked pointer.
    const bool ok = medium.tymed == TYMED_HGLOBAL && medium.hGlobal && GlobalSize(medium.hGlobal) > 0;
    if (ok) use(static_cast<HDROP>(medium.hGlobal));
    ReleaseStgMedium(&medium);
    return ok;
}

// A box only moves files: it takes a list the source lets it move and that holds a path it accepts.
DWORD OfferedEffect(IDataObject* data, DWORD allowed) {
    if (!(allowed & DROPEFFECT_MOVE)) return DROPEFFECT_NONE;
    bool any = false;
    WithFileList(data, [&](HDROP drop) {
        for (const std::wstring& path : DroppedPaths(drop))
            any = any || !RefusesDroppedPath(path, g_desktop, g_hidden);
    });
    return any ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
}

} // namespace

HRESULT DropTarget::DragEnter(IDataObject* data, DWORD, POINTL pt, DWORD* effect) {
    HoverOpenDragOver(BoxOfKey(groupKey), POINT{pt.x, pt.y});
    offered = effect ? OfferedEffect(data, *effect) : DROPEFFECT_NONE;
    if (effect) *effect = offered;
    return S_OK;
}

HRESULT DropTarget::DragOver(DWORD, POINTL pt, DWORD* effect) {
    HoverOpenDragOver(BoxOfKey(groupKey), POINT{pt.x, pt.y});
    if (effect) *effect &= offered;
    return S_OK;
}

HRESULT DropTarget::DragLeave() {
    HoverOpenDragEnded(); // where the drag goes next is not ours to know
    return S_OK;
}

// The effect reported is the one carried out: a move when at least one file went into the store.
HRESULT DropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    const DWORD allowed = effect ? *effect : DROPEFFECT_NONE;
    HoverOpenDragEnded();
    if (effect) *effect = DROPEFFECT_NONE;
    if (!(allowed & DROPEFFECT_MOVE)) return S_OK;
    int taken = 0;
    WithFileList(data, [&](HDROP drop) { taken = TakeDroppedFiles(drop, groupKey); });
    if (taken == 0) return S_OK;
    if (effect) *effect = DROPEFFECT_MOVE;
    RequestBoxRefresh();
    return S_OK;
}

size_t RegisteredDropTargets() {
    return g_dropTargets.size();
}

void DeferDropTargets() { g_targetsDeferred = true; }

void RegisterDeferredDropTargets() {
    g_targetsDeferred = false;
    for (BoxWin* box : g_boxes)
        if (box->hwnd && !g_dropTargets.count(box->hwnd)) RegisterBoxDropTarget(box);
}

void RegisterBoxDropTarget(BoxWin* box) {
    if (!box || !box->hwnd) return;
    RevokeDropTargetOf(box->hwnd);
    RevokeDragDrop(box->hwnd);
    if (g_targetsDeferred) return; // a drop meanwhile is refused: no target, no effect
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

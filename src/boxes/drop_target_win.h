// The drop target of a box window: file lists dragged from other programs (the file manager) go to
// the box's group. One per box window, registered when the box is made and revoked when it goes.
#pragma once
#include "base/win.h"

#include <ole2.h>

#include <string>

struct BoxWin;

class DropTarget : public IDropTarget {
  public:
    explicit DropTarget(std::wstring key) : groupKey(std::move(key)) {}
    DropTarget(const DropTarget&) = delete;
    DropTarget& operator=(const DropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;

    const std::wstring groupKey;

  private:
    virtual ~DropTarget() = default; // only Release deletes
    LONG refCount = 1;
    DWORD offered = DROPEFFECT_NONE; // what the drag under way may do here, from DragEnter
};

// From DeferDropTargets on, boxes are made without a drop target (start-up: registering costs a few
// milliseconds a box); RegisterDeferredDropTargets gives every box without one its target and ends
// that. A drop onto a box without a target is refused, so the source keeps its files.
void DeferDropTargets();
void RegisterDeferredDropTargets();
// Drop targets currently registered on box windows (tests look at the count).
size_t RegisteredDropTargets();
// Revokes and releases the drop target of a window that is going away (nothing when it has none).
void RevokeDropTargetOf(HWND hwnd);
// Drop-target registration of a box window: file lists from other programs go to its group.
void RegisterBoxDropTarget(BoxWin* box);
void RevokeBoxDropTarget(BoxWin* box);

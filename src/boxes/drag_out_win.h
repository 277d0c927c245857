// An item dragged from a box onto another program's window: its file goes there through the system's
// drag loop, as the shell's own data object for it, so every program that takes files from the file
// manager takes it (copy, move or link as that program and the keys say).
#pragma once
#include <string>

#include "base/win.h"

#include <ole2.h>

#include "base/com_win.h"

enum class DragOutEnd {
    Dropped,   // the other program took the file (effect says how)
    Cancelled, // Esc, or the other program refused the drop
    BackToUs,  // the pointer came back over a box, the desktop or a window of ours: our drag carries on
    Failed,    // no data object for the file, or the drag loop could not run
};

struct DragOutResult {
    DragOutEnd end = DragOutEnd::Failed;
    DWORD effect = DROPEFFECT_NONE;
};

// The shell's data object for one file or folder (null when the shell cannot make one).
ComPtr<IDataObject> ShellDataObjectFor(const std::wstring& path);
// Runs the system's drag of `path` from where the pointer is now.
DragOutResult DragOutToOtherProgram(const std::wstring& path);

// Seam for the tests: the system's drag loop.
using DoDragDropFn = HRESULT (*)(IDataObject* data, IDropSource* source, DWORD allowed, DWORD* effect);
extern DoDragDropFn g_doDragDrop; // DoDragDrop unless a test puts in its own

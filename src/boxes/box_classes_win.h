// The window classes of the boxes and the request that rebuilds them.
#pragma once
#include "base/win.h"

extern const wchar_t* const WND_CLASS;   // "BrindlecotClass", every box window
extern const wchar_t* const kGhostClass; // "BrindlecotGhost", the picture that follows a dragged item
// Posted to the main window: rebuild every box (requests queued meanwhile are one rebuild).
constexpr UINT WM_REFRESHBOXES = WM_APP + 1;

// Registers the box and ghost window classes for the instance (again: no harm).
void RegisterBoxClasses(HINSTANCE instance);

// What lies under a screen point, for the gestures that start or end outside the boxes.
#pragma once
#include "base/win.h"
#include "boxes/desktop_click.h"

// The window under the point: a box (or a window inside one), the shell's icon list (on an icon or
// not), the shell's desktop windows or the bare desktop, another window of ours, or another program's.
PointerOver WhatIsAt(POINT screen);
// Whether the icon list `view` shows an icon at the screen point. The list is asked itself, with the
// question in its own process's memory when it belongs to another process. When it cannot be asked
// (no access, a hung shell), true: the user may be opening a file, and nothing should happen.
bool IconAt(HWND view, POINT screen);

using PointerOverFn = PointerOver (*)(POINT screen);
extern PointerOverFn g_pointerOver; // WhatIsAt unless a test puts in its own

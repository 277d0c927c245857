// The box menu (right click on the title band) and its commands.
#pragma once
#include "base/win.h"

struct BoxWin;

// The box menu at a client point of the box window, and its commands.
void ShowBoxMenu(HWND hwnd, BoxWin* box, int x, int y);
void RunBoxMenuCommand(HWND hwnd, unsigned id, POINT screen);

// Seam for the tests: the popup menu's tracking (the rename prompt is answered through the dialogs'
// own seam).
using TrackBoxMenuFn = UINT (*)(HMENU menu, int x, int y, HWND owner);
extern TrackBoxMenuFn g_trackBoxMenu;

// The shell's own menu of an item: what the file manager shows for that file or folder.
#pragma once
#include "base/win.h"

struct BoxWin;
struct IContextMenu;

// Opens the item's shell menu when (x, y), a client point of the box below its title band, lies on
// an item; the shell carries out the chosen command and the boxes are rebuilt. False: no item there.
bool ShowItemMenu(HWND hwnd, BoxWin* box, int x, int y);

// Seam for the tests: tracks the built menu and returns the chosen command (0: dismissed). The
// handler tells a command's verb (IContextMenu::GetCommandString with the offset `cmd - 1`).
using TrackItemMenuFn = UINT (*)(HMENU menu, POINT screen, HWND owner, IContextMenu* handler);
extern TrackItemMenuFn g_trackItemMenu;

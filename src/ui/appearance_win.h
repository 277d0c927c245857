// The appearance menu, called from the tray menu and the box menu, and popup menus built from models.
#pragma once
#include <vector>

#include "base/win.h"

struct MenuEntry;

// The appearance menu at a screen point; every choice takes effect at once and is written.
void ShowAppearanceMenu(HWND owner, POINT pt);
// Carries out one command of the appearance menu (0 and unknown commands do nothing).
void RunAppearanceCommand(HWND owner, int cmd);

// A popup menu (with its submenus) built from a model; the caller destroys it.
HMENU BuildPopupMenu(const std::vector<MenuEntry>& model);

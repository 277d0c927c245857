// The appearance menu, called from the tray menu and the box menu, and popup menus built from models.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "base/win.h"

struct MenuEntry;

// The appearance menu at a screen point; every choice takes effect at once and is written.
void ShowAppearanceMenu(HWND owner, POINT pt);
// Carries out one command of the appearance menu (0 and unknown commands do nothing).
void RunAppearanceCommand(HWND owner, int cmd);

// Tells the user something went wrong (a typed value refused): a message box over the main window.
void ShowNotice(HWND owner, const std::wstring& text);
// Seam for tests: when set, ShowNotice hands its text here instead of showing it.
extern std::function<void(const std::wstring& text)> g_noticeShown;

// A popup menu (with its submenus) built from a model; the caller destroys it.
HMENU BuildPopupMenu(const std::vector<MenuEntry>& model);

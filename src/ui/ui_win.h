// Dialogs and the appearance menu, called from the tray menu and the box menu.
#pragma once
#include <string>

#include "base/win.h"

// Asks for a line of text; returns the text on OK, else the empty string.
std::wstring InputBox(HWND owner, const std::wstring& title, const std::wstring& initial);
// Asks for the transparency (30 to 255) with a live preview; returns the value on OK, else -1.
int SliderBox(HWND owner, const std::wstring& label, int initial);
// The appearance menu at a screen point; every choice takes effect at once and is written.
void ShowAppearanceMenu(HWND owner, POINT pt);

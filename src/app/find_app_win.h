// The find window joined to the boxes, and its hotkey: the INI's findHotkey ("settings" section),
// Win+Alt+F when not set. A key that is taken is told once, as a balloon; the tray entry still opens
// the window.
#pragma once
#include <string>

constexpr int kFindHotKeyId = 1;
extern std::wstring g_findHotKeyName; // as the tray menu shows it; empty: no hotkey
void SetUpFind();
bool RegisterFindHotKey(); // false: the key is taken

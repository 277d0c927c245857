// The key that opens the find window from anywhere, as the INI file writes it ("Win+Alt+F").
#pragma once
#include <string>

// The default: Windows and the common programs leave Win+Alt+F free.
extern const wchar_t* const kDefaultFindHotKey;

struct HotKey {
    unsigned modifiers = 0; // the system's values: 1 Alt, 2 Ctrl, 4 Shift, 8 Win
    unsigned key = 0;       // virtual-key code; 0: no hotkey
};

enum class HotKeyText { Key, Off, Invalid };

// Reads "Ctrl+Alt+F", "win + shift + space", "Alt+F9" (modifiers in any order and case, then one
// key: a letter, a digit, F1..F24, Space). A key without a modifier is refused, except F1..F24 with
// none; "" and "off" (or "none") turn the hotkey off.
HotKeyText ParseHotKey(const std::wstring& text, HotKey& out);
// "Win+Alt+F": how the menu shows a key (modifiers in a fixed order).
std::wstring HotKeyName(const HotKey& key);

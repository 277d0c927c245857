// Loading and saving the appearance settings.
#pragma once
#include <string>

// The INI file beside the executable; where that file can neither be created nor written, the
// per-user file "%APPDATA%\Brindlecot\brindlecot.ini" (with the debug log beside it).
void InitIniPath();
void InitIniPathFor(const std::wstring& exePath);
void LoadSkin();
void LoadStyle();
void LoadIconSize();
// The five persistent lists, the skin, the style and the icon size, as stored in the INI file.
void LoadStoredChoices();
void SaveStyleKey(const wchar_t* key, const std::wstring& value);

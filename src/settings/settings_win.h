// Loading and saving the appearance settings.
#pragma once
#include <string>

void InitIniPath();
void LoadSkin();
void LoadStyle();
void LoadIconSize();
void SaveStyleKey(const wchar_t* key, const std::wstring& value);
void ApplyStyleAll();

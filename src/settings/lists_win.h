// Loading and writing the persistent lists and positions.
#pragma once
#include <string>

void LoadManualGroups();
void LoadFreedItems();
void LoadBoxNames();
void LoadHiddenBoxes();
void LoadCustomBoxes();
void SaveFreedItem(const std::wstring& name, bool freed);
void LoadPos();
void SavePos(const std::wstring& key, int x, int y);

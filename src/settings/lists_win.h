// Loading and writing the persistent lists and positions.
#pragma once
#include <string>
#include <vector>

void LoadManualGroups();
void LoadFreedItems();
void LoadBoxNames();
void LoadHiddenBoxes();
void LoadCustomBoxes();
void LoadHoverOpenBoxes();
void SaveFreedItem(const std::wstring& name, bool freed);
// The remembered places of the boxes of these keys (the groups of the scan) into g_posCache.
void LoadPos(const std::vector<std::wstring>& keys);
void SavePos(const std::wstring& key, int x, int y);

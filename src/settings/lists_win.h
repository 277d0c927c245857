// Loading and writing the persistent lists and positions.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "base/geom.h"

void LoadManualGroups();
void LoadFreedItems();
void LoadBoxNames();
void LoadHiddenBoxes();
void LoadCustomBoxes();
void LoadHoverOpenBoxes();
void SaveFreedItem(const std::wstring& name, bool freed);
// The remembered places of the boxes of these keys (the groups of the scan) into g_posCache.
void LoadPos(const std::vector<std::wstring>& keys);
// Writes the place under the keys of the monitors shown now (g_placeSuffix) and into g_posCache.
void SavePos(const std::wstring& key, int x, int y);
// The place stored for `key` under the keys of `suffix`, wherever it lies; none when there is none.
std::optional<Point> StoredPlace(const std::wstring& key, const std::wstring& suffix);

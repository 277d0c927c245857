// The persistent lists and remembered positions in memory.
#pragma once
#include <map>
#include <set>
#include <string>

#include "base/geom.h"

extern std::map<std::wstring, std::wstring> g_manualGroups; // "manualGroups": name -> key (steers GetGroupKey)
extern std::set<std::wstring> g_freedItems;              // "freedItems"
extern std::map<std::wstring, std::wstring> g_boxNames;   // "boxNames": key -> display name
extern std::set<std::wstring> g_hiddenBoxes;              // "hiddenBoxes"
extern std::set<std::wstring> g_customBoxes;              // "customBoxes"
extern std::map<std::wstring, Rect> g_posCache;           // key -> (x, y, x + 240, y + 360)

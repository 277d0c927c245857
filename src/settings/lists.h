// The persistent lists and remembered positions in memory.
#pragma once
#include <map>
#include <set>
#include <string>

#include "base/geom.h"

// Item name -> group key chosen by the user (INI section "manualGroups"); it steers GetGroupKey.
extern std::map<std::wstring, std::wstring> g_manualGroups;
extern std::set<std::wstring> g_freedItems;              // "freedItems"
extern std::map<std::wstring, std::wstring> g_boxNames;   // "boxNames": key -> display name
extern std::set<std::wstring> g_hiddenBoxes;              // "hiddenBoxes"
extern std::set<std::wstring> g_customBoxes;              // "customBoxes"
extern std::set<std::wstring> g_hoverOpenBoxes;           // "hoverOpen": folded boxes that open on hover
extern std::map<std::wstring, Rect> g_posCache;           // key -> (x, y) and the nominal box size
// The position keys of the set of monitors shown now: "" for the plain "x" and "y" (the set seen
// first, so older files and programs read them as ever), else "@" and the set's name ("x@1a2b3c4d").
extern std::wstring g_placeSuffix;

// The persistent lists and remembered positions in memory.
#include "settings/lists.h"

std::map<std::wstring, std::wstring> g_manualGroups;
std::set<std::wstring> g_freedItems;
std::map<std::wstring, std::wstring> g_boxNames;
std::set<std::wstring> g_hiddenBoxes;
std::set<std::wstring> g_customBoxes;
std::set<std::wstring> g_hoverOpenBoxes;
std::map<std::wstring, Rect> g_posCache;
std::wstring g_placeSuffix;

#include "inventory/inventory.h"
#include "settings/lists.h"

std::wstring g_desktop;
std::wstring g_hidden;
std::vector<Item> g_items;
std::vector<Group> g_groups;

std::map<std::wstring, std::wstring> g_manualGroups;
std::set<std::wstring> g_freedItems;
std::map<std::wstring, std::wstring> g_boxNames;
std::set<std::wstring> g_hiddenBoxes;
std::set<std::wstring> g_customBoxes;
std::map<std::wstring, Rect> g_posCache;

std::wstring HiddenStoreFor(const std::wstring& desktop) {
    return desktop.empty() ? std::wstring() : desktop + L"\\.hidden";
}

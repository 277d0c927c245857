#include "inventory/inventory.h"

std::wstring g_desktop;
std::wstring g_hidden;
std::vector<Item> g_items;
std::vector<Group> g_groups;

std::wstring HiddenStoreFor(const std::wstring& desktop) {
    return desktop.empty() ? std::wstring() : desktop + L"\\.hidden";
}

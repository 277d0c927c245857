// State of the desktop inventory shared by the scan, the moves and the boxes.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "inventory/item.h"

using Group = std::pair<std::wstring, std::vector<Item>>;

extern std::wstring g_desktop;   // the user's desktop folder; empty when it cannot be found
extern std::wstring g_hidden;    // g_desktop + "\.hidden"; empty when g_desktop is empty
extern std::vector<Item> g_items;  // flat result of the last scan
extern std::vector<Group> g_groups; // ordered groups of the last scan, one box each

// The hidden store path for a desktop path: empty for an empty desktop path.
std::wstring HiddenStoreFor(const std::wstring& desktop);

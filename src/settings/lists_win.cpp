// The five persistent lists, the freed-items entries and the box positions in the INI file.
#include "settings/lists_win.h"

#include "app/app_win.h"
#include "base/strutil.h"
#include "inventory/inventory.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"
#include "settings/list_parse.h"
#include "settings/lists.h"
#include "settings/settings.h"

namespace {

std::set<std::wstring> LoadSet(const wchar_t* section) {
    const auto keys = ParseSetSectionKeys(IniGetSection(section));
    return std::set<std::wstring>(keys.begin(), keys.end());
}

// All monitors together, in screen coordinates.
Rect VirtualScreen() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

} // namespace

void LoadManualGroups() {
    if (g_iniPath.empty()) return;
    g_manualGroups = ParseMapSection(IniGetSection(L"manualGroups"));
}

void LoadFreedItems() {
    if (g_iniPath.empty()) return;
    g_freedItems = LoadSet(L"freedItems");
}

void LoadBoxNames() {
    if (g_iniPath.empty()) return;
    g_boxNames = ParseMapSection(IniGetSection(L"boxNames"));
}

void LoadHiddenBoxes() {
    if (g_iniPath.empty()) return;
    const auto keys = ParseSetSectionKeys(IniGetSection(L"hiddenBoxes"));
    g_hiddenBoxes = std::set<std::wstring>(keys.begin(), keys.end());
    for (const auto& line : HiddenBoxesLoadLog(g_iniPath, keys, g_hiddenBoxes.size()))
        LogDbg(line);
}

void LoadCustomBoxes() {
    if (g_iniPath.empty()) return;
    g_customBoxes = LoadSet(L"customBoxes");
}

void SaveFreedItem(const std::wstring& name, bool freed) {
    if (g_iniPath.empty()) return;
    const std::wstring key = IniKeyFor(name);
    if (freed) {
        IniWrite(L"freedItems", key.c_str(), L"1");
    } else {
        IniDeleteKey(L"freedItems", key.c_str());
    }
    IniFlush();
}

void LoadPos() {
    if (g_iniPath.empty()) return;
    const Rect screens = VirtualScreen();
    for (const auto& g : g_groups) {
        const std::wstring section = IniSectionFor(g.first);
        const auto pos = PosFromStored(IniGetInt(section.c_str(), L"x", -1),
                                       IniGetInt(section.c_str(), L"y", -1), screens);
        if (pos) g_posCache[g.first] = *pos;
    }
}

void SavePos(const std::wstring& key, int x, int y) {
    const std::wstring section = IniSectionFor(key);
    IniWrite(section.c_str(), L"x", IntToW(x));
    IniWrite(section.c_str(), L"y", IntToW(y));
}

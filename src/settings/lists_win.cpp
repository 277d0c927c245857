// The five persistent lists, the freed-items entries and the box positions in the INI file.
#include "settings/lists_win.h"

#include <climits>

#include "base/log_win.h"
#include "base/screen_win.h"
#include "base/strutil.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"
#include "settings/list_parse.h"
#include "settings/lists.h"
#include "settings/metrics.h"
#include "settings/settings.h"

namespace {

std::set<std::wstring> LoadSet(const wchar_t* section) {
    const auto keys = ParseSetSectionKeys(IniGetSection(section));
    return std::set<std::wstring>(keys.begin(), keys.end());
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

void LoadHoverOpenBoxes() {
    if (g_iniPath.empty()) return;
    g_hoverOpenBoxes = LoadSet(L"hoverOpen");
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

void LoadPos(const std::vector<std::wstring>& keys) {
    if (g_iniPath.empty()) return;
    const std::vector<Rect> areas = MonitorWorkAreas();
    constexpr int kMissing = INT_MIN; // no place: a negative corner may be a real one
    const std::wstring xKey = L"x" + g_placeSuffix, yKey = L"y" + g_placeSuffix;
    for (const auto& key : keys) {
        const std::wstring section = IniSectionFor(key);
        const auto pos = PosFromStored(IniGetInt(section.c_str(), xKey.c_str(), kMissing),
                                       IniGetInt(section.c_str(), yKey.c_str(), kMissing), areas);
        if (pos) g_posCache[key] = *pos;
    }
}

void SavePos(const std::wstring& key, int x, int y) {
    // The next rebuild starts the box where it was saved, also when its window cannot be read then
    // (the shell's restart took the windows of the desktop layer with it).
    g_posCache[key] = Rect{x, y, x + kNominalBoxWidth, y + kNominalBoxHeight};
    // A place taken before the file could be read is not the user's: the stored one comes once it is.
    if (IniUnread()) return;
    const std::wstring section = IniSectionFor(key);
    IniWrite(section.c_str(), (L"x" + g_placeSuffix).c_str(), IntToW(x));
    IniWrite(section.c_str(), (L"y" + g_placeSuffix).c_str(), IntToW(y));
}

std::optional<Point> StoredPlace(const std::wstring& key, const std::wstring& suffix) {
    constexpr int kMissing = INT_MIN;
    const std::wstring section = IniSectionFor(key);
    const int x = IniGetInt(section.c_str(), (L"x" + suffix).c_str(), kMissing);
    const int y = IniGetInt(section.c_str(), (L"y" + suffix).c_str(), kMissing);
    if (x == kMissing || y == kMissing) return std::nullopt;
    return Point{x, y};
}

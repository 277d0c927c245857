#include "boxes/display_layouts_win.h"

#include <algorithm>
#include <utility>

#include "base/log_win.h"
#include "base/screen_win.h"
#include "boxes/box_rules.h"
#include "boxes/box_win.h"
#include "boxes/display_set.h"
#include "boxes/layout_win.h"
#include "render/box_record_win.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"
#include "settings/lists.h"
#include "settings/lists_win.h"
#include "settings/metrics.h"
#include "settings/settings.h"

namespace {

constexpr wchar_t kSection[] = L"displaySets";

std::vector<MonitorInfo> g_shown;
bool g_carriedAtStart = false;

// The keys of a set's places: the plain ones for the home set (and while no set is home yet).
std::wstring SuffixOf(const std::wstring& name) {
    const std::wstring home = IniGetString(kSection, L"home", L"", 64);
    return home.empty() || name == home ? std::wstring() : L"@" + name;
}

void WriteIfOther(const wchar_t* key, const std::wstring& value) {
    if (IniGetString(kSection, key, L"", 4096) != value) IniWrite(kSection, key, value);
}

// The set becomes the one shown: its keys take the places, it is described and named as the last.
void TakeSet(const std::vector<MonitorInfo>& set) {
    const std::wstring name = SetName(set);
    // A file not read yet (another program holds it) is not told which set is home: what it holds may
    // name another one, and is read again once it is free.
    if (!g_iniPath.empty() && !IniUnread()) {
        if (IniGetString(kSection, L"home", L"", 64).empty()) IniWrite(kSection, L"home", name);
        WriteIfOther(name.c_str(), DescribeSet(set));
        WriteIfOther(L"current", name);
    }
    g_placeSuffix = SuffixOf(name);
    g_shown = set;
}

void SaveEveryPlace() {
    IniBatch batch;
    for (const BoxWin* box : g_boxes) {
        RECT r = {};
        if (box->hwnd && GetWindowRect(box->hwnd, &r)) SavePos(box->key, r.left, r.top);
    }
}

} // namespace

void StartDisplaySet(const std::vector<std::wstring>& keys) {
    const std::vector<MonitorInfo> now = Monitors();
    const std::wstring lastName = IniGetString(kSection, L"current", L"", 64);
    const std::wstring lastSuffix = SuffixOf(lastName);
    TakeSet(now);
    g_carriedAtStart = false;
    if (g_iniPath.empty() || lastName.empty() || lastName == SetName(now)) return;
    for (const auto& key : keys)
        if (StoredPlace(key, g_placeSuffix)) return; // this set has a layout
    const auto last = ParseSet(IniGetString(kSection, lastName.c_str(), L"", 4096));
    if (!last) return;
    for (const auto& key : keys) {
        const auto at = StoredPlace(key, lastSuffix);
        if (!at) continue;
        const std::wstring size = SizeSectionFor(key);
        const int w = std::max(kMinBoxWidth, IniGetInt(size.c_str(), L"w", kNominalBoxWidth));
        const int h = std::max(kMinBoxHeight, IniGetInt(size.c_str(), L"h", kNominalBoxHeight));
        const Rect r = CarryOver({at->x, at->y, at->x + w, at->y + h}, *last, now);
        g_posCache[key] = Rect{r.left, r.top, r.left + kNominalBoxWidth, r.top + kNominalBoxHeight};
        g_carriedAtStart = true;
    }
    LogDbg(L"DISPLAYS start on " + SetName(now) + L", places carried over from " + lastName);
}

void FinishStartDisplaySet() {
    if (std::exchange(g_carriedAtStart, false)) SaveEveryPlace();
}

void ShowDisplaySet(const std::vector<MonitorInfo>& now) {
    if (g_shown.empty()) g_shown = now;
    const std::vector<MonitorInfo> from = g_shown;
    if (SameSet(from, now)) {
        // The same monitors: only a work area may have changed (the taskbar), and boxes stay in reach.
        bool sameWork = true;
        const auto a = SortedSet(from), b = SortedSet(now);
        for (size_t i = 0; i < a.size(); ++i) sameWork = sameWork && a[i].work == b[i].work;
        g_shown = now;
        if (!sameWork) SettleBoxes({}, g_boxes);
        return;
    }
    TakeSet(now);
    std::vector<std::optional<Point>> saved;
    for (const BoxWin* box : g_boxes) saved.push_back(StoredPlace(box->key, g_placeSuffix));
    LogDbg(L"DISPLAYS " + std::to_wstring(now.size()) + L" monitors, set " + SetName(now));
    ChangeDisplaysLive(saved, from, now);
    SaveEveryPlace(); // the layout of this set from now on
}

const std::vector<MonitorInfo>& ShownDisplaySet() {
    return g_shown;
}

#include "settings/list_parse.h"

#include <algorithm>

#include "base/strutil.h"
#include "settings/ini_names.h"
#include "settings/metrics.h"

std::vector<std::pair<std::wstring, std::wstring>> SplitSectionLines(const std::wstring& block) {
    std::vector<std::pair<std::wstring, std::wstring>> lines;
    size_t start = 0;
    while (start < block.size()) {
        size_t end = block.find(L'\0', start);
        if (end == std::wstring::npos) end = block.size();
        if (end == start) break; // an empty line ends the block
        const size_t eq = block.find(L'=', start);
        if (eq < end) lines.emplace_back(block.substr(start, eq - start), block.substr(eq + 1, end - eq - 1));
        start = end + 1;
    }
    return lines;
}

std::map<std::wstring, std::wstring> ParseMapSection(const std::wstring& block) {
    std::map<std::wstring, std::wstring> out;
    for (const auto& line : SplitSectionLines(block))
        out[NameFromIniKey(line.first)] = ValueFromIni(line.second);
    return out;
}

std::vector<std::wstring> ParseSetSectionKeys(const std::wstring& block) {
    std::vector<std::wstring> keys;
    for (const auto& line : SplitSectionLines(block))
        keys.push_back(NameFromIniKey(line.first));
    return keys;
}

std::vector<std::wstring> HiddenBoxesLoadLog(const std::wstring& iniPath,
                                             const std::vector<std::wstring>& keys, size_t total) {
    std::vector<std::wstring> log;
    log.push_back(L"LoadHidden start, ini=" + iniPath);
    for (const auto& k : keys)
        log.push_back(L"LoadHidden key=[" + k + L"]");
    log.push_back(L"LoadHidden total=" + IntToW(static_cast<int>(total)));
    return log;
}

std::optional<Rect> PosFromStored(int x, int y, const std::vector<Rect>& workAreas) {
    constexpr long long kWidth = kNominalBoxWidth, kHeight = kNominalBoxHeight, kBand = kTitleBand;
    const long long l = x, t = y;
    for (const Rect& a : workAreas)
        if (l + kWidth > a.left && l < a.right && t + kBand > a.top && t < a.bottom)
            return Rect{x, y, static_cast<int>(l + kWidth), static_cast<int>(std::min(t + kHeight, 2147483647LL))};
    return std::nullopt;
}

#include "settings/settings.h"

#include <algorithm>

#include "settings/metrics.h"

std::wstring g_iniPath;
bool g_firstRun = false;

const int g_trayIconCount = 4;
int g_skinIndex = 2;
int g_alpha = 130;
int g_fontSize = 13;
std::wstring g_fontName = L"Microsoft YaHei UI";
std::wstring g_bgImage;
std::wstring g_bgImageLoaded;
bool g_noOverlap = true;
int g_trayIconStyle = 0;
int g_iconSize = 32;
bool g_desktopDoubleClick = true;

int SkinFromStored(int stored, int current) { return stored >= 0 && stored < g_skinCount ? stored : current; }

int AlphaFromStored(int stored) { return stored < 30 ? 30 : stored > 255 ? 255 : stored; }

int FontSizeFromStored(int stored) { return stored < 8 ? 8 : stored > 40 ? 40 : stored; }

int TrayIconFromStored(int stored) { return stored < 0 || stored >= g_trayIconCount ? 0 : stored; }

bool IconSizeAccepted(int stored) { return stored >= 16 && stored <= 128; }

bool NoOverlapFromStored(int stored) { return stored != 0; }

std::wstring FitToBuffer(const std::wstring& s, int bufChars) {
    if (bufChars <= 0) return std::wstring();
    const size_t keep = static_cast<size_t>(bufChars - 1);
    return s.size() > keep ? s.substr(0, keep) : s;
}

namespace {

std::wstring TrimBlanks(const std::wstring& s) {
    const size_t first = s.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return std::wstring();
    return s.substr(first, s.find_last_not_of(L" \t") - first + 1);
}

} // namespace

std::wstring TypedSetting(const std::wstring& typed, int bufChars) {
    std::wstring s = TrimBlanks(typed);
    if (s.size() >= 2 && (s.front() == L'"' || s.front() == L'\'') && s.back() == s.front())
        s = TrimBlanks(s.substr(1, s.size() - 2));
    return TrimBlanks(FitToBuffer(s, bufChars)); // a cut may end on a blank
}

TypedCheck CheckFontSize(const std::wstring& typed) {
    const std::wstring t = TrimBlanks(typed);
    const size_t start = t.size() && (t[0] == L'+' || t[0] == L'-') ? 1 : 0;
    long long v = 0; // stops growing once it is out of range anyway
    size_t i = start;
    for (; i < t.size() && t[i] >= L'0' && t[i] <= L'9'; ++i) v = std::min(v * 10 + (t[i] - L'0'), 1000LL);
    if (start && t[0] == L'-') v = -v;
    if (i > start && i == t.size() && v >= 8 && v <= 40) return {true, std::to_wstring(v), {}};
    return {false, {}, L"字体大小须是 8 到 40 之间的整数，“" + t + L"”不是。"};
}

TypedCheck CheckFontName(const std::wstring& typed, const std::function<bool(const std::wstring&)>& installed) {
    const std::wstring name = TypedSetting(typed, kFontNameBuffer);
    if (!name.empty() && installed(name)) return {true, name, {}};
    return {false, {}, L"系统中没有字体“" + name + L"”。"};
}

TypedCheck CheckPicture(const std::wstring& typed, const std::function<PictureFile(const std::wstring&)>& probe) {
    const std::wstring path = TypedSetting(typed, kBgImageBuffer);
    const PictureFile found = path.empty() ? PictureFile::kMissing : probe(path);
    if (found == PictureFile::kDecodes) return {true, path, {}};
    if (found == PictureFile::kMissing) return {false, {}, L"找不到图片文件“" + path + L"”。"};
    return {false, {}, L"无法读取图片“" + path + L"”：须是 BMP、PNG、JPG 或 GIF 图片。"};
}

void ResetSettingsToDefaults() {
    g_skinIndex = 2;
    g_alpha = 130;
    g_fontSize = 13;
    g_fontName = L"Microsoft YaHei UI";
    g_bgImage.clear();
    g_bgImageLoaded.clear();
    g_noOverlap = true;
    g_trayIconStyle = 0;
    g_iconSize = 32;
    g_desktopDoubleClick = true;
    g_cellW = 78;
    g_cellH = 84;
}

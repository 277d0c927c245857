#include "settings/settings_win.h"

#include <cstdio>

#include "app/app_win.h"
#include "base/strutil.h"
#include "render/metrics.h"
#include "render/render_win.h"
#include "settings/ini_win.h"
#include "settings/settings.h"

void InitIniPath() {
    g_iniPath = PathBesideExe(GetExePath(), L"brindlecot.ini");
    FILE* f = _wfopen(g_iniPath.c_str(), L"r");
    if (f) {
        fclose(f);
    } else {
        g_firstRun = true;
    }
}

void LoadSkin() {
    if (g_iniPath.empty()) return;
    g_skinIndex = SkinFromStored(IniGetInt(L"settings", L"skin", 2), g_skinIndex);
}

void LoadStyle() {
    if (g_iniPath.empty()) return;
    g_alpha = AlphaFromStored(IniGetInt(L"settings", L"alpha", 130));
    g_fontSize = FontSizeFromStored(IniGetInt(L"settings", L"fontSize", 13));
    g_fontName = IniGetString(L"settings", L"fontName", L"Microsoft YaHei UI", kFontNameBuffer);
    g_bgImage = IniGetString(L"settings", L"bgImage", L"", kBgImageBuffer);
    g_noOverlap = NoOverlapFromStored(IniGetInt(L"settings", L"noOverlap", 1));
    g_trayIconStyle = TrayIconFromStored(IniGetInt(L"settings", L"trayIcon", 0));
}

void LoadIconSize() {
    if (g_iniPath.empty()) return;
    const int size = IniGetInt(L"settings", L"iconSize", 32);
    if (IconSizeAccepted(size)) {
        g_iconSize = size;
        UpdateCellSize();
    }
}

void SaveStyleKey(const wchar_t* key, const std::wstring& value) { IniWrite(L"settings", key, value); }

void ApplyStyleAll() {
    UpdateSkinBrush();
    RebuildAllFormats();
    FlushIconBitmaps();
}

// The appearance menu: transparency, font, background picture, skin and icon size. Each choice is
// written to the INI file at once and every box is marked to be drawn again.
#include "ui/appearance_win.h"

#include "base/strutil.h"
#include "render/background_win.h"
#include "render/paint_win.h"
#include "render/skins_win.h"
#include "settings/metrics.h"
#include "settings/settings.h"
#include "settings/settings_win.h"
#include "ui/dialogs_win.h"
#include "ui/menus.h"

#include <gdiplus.h>

HMENU BuildPopupMenu(const std::vector<MenuEntry>& model) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    for (const MenuEntry& e : model) {
        if (e.separator) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (!e.sub.empty()) {
            HMENU sub = BuildPopupMenu(e.sub);
            if (sub) AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), e.text.c_str());
        } else {
            AppendMenuW(menu, MF_STRING | (e.checked ? MF_CHECKED : 0u), static_cast<UINT_PTR>(e.id),
                        e.text.c_str());
        }
    }
    return menu;
}

namespace {

void SetBackground(const std::wstring& path) {
    g_bgImage = path;
    ForgetBgImage(); // read again even when the path is the same: the file may have changed
    SaveStyleKey(L"bgImage", path);
}

} // namespace

void RunAppearanceCommand(HWND owner, int cmd) {
    if (cmd == kCmdAlpha) {
        const int v = SliderBox(owner, L"透明度", g_alpha);
        if (v >= 0) {
            g_alpha = v;
            SaveStyleKey(L"alpha", IntToW(v));
            ApplyStyleAll();
        }
    } else if (cmd == kCmdFontName) {
        // What the next start can read back is what this run uses.
        const std::wstring text = TypedSetting(InputBox(owner, L"字体名称", g_fontName), kFontNameBuffer);
        if (!text.empty()) {
            g_fontName = text;
            SaveStyleKey(L"fontName", text);
            ApplyStyleAll();
        }
    } else if (cmd == kCmdFontSize) {
        const std::wstring text = InputBox(owner, L"字体大小 (8-40)", IntToW(g_fontSize));
        if (!text.empty()) {
            g_fontSize = FontSizeFromText(text);
            SaveStyleKey(L"fontSize", text); // as typed; the next start reads and clamps it the same way
            ApplyStyleAll();
        }
    } else if (cmd == kCmdBgImage) {
        const std::wstring text =
            TypedSetting(InputBox(owner, L"背景图片路径(BMP/PNG/JPG)", g_bgImage), kBgImageBuffer);
        if (!text.empty()) SetBackground(text);
    } else if (cmd == kCmdClearBg) {
        SetBackground(std::wstring());
    } else if (SkinForCommand(cmd) >= 0) {
        g_skinIndex = SkinForCommand(cmd);
        SaveStyleKey(L"skin", IntToW(g_skinIndex));
        UpdateSkinBrush(); // a skin only recolours: formats and icon bitmaps stay
    } else if (IconSizeForCommand(cmd) > 0) {
        g_iconSize = IconSizeForCommand(cmd);
        UpdateCellSize();
        SaveStyleKey(L"iconSize", IntToW(g_iconSize));
        ApplyStyleAll();
    } else {
        return; // dismissed
    }
    MarkAllBoxesDirty();
}

void ShowAppearanceMenu(HWND owner, POINT pt) {
    HMENU menu = BuildPopupMenu(AppearanceMenuModel(g_skinIndex, g_iconSize));
    if (!menu) return;
    const int cmd = static_cast<int>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, owner, nullptr));
    DestroyMenu(menu);
    RunAppearanceCommand(owner, cmd);
}

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

#include <dwrite.h>
#include <gdiplus.h>
#include <wrl/client.h>

#include <optional>

#include "base/process_win.h"
#include "render/devices_win.h"
#include "render/picture_decode_win.h"

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

std::function<void(const std::wstring& text)> g_noticeShown;

void ShowNotice(HWND owner, const std::wstring& text) {
    if (g_noticeShown) return g_noticeShown(text);
    MessageBoxW(g_hMainWnd ? g_hMainWnd : owner, text.c_str(), L"Brindlecot", MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

namespace {

// Whether text drawn in this font would be drawn in it: DirectWrite (which draws the boxes) or GDI
// (which also knows the names the system substitutes) has a family of that name.
bool FontInstalled(const std::wstring& name) {
    if (g_dw) {
        Microsoft::WRL::ComPtr<IDWriteFontCollection> fonts;
        UINT32 index = 0;
        BOOL exists = FALSE;
        if (SUCCEEDED(g_dw->GetSystemFontCollection(&fonts, FALSE)) &&
            SUCCEEDED(fonts->FindFamilyName(name.c_str(), &index, &exists)) && exists)
            return true;
    }
    if (name.size() >= LF_FACESIZE) return false;
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, name.c_str(), LF_FACESIZE);
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(
        dc, &lf,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM out) -> int {
            *reinterpret_cast<bool*>(out) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

PictureFile ProbePicture(const std::wstring& path) {
    const DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_DIRECTORY)) return PictureFile::kMissing;
    Gdiplus::Bitmap* picture =
        DecodeBoundedPicture(path, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const bool decodes = picture != nullptr;
    delete picture;
    return decodes ? PictureFile::kDecodes : PictureFile::kUndecodable;
}

// The checked value, or the message and none.
std::optional<std::wstring> Checked(HWND owner, const TypedCheck& check) {
    if (check.ok) return check.value;
    ShowNotice(owner, check.message);
    return std::nullopt;
}

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
        // What the next start can read back is what this run uses; a font the system lacks is refused.
        const std::wstring text = InputBox(owner, L"字体名称", g_fontName);
        if (TypedSetting(text, kFontNameBuffer).empty()) return MarkAllBoxesDirty();
        if (const auto name = Checked(owner, CheckFontName(text, FontInstalled))) {
            g_fontName = *name;
            SaveStyleKey(L"fontName", *name);
            ApplyStyleAll();
        }
    } else if (cmd == kCmdFontSize) {
        const std::wstring text = InputBox(owner, L"字体大小 (8-40)", IntToW(g_fontSize));
        if (text.empty()) return MarkAllBoxesDirty();
        if (const auto size = Checked(owner, CheckFontSize(text))) {
            g_fontSize = _wtoi(size->c_str());
            SaveStyleKey(L"fontSize", *size);
            ApplyStyleAll();
        }
    } else if (cmd == kCmdBgImage) {
        const std::wstring text = InputBox(owner, L"背景图片路径(BMP/PNG/JPG)", g_bgImage);
        if (TypedSetting(text, kBgImageBuffer).empty()) return MarkAllBoxesDirty();
        if (const auto path = Checked(owner, CheckPicture(text, ProbePicture))) SetBackground(*path);
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

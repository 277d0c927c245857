#include "ui/menus.h"

#include "base/strutil.h"
#include "render/skins.h"
#include "settings/settings.h"

namespace {

const wchar_t* const g_trayIconNames[4] = {L"蓝色盒子", L"黄色文件夹", L"深色网格", L"绿色圆点"};

MenuEntry Item(int id, const std::wstring& text, bool checked = false) {
    MenuEntry e;
    e.id = id;
    e.text = text;
    e.checked = checked;
    return e;
}

MenuEntry Separator() {
    MenuEntry e;
    e.separator = true;
    return e;
}

MenuEntry Submenu(const wchar_t* text, std::vector<MenuEntry> sub) {
    MenuEntry e;
    e.text = text;
    e.sub = std::move(sub);
    return e;
}

const int kIconSizes[4] = {24, 32, 48, 64};

} // namespace

std::vector<MenuEntry> TrayMenuModel(bool noOverlap, bool autoStart, int trayIconStyle, const std::wstring& findKey,
                                     bool desktopDoubleClick) {
    std::vector<MenuEntry> icons;
    for (int i = 0; i < g_trayIconCount; ++i)
        icons.push_back(Item(kCmdTrayIconFirst + i, g_trayIconNames[i], i == trayIconStyle));
    return {
        Item(kCmdShowAll, L"显示所有盒子"),
        Item(kCmdHideAll, L"隐藏所有盒子"),
        Separator(),
        Item(kCmdCollectAll, L"收纳全部桌面图标到盒子"),
        Item(kCmdRestoreAll, L"还原全部图标到桌面"),
        Item(kCmdNewBox, L"新建盒子"),
        Item(kCmdAutoArrange, L"自动排列"),
        Item(kCmdNoOverlap, L"盒子不重叠", noOverlap),
        Item(kCmdAutoStart, L"开机自动启动", autoStart),
        Item(kCmdDesktopDoubleClick, L"双击桌面显示/隐藏盒子", desktopDoubleClick),
        Item(kCmdRestoreHidden, L"恢复所有隐藏盒子"),
        Item(kCmdFind, findKey.empty() ? L"查找桌面文件" : L"查找桌面文件\t" + findKey),
        Separator(),
        Item(kCmdAppearance, L"外观设置"),
        Submenu(L"托盘图标", std::move(icons)),
        Item(kCmdOpenStore, L"打开收纳文件夹"),
        Separator(),
        Item(kCmdExit, L"退出"),
    };
}

std::vector<MenuEntry> AppearanceMenuModel(int skinIndex, int iconSize) {
    std::vector<MenuEntry> skins;
    for (int i = 0; i < kSkinRows; ++i)
        skins.push_back(Item(kCmdSkinFirst + i, g_skins[i].name, i == skinIndex));
    const wchar_t* const sizeNames[4] = {L"小 (24)", L"中 (32)", L"大 (48)", L"特大 (64)"};
    std::vector<MenuEntry> sizes;
    for (int i = 0; i < 4; ++i)
        sizes.push_back(Item(kCmdIconSizeFirst + i, sizeNames[i], kIconSizes[i] == iconSize));
    return {
        Item(kCmdAlpha, L"透明度..."),      Item(kCmdFontName, L"字体名称..."),
        Item(kCmdFontSize, L"字体大小..."), Item(kCmdBgImage, L"背景图片..."),
        Item(kCmdClearBg, L"清除背景图"),   Separator(),
        Submenu(L"皮肤", std::move(skins)), Submenu(L"图标大小", std::move(sizes)),
    };
}

int IconSizeForCommand(int cmd) {
    return cmd >= kCmdIconSizeFirst && cmd < kCmdIconSizeFirst + 4 ? kIconSizes[cmd - kCmdIconSizeFirst] : 0;
}

int TrayStyleForCommand(int cmd) {
    return cmd >= kCmdTrayIconFirst && cmd < kCmdTrayIconFirst + g_trayIconCount ? cmd - kCmdTrayIconFirst
                                                                                 : -1;
}

int SkinForCommand(int cmd) {
    return cmd >= kCmdSkinFirst && cmd < kCmdSkinFirst + kSkinRows ? cmd - kCmdSkinFirst : -1;
}

std::vector<MenuEntry> BoxMenuModel(bool collapsed, bool hoverOpen) {
    return {Item(kBoxCmdCollapse, collapsed ? L"展开" : L"折叠"),
            Item(kBoxCmdHoverOpen, L"折叠时悬停展开", hoverOpen),
            Item(kBoxCmdRename, L"重命名"),
            Separator(),
            Item(kBoxCmdAppearance, L"外观设置..."),
            Item(kBoxCmdArrange, L"自动排列"),
            Separator(),
            Item(kBoxCmdDelete, L"删除盒子（可在托盘恢复）")};
}

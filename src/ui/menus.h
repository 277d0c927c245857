// The tray menu and the appearance menu as plain data: ids, texts, order, check marks and submenus.
// The Windows side turns a model into an HMENU and acts on the command it returns.
#pragma once
#include <string>
#include <vector>

struct MenuEntry {
    int id = 0;        // 0 for separators and submenus
    std::wstring text; // empty for separators
    bool checked = false;
    bool separator = false;
    std::vector<MenuEntry> sub; // non-empty: a submenu
};

// Tray menu commands.
enum TrayCommand {
    kCmdShowAll = 1001,
    kCmdHideAll = 1002,
    kCmdCollectAll = 1003,
    kCmdRestoreAll = 1004,
    kCmdExit = 1005,
    kCmdAutoArrange = 1006,
    kCmdRestoreHidden = 1007,
    kCmdAppearance = 1008,
    kCmdNoOverlap = 1011,
    kCmdNewBox = 1012,
    kCmdAutoStart = 1014,
    kCmdOpenStore = 1015,
    kCmdFind = 1016,
    kCmdDesktopDoubleClick = 1017,
    kCmdTrayIconFirst = 300, // 300 + style
};

// Box menu commands.
enum BoxMenuCommand {
    kBoxCmdCollapse = 1,
    kBoxCmdRename = 2,
    kBoxCmdDelete = 3,
    kBoxCmdArrange = 5,
    kBoxCmdAppearance = 7,
    kBoxCmdHoverOpen = 8,
};

// Appearance menu commands.
enum AppearanceCommand {
    kCmdAlpha = 30,
    kCmdFontName = 31,
    kCmdFontSize = 32,
    kCmdBgImage = 33,
    kCmdClearBg = 34,
    kCmdIconSizeFirst = 10, // 10..13: 24, 32, 48, 64
    kCmdSkinFirst = 200,    // 200 + skin row
};


// findKey: the find hotkey's name, shown beside its entry (empty: none).
// desktopDoubleClick: the check mark of the entry that turns the desktop's double click on and off.
std::vector<MenuEntry> TrayMenuModel(bool noOverlap, bool autoStart, int trayIconStyle, const std::wstring& findKey = L"",
                                     bool desktopDoubleClick = true);
std::vector<MenuEntry> AppearanceMenuModel(int skinIndex, int iconSize);
// The menu on a box's title bar; its first entry collapses or expands the box, the next one (checked
// when on) lets the folded box open while the pointer rests on its title.
std::vector<MenuEntry> BoxMenuModel(bool collapsed, bool hoverOpen = false);

// The icon edge of an icon-size command (10..13), or 0 for any other command.
int IconSizeForCommand(int cmd);
// The tray icon style of a command (300..303), or -1.
int TrayStyleForCommand(int cmd);
// The skin row of a command (200..207), or -1.
int SkinForCommand(int cmd);


// The box menu on the title bar: collapse or expand, rename, appearance, arrange, delete (hide).
#include "boxes/box_menu_win.h"

#include "base/log_win.h"
#include "base/strutil.h"
#include "boxes/box_input.h"
#include "boxes/box_mouse_win.h"
#include "boxes/box_win.h"
#include "boxes/desktop_attach_win.h"
#include "boxes/layout_win.h"
#include "render/box_record_win.h"
#include "render/paint_win.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"
#include "settings/lists.h"
#include "settings/settings.h"
#include "ui/appearance_win.h"
#include "ui/dialogs_win.h"
#include "ui/menus.h"

namespace {

UINT TrackMenu(HMENU menu, int x, int y, HWND owner) {
    return static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
}

void ToggleCollapsed(HWND hwnd, BoxWin* box) {
    RECT r = {};
    if (!GetWindowRect(hwnd, &r)) return;
    box->collapsed = !box->collapsed;
    const int height = ScaleLen(box->collapsed ? kCollapsedHeight : kExpandedHeight, box->dpi);
    SetBoxPos(hwnd, r.left, r.top, box->width, height, 0);
    ResizeBoxRender(box, box->width, height); // draws the box as it now is
    // Expanded, it takes the room below it, short of the screen's edge and of the boxes under it.
    if (!box->collapsed) FitExpandedBox(box);
}

void Rename(HWND hwnd, const std::wstring key) { // a copy: the record may go during the dialog
    const auto named = g_boxNames.find(key);
    const std::wstring current = named != g_boxNames.end() ? named->second : key;
    const std::wstring text = InputBox(hwnd, L"重命名盒子", current);
    if (text.empty()) return;
    g_boxNames[key] = text;
    IniWrite(L"boxNames", IniKeyFor(key).c_str(), IniValueFor(text));
    // The dialog ran its own message loop: the box may have been rebuilt meanwhile.
    for (BoxWin* box : g_boxes)
        if (box->key == key) MarkBoxDirty(box);
}

void Delete(HWND hwnd, const std::wstring key) {
    LogDbg(L"DELETE: group=" + key + L" ini=" + g_iniPath);
    g_hiddenBoxes.insert(key);
    IniWrite(L"hiddenBoxes", IniKeyFor(key).c_str(), L"1");
    ShowBoxWindow(hwnd, false);
    RequestBoxRefresh();
}

} // namespace

TrackBoxMenuFn g_trackBoxMenu = TrackMenu;

void ShowBoxMenu(HWND hwnd, BoxWin* box, int x, int y) {
    POINT pt = {x, y};
    ClientToScreen(hwnd, &pt);
    HMENU menu = BuildPopupMenu(BoxMenuModel(box->collapsed));
    if (!menu) return;
    const UINT id = g_trackBoxMenu(menu, pt.x, pt.y, hwnd);
    DestroyMenu(menu);
    RunBoxMenuCommand(hwnd, id, pt);
}

void RunBoxMenuCommand(HWND hwnd, unsigned id, POINT screen) {
    // The menu ran its own message loop: act only on a box that still exists.
    BoxWin* box = LiveBox(hwnd);
    if (!box && id != 0) return;
    switch (id) {
    case kBoxCmdCollapse:
        ToggleCollapsed(hwnd, box);
        break;
    case kBoxCmdRename:
        Rename(hwnd, box->key);
        break;
    case kBoxCmdAppearance:
        ShowAppearanceMenu(hwnd, screen);
        break;
    case kBoxCmdArrange:
        AutoArrange();
        break;
    case kBoxCmdDelete:
        Delete(hwnd, box->key);
        break;
    default:
        LogDbg(L"RBUTTON cmd=" + IntToW(static_cast<int>(id)));
        break;
    }
}

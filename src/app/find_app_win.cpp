// The find window joined to the boxes, and its hotkey.
#include "app/find_app_win.h"
#include "app/tray_win.h"
#include "base/log_win.h"
#include "base/process_win.h"
#include "boxes/box_find_win.h"
#include "boxes/box_win.h"
#include "settings/ini_win.h"
#include "settings/lists.h"
#include "ui/find_hotkey.h"
#include "ui/find_win.h"

std::wstring g_findHotKeyName;

namespace {

std::wstring ShownBoxName(size_t box) {
    if (box >= g_boxes.size()) return {};
    const auto named = g_boxNames.find(g_boxes[box]->key);
    return named != g_boxNames.end() ? named->second : g_boxes[box]->key;
}

} // namespace

bool RegisterFindHotKey() {
    UnregisterHotKey(g_hMainWnd, kFindHotKeyId);
    g_findHotKeyName.clear();
    const std::wstring text = IniGetString(L"settings", L"findHotkey", kDefaultFindHotKey, 64);
    HotKey key;
    const HotKeyText kind = ParseHotKey(text, key);
    if (kind == HotKeyText::Off) return true;
    if (kind == HotKeyText::Invalid) {
        LogDbg(L"FIND hotkey not understood: " + text + L", " + kDefaultFindHotKey + L" instead");
        ParseHotKey(kDefaultFindHotKey, key);
    }
    const std::wstring name = HotKeyName(key);
    if (!RegisterHotKey(g_hMainWnd, kFindHotKeyId, key.modifiers | MOD_NOREPEAT, key.key)) {
        LogDbg(L"FIND hotkey " + name + L" taken, error " + std::to_wstring(GetLastError()));
        ShowTrayBalloon(L"查找热键已被占用",
                        name + L" 已被其他程序使用。请从托盘菜单的“查找桌面文件”打开查找，或在 brindlecot.ini 的 "
                               L"[settings] 中用 findHotkey 换一个键。");
        return false;
    }
    g_findHotKeyName = name;
    return true;
}

void SetUpFind() {
    g_findHost.boxCount = [] { return g_boxes.size(); };
    g_findHost.items = [](size_t box) { return box < g_boxes.size() ? &g_boxes[box]->items : nullptr; };
    g_findHost.title = ShownBoxName;
    g_findHost.mark = MarkFoundItems;
    g_findHost.reveal = RevealBoxItem;
    RegisterFindHotKey();
}

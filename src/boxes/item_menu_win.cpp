// The shell's own menu of an item, as the file manager shows it for that file or folder: open, open
// with, cut, copy, delete, rename, properties and what other programs add. The shell carries out
// the chosen command (a delete goes to the recycle bin as in the file manager). A rename asks for the
// new name in the program's own dialog, since the shell renames in place only inside a view of its
// own, and the item keeps the box it was placed in. The boxes are rebuilt afterwards.
#include "boxes/item_menu_win.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include "base/com_win.h"
#include "base/log_win.h"
#include "base/process_win.h"
#include "base/strutil.h"
#include "boxes/box_mouse_win.h"
#include "inventory/inventory_win.h"
#include "inventory/item.h"
#include "inventory/scan.h"
#include "render/box_record_win.h"
#include "render/paint_win.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"
#include "settings/lists.h"
#include "settings/lists_win.h"
#include "ui/dialogs_win.h"

namespace {

constexpr UINT kFirstCmd = 1;
constexpr UINT kLastCmd = 0x7FFF;
constexpr UINT_PTR kForwardId = 0x1C0;

UINT TrackMenu(HMENU menu, POINT pt, HWND owner, IContextMenu*) {
    SetForegroundWindow(owner);
    const UINT cmd =
        static_cast<UINT>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0); // the next click outside closes a menu again
    return cmd;
}

// The handler's interfaces for submenus it fills and draws itself ("Open with", "Send to").
struct MenuHandlers {
    ComPtr<IContextMenu2> cm2;
    ComPtr<IContextMenu3> cm3;
};

bool IsMenuMessage(UINT msg, WPARAM wParam) {
    return msg == WM_INITMENUPOPUP || msg == WM_MENUCHAR ||
           ((msg == WM_DRAWITEM || msg == WM_MEASUREITEM) && wParam == 0); // 0: a menu, not a control
}

// While the menu is open its owner hands the menu's messages to the handler.
LRESULT CALLBACK ForwardMenuMessages(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ref) {
    const auto* h = reinterpret_cast<const MenuHandlers*>(ref);
    if (IsMenuMessage(msg, wParam)) {
        LRESULT result = 0;
        if (h->cm3 && SUCCEEDED(h->cm3->HandleMenuMsg2(msg, wParam, lParam, &result))) return result;
        if (h->cm2 && msg != WM_MENUCHAR && SUCCEEDED(h->cm2->HandleMenuMsg(msg, wParam, lParam)))
            return msg == WM_INITMENUPOPUP ? 0 : TRUE;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

ComPtr<IContextMenu> ContextMenuOf(const std::wstring& path, HWND owner) {
    ComPtr<IContextMenu> cm;
    ShellObjectOf(path, owner, IID_IContextMenu, cm.put_void());
    return cm;
}

std::wstring VerbOf(IContextMenu* cm, UINT cmd) {
    wchar_t verb[128] = {};
    if (FAILED(cm->GetCommandString(cmd - kFirstCmd, GCS_VERBW, nullptr, reinterpret_cast<char*>(verb), 128)))
        return std::wstring();
    return verb;
}

// What the user decided for the old name now holds for the new one.
void CarryChoices(const std::wstring& from, const std::wstring& to) {
    const auto manual = g_manualGroups.find(from);
    if (manual != g_manualGroups.end()) {
        const std::wstring key = manual->second;
        g_manualGroups.erase(manual);
        IniDeleteKey(L"manualGroups", IniKeyFor(from).c_str());
        SetManualGroup(to, key);
    }
    if (g_freedItems.erase(from)) {
        SaveFreedItem(from, false);
        g_freedItems.insert(to);
        SaveFreedItem(to, true);
    }
}

// The shell renames the file; nothing is ever replaced (a namesake keeps the old name).
void RenameItem(HWND owner, const std::wstring& path) {
    const std::wstring name = GetFileName(path);
    const std::wstring typed = InputBox(owner, L"重命名", name);
    if (typed.empty() || typed == name || typed.find_first_of(L"\\/:*?\"<>|") != std::wstring::npos) return;
    const std::wstring to = DirOfPath(path) + L"\\" + typed;
    if (!SameNameIgnoreCase(typed, name) && GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    const std::wstring from = path + L'\0', target = to + L'\0'; // lists end with two NULs
    SHFILEOPSTRUCTW op = {};
    op.hwnd = owner;
    op.wFunc = FO_RENAME;
    op.pFrom = from.c_str();
    op.pTo = target.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_SILENT;
    if (SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted && GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES)
        CarryChoices(name, typed);
}

void RunItemCommand(HWND owner, IContextMenu* cm, UINT cmd, const std::wstring& path, POINT pt) {
    if (SameNameIgnoreCase(VerbOf(cm, cmd), L"rename")) {
        RenameItem(owner, path);
        return;
    }
    CMINVOKECOMMANDINFOEX ici = {};
    ici.cbSize = sizeof ici;
    ici.fMask = CMIC_MASK_UNICODE | CMIC_MASK_PTINVOKE;
    if (GetKeyState(VK_CONTROL) & 0x8000) ici.fMask |= CMIC_MASK_CONTROL_DOWN;
    if (GetKeyState(VK_SHIFT) & 0x8000) ici.fMask |= CMIC_MASK_SHIFT_DOWN;
    ici.hwnd = owner;
    ici.lpVerb = MAKEINTRESOURCEA(cmd - kFirstCmd);
    ici.lpVerbW = MAKEINTRESOURCEW(cmd - kFirstCmd);
    ici.nShow = SW_SHOWNORMAL;
    ici.ptInvoke = pt;
    const HRESULT hr = cm->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&ici));
    if (FAILED(hr)) LogHr(L"ITEM MENU: command " + IntToW(static_cast<int>(cmd)) + L" on " + path, hr);
}

} // namespace

TrackItemMenuFn g_trackItemMenu = TrackMenu;

bool ShowItemMenu(HWND hwnd, BoxWin* box, int x, int y) {
    if (!box) return false;
    const int index = HitTest(box, x, y);
    if (index < 0 || static_cast<size_t>(index) >= box->items.size()) return false;
    const std::wstring path = box->items[static_cast<size_t>(index)].path; // the box may go meanwhile
    POINT pt = {x, y};
    ClientToScreen(hwnd, &pt);
    ComPtr<IContextMenu> cm = ContextMenuOf(path, hwnd);
    HMENU menu = cm ? CreatePopupMenu() : nullptr;
    if (!menu) return true;
    const UINT flags = CMF_NORMAL | CMF_CANRENAME | ((GetKeyState(VK_SHIFT) & 0x8000) ? CMF_EXTENDEDVERBS : 0u);
    UINT cmd = 0;
    if (SUCCEEDED(cm->QueryContextMenu(menu, 0, kFirstCmd, kLastCmd, flags))) {
        MenuHandlers handlers;
        cm->QueryInterface(IID_IContextMenu2, handlers.cm2.put_void());
        cm->QueryInterface(IID_IContextMenu3, handlers.cm3.put_void());
        const bool forwarded = SetWindowSubclass(hwnd, ForwardMenuMessages, kForwardId,
                                                 reinterpret_cast<DWORD_PTR>(&handlers)) != FALSE;
        cmd = g_trackItemMenu(menu, pt, hwnd, cm.get());
        if (forwarded && IsWindow(hwnd)) RemoveWindowSubclass(hwnd, ForwardMenuMessages, kForwardId);
    }
    // The menu ran its own message loop: a rebuild may have destroyed the box window meanwhile.
    const HWND owner = IsWindow(hwnd) ? hwnd : g_hMainWnd;
    if (cmd >= kFirstCmd && cmd <= kLastCmd) {
        RunItemCommand(owner, cm.get(), cmd, path, pt);
        RequestBoxRefresh();
    }
    DestroyMenu(menu);
    return true;
}

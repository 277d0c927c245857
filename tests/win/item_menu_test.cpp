// The shell's own menu of an item, built for real files; the test picks a command by its verb.
#include "base/win.h"

#include <commctrl.h>
#include <shlobj.h>

#include <set>

#include "base/strutil.h"
#include "boxes/box_win.h"
#include "boxes/item_menu_win.h"
#include "boxes/name_tip_win.h"
#include "inventory/inventory_win.h"
#include "render/box_record_win.h"
#include "render/devices_win.h"
#include "ui/dialogs_win.h"
#include "win/interaction_env.h"

namespace {

std::set<std::wstring> g_verbs; // verbs of the menu as the box built it
std::wstring g_pickVerb;        // and the one the "user" picks

UINT PickVerb(HMENU menu, POINT, HWND, IContextMenu* handler) {
    UINT picked = 0;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t verb[128] = {};
        const UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == ~0u ||
            FAILED(handler->GetCommandString(id - 1, GCS_VERBW, nullptr, reinterpret_cast<char*>(verb), 128)))
            continue;
        g_verbs.insert(verb);
        if (g_pickVerb == verb) picked = id;
    }
    return picked;
}

// The text of the tooltip's one tool (the hovered cell whose name is cut), or "" without a tool.
std::wstring TipText() {
    wchar_t text[256] = {};
    TOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE, ti.lpszText = text;
    const HWND tip = NameTipWindow();
    if (tip && SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0) == 1) SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&ti));
    return text;
}

using ItemMenuWin = InteractionWorld;

TEST_F(ItemMenuWin, TheShellsCommandsOnRealFilesAndFullNamesOnHover) {
    const TrackItemMenuFn track = std::exchange(g_trackItemMenu, PickVerb);
    g_inputBoxAnswer = [](const std::wstring& title, const std::wstring& initial) {
        return std::wstring(title + L"|" + initial == L"重命名|a.txt" ? L"报告.txt" : L"");
    };
    InitDCompInfra(); // the names are laid out as the box draws them
    const std::wstring longName = L"二〇二六年第三季度项目进度汇报材料最终修订版本.docx";
    SetManualGroup(L"a.txt", L"工作");
    BoxWin* box = Make(L"工作", {DeskItem(g_hidden, L"a.txt"), DeskItem(g_hidden, longName)}, 100, 100);
    const auto at = [&](UINT msg, int cell, const std::wstring& verb = L"") {
        g_pickVerb = verb;
        const POINT p = CellCentre(box, cell);
        At(box, msg, p.x, p.y);
    };
    for (int cell : {1, 0, 1}) {
        at(WM_MOUSEMOVE, cell);
        EXPECT_EQ(TipText(), cell ? longName : L"") << "only a cut name";
    }
    at(WM_RBUTTONUP, 0); // dismissed
    EXPECT_EQ(Refreshes(), 0);
    for (const wchar_t* v : {L"open", L"copy", L"cut", L"delete", L"rename", L"properties"})
        EXPECT_EQ(g_verbs.count(v), 1u) << WideToUtf8(v);
    at(WM_RBUTTONUP, 0, L"rename"); // renamed by the shell, the box kept
    EXPECT_TRUE(wt::Exists(g_hidden + L"\\报告.txt") && !wt::Exists(g_hidden + L"\\a.txt"));
    EXPECT_EQ(Ini(L"manualGroups", L"报告.txt") + Ini(L"manualGroups", L"a.txt") + std::to_wstring(Refreshes()), L"工作-1");
    at(WM_RBUTTONUP, 1, L"rename"); // the dialog is cancelled: nothing changes
    EXPECT_TRUE(wt::Exists(g_hidden + L"\\" + longName));
    // A delete goes through the shell, whose questions are answered "yes" here.
    const UINT_PTR yes = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        if (HWND ask = FindWindowW(L"#32770", nullptr)) SendMessageW(ask, WM_COMMAND, IDYES, 0);
    });
    at(WM_RBUTTONUP, 1, L"delete");
    KillTimer(nullptr, yes);
    EXPECT_FALSE(wt::Exists(g_hidden + L"\\" + longName));
    EXPECT_EQ(Refreshes(), 1) << "after the shell's own message loop";
    RefreshBoxes();
    EXPECT_EQ(TipText(), L"") << "a rebuild takes the tool away with the windows";
    g_trackItemMenu = track, g_inputBoxAnswer = nullptr;
}

} // namespace

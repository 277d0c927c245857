// The shell's own menu of an item, built for real files; the test picks a command by its verb.
#include "base/win.h"

#include <commctrl.h>
#include <shlobj.h>

#include <set>

#include "boxes/item_menu_win.h"
#include "boxes/name_tip_win.h"
#include "base/strutil.h"
#include "inventory/inventory_win.h"
#include "settings/lists.h"
#include "ui/ui_win.h"
#include "win/interaction_env.h"

namespace {

std::set<std::wstring> g_verbs; // verbs of the menu as the box built it
std::wstring g_pickVerb;        // and the one the "user" picks

UINT PickVerb(HMENU menu, POINT, HWND, IContextMenu* handler) {
    UINT picked = 0;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT id = GetMenuItemID(menu, i);
        wchar_t verb[128] = {};
        if (id == 0 || id == static_cast<UINT>(-1) ||
            FAILED(handler->GetCommandString(id - 1, GCS_VERBW, nullptr, reinterpret_cast<char*>(verb), 128)))
            continue;
        g_verbs.insert(verb);
        if (g_pickVerb == verb) picked = id;
    }
    return picked;
}

using ItemMenuWin = InteractionWorld;

TEST_F(ItemMenuWin, TheShellsCommandsOnARealFileAndARenameThatKeepsItsBox) {
    const TrackItemMenuFn track = std::exchange(g_trackItemMenu, PickVerb);
    g_inputBoxAnswer = [](const std::wstring& title, const std::wstring& initial) {
        return title + L"|" + initial == L"重命名|a.txt" ? std::wstring(L"报告.txt") : std::wstring();
    };
    SetManualGroup(L"a.txt", L"工作");
    BoxWin* box = Make(L"工作", {DeskItem(g_hidden, L"a.txt"), DeskItem(g_hidden, L"b.txt")}, 100, 100);
    const auto click = [&](const std::wstring& verb, int cell) {
        g_pickVerb = verb;
        const POINT p = CellCentre(box, cell);
        At(box, WM_RBUTTONUP, p.x, p.y);
    };
    click(L"", 0); // dismissed
    EXPECT_EQ(Refreshes(), 0);
    for (const wchar_t* v : {L"open", L"copy", L"cut", L"delete", L"rename", L"properties"})
        EXPECT_EQ(g_verbs.count(v), 1u) << WideToUtf8(v);
    click(L"rename", 0);
    EXPECT_TRUE(wt::Exists(g_hidden + L"\\报告.txt") && !wt::Exists(g_hidden + L"\\a.txt"));
    EXPECT_EQ(Ini(L"manualGroups", L"报告.txt") + Ini(L"manualGroups", L"a.txt"), L"工作-");
    EXPECT_EQ(Refreshes(), 1);
    click(L"rename", 1); // the dialog is cancelled: nothing changes
    EXPECT_TRUE(wt::Exists(g_hidden + L"\\b.txt"));
    EXPECT_EQ(Refreshes(), 1);
    // A delete goes through the shell, whose questions are answered "yes" here.
    const UINT_PTR yes = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        if (HWND ask = FindWindowW(L"#32770", nullptr)) SendMessageW(ask, WM_COMMAND, IDYES, 0);
    });
    click(L"delete", 1);
    KillTimer(nullptr, yes);
    EXPECT_FALSE(wt::Exists(g_hidden + L"\\b.txt"));
    EXPECT_EQ(Refreshes(), 1);
    g_trackItemMenu = track, g_inputBoxAnswer = nullptr;
}

// The tooltip's one tool: the text of the hovered cell whose name is cut, or "" without a tool.
std::wstring TipText() {
    const HWND tip = NameTipWindow();
    if (!tip || SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0) != 1) return L"";
    wchar_t text[256] = {};
    TOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.lpszText = text;
    SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&ti));
    return text;
}

TEST_F(ItemMenuWin, ANameThatIsCutShowsWholeOnHover) {
    InitDCompInfra(); // the names are laid out as the box draws them
    const std::wstring longName = L"二〇二六年第三季度项目进度汇报材料最终修订版本.docx";
    BoxWin* box = Make(L"工作", {DeskItem(g_desktop, L"a.txt"), DeskItem(g_desktop, longName)}, 100, 100);
    const auto hover = [&](int cell) {
        const POINT p = CellCentre(box, cell);
        At(box, WM_MOUSEMOVE, p.x, p.y);
        return TipText();
    };
    EXPECT_EQ(hover(1), longName);
    EXPECT_EQ(hover(0), L"") << "a name that fits has no tooltip";
    EXPECT_EQ(hover(1), longName);
    RefreshBoxes();
    EXPECT_EQ(TipText(), L"") << "a rebuild takes the tool away with the windows";
}

} // namespace

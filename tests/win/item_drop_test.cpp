// Items dragged between boxes and out of them, file lists from other programs, and the box menu,
// through real messages to real box windows.
#include <dwrite.h>
#include <shlobj.h>

#include <algorithm>

#include "base/com_win.h"
#include "base/strutil.h"
#include "boxes/box_input.h"
#include "boxes/box_menu_win.h"
#include "boxes/box_win.h"
#include "boxes/desktop_attach_win.h"
#include "boxes/drop_target_win.h"
#include "boxes/item_menu_win.h"
#include "render/box_record_win.h"
#include "render/devices_win.h"
#include "render/paint_win.h"
#include "settings/lists.h"
#include "ui/dialogs_win.h"
#include "ui/menus.h"
#include "win/interaction_env.h"

namespace {

using ItemDropWin = InteractionWorld;

// What a rebuild leaves: every box's key, place, accent and names.
std::wstring Rebuilt() {
    std::wstring out;
    for (const BoxWin* box : g_boxes) {
        const Rect r = WindowRect(box->hwnd);
        out += box->key + L" " + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
               std::to_wstring(r.Width()) + L"," + std::to_wstring(r.Height()) + L" " + std::to_wstring(box->colorIdx);
        for (const Item& item : box->items) out += L" " + item.name;
        out += box->nameFormat ? L" " + std::to_wstring(box->nameFormat->GetFontSize()) : L"";
        out += IsWindowVisible(box->hwnd) ? L"\n" : L" hidden\n";
    }
    return out;
}

TEST_F(ItemDropWin, ARebuildAfterADropGivesWhatBoxesMadeAnewGive) {
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.zip", L"d.png", L"e.png"})
        WriteFileText(g_desktop + L"\\" + name, "x");
    const auto box = [](const wchar_t* key) { // groups are made in this order: 图片, 文档, 压缩包
        return *std::find_if(g_boxes.begin(), g_boxes.end(), [key](BoxWin* b) { return b->key == key; });
    };
    SetCursorPos(1590, 890); // the real pointer over no box: the messages here are the test's own
    InitDCompInfra();
    RefreshBoxes();
    ASSERT_EQ(g_boxes.size(), 3u);
    g_fontSize = 8; // formats remade after a style change name at 7, those of a new box at 6
    RebuildAllFormats();
    SetBoxPos(box(L"压缩包")->hwnd, 900, 300, 0, 0, SWP_NOSIZE);
    const Rect doc = WindowRect(box(L"文档")->hwnd); // the end of a resize of the document box
    SetBoxPos(box(L"文档")->hwnd, doc.left, doc.top, 300, doc.Height(), 0), IniWrite(L"文档_size", L"w", L"300");
    RefreshBoxes(); // the document box is made anew at its new size, the other two are kept
    const HWND pictures = box(L"图片")->hwnd;
    Drag(box(L"文档"), CellCentre(box(L"文档"), 0), 960, 360); // a.txt onto the archives
    ASSERT_EQ(Refreshes(), 1);
    const unsigned long draws = BoxDrawCount();
    RefreshBoxes();
    EXPECT_EQ(BoxDrawCount() - draws, 2u) << "only the two boxes whose items changed are drawn";
    EXPECT_EQ(box(L"图片")->hwnd, pictures);
    const std::wstring kept = Rebuilt();
    const std::string ini = wt::ReadBytes(g_iniPath);
    EXPECT_NE(kept.find(L" c.zip a.txt "), std::wstring::npos) << kept;
    DestroyAllBoxes(); // the places just remembered stay
    RefreshBoxes();    // every box made anew
    EXPECT_EQ(Rebuilt(), kept);
    EXPECT_EQ(wt::ReadBytes(g_iniPath), ini);
}

TEST_F(ItemDropWin, DroppedOnAnotherBoxOnItsOwnBoxAndOnNoBox) {
    WriteFileText(g_desktop + L"\\d.txt", "desk");
    BoxWin* doc = Make(L"文档", {DeskItem(g_desktop, L"a.txt"), DeskItem(g_hidden, L"c.txt"),
                                 DeskItem(g_hidden, L"d.txt")}, 100, 100);
    BoxWin* zip = Make(L"压缩包", {DeskItem(g_desktop, L"b.zip")}, 600, 100);
    const POINT a = CellCentre(doc, 0), c = CellCentre(doc, 1), d = CellCentre(doc, 2), b = CellCentre(zip, 0);
    Drag(doc, a, 700, 150); // onto the other box: recorded for it, moved into the store
    EXPECT_TRUE(wt::Exists(g_hidden + L"\\a.txt"));
    EXPECT_EQ(Ini(L"manualGroups", L"a.txt"), L"压缩包");
    Drag(doc, c, 300, 200); // onto its own box: nothing changes, the rebuild still comes
    EXPECT_TRUE(wt::Exists(g_hidden + L"\\c.txt"));
    EXPECT_EQ(Ini(L"manualGroups", L"c.txt") + Ini(L"freedItems", L"c.txt"), L"--");
    EXPECT_EQ(Refreshes(), 2);
    Drag(doc, c, 1200, 700); // onto no box: back on the desktop and freed
    EXPECT_TRUE(wt::Exists(g_desktop + L"\\c.txt"));
    Drag(zip, b, 1200, 700); // a desktop file only leaves its box
    EXPECT_TRUE(wt::Exists(g_desktop + L"\\b.zip"));
    EXPECT_EQ(Ini(L"freedItems", L"c.txt") + Ini(L"freedItems", L"b.zip"), L"11");
    // A namesake on the desktop keeps the stored file in the store: freed there, it would show nowhere.
    Drag(doc, d, 1200, 700);
    EXPECT_EQ(wt::ReadBytes(g_hidden + L"\\d.txt"), "x");
    EXPECT_EQ(g_freedItems, (std::set<std::wstring>{L"b.zip", L"c.txt"}));
    Drag(zip, b, 300, 200); // dropped into a box again, no longer freed
    EXPECT_EQ(Ini(L"freedItems", L"b.zip"), L"-");
    EXPECT_EQ(Refreshes(), 4);
}

// The shell's own data object for files of a folder, as the file manager hands it over.
ComPtr<IDataObject> ShellDataObject(const std::wstring& folder, const std::vector<std::wstring>& names) {
    ComPtr<IShellFolder> desktop, dir;
    ComPtr<IDataObject> data;
    PIDLIST_RELATIVE id = nullptr;
    SHGetDesktopFolder(desktop.put());
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(folder.c_str()), nullptr, &id,
                                         nullptr)))
        return data;
    desktop->BindToObject(id, nullptr, IID_IShellFolder, dir.put_void());
    CoTaskMemFree(id);
    std::vector<PCUITEMID_CHILD> ids;
    for (const auto& n : names)
        if (SUCCEEDED(dir->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(n.c_str()), nullptr, &id, nullptr)))
            ids.push_back(id);
    dir->GetUIObjectOf(nullptr, static_cast<UINT>(ids.size()), ids.data(), IID_IDataObject, nullptr, data.put_void());
    for (auto i : ids) CoTaskMemFree(const_cast<ITEMID_CHILD*>(i));
    return data;
}

TEST_F(ItemDropWin, FilesFromAnotherProgramGoToTheBoxAsAMoveAndNeverTheDesktopOrTheStore) {
    const std::wstring downloads = dir_ + L"\\downloads";
    wt::MakeDir(downloads);
    for (const wchar_t* n : {L"x1.txt", L"x2.png", L"x3.zip"}) DeskItem(downloads, n);
    DeskItem(g_hidden, L"x3.zip"); // a namesake in the store: x3.zip cannot move
    BoxWin* box = Make(L"工作", {}, 100, 100);
    ComPtr<DropTarget> target;
    *target.put() = new DropTarget(L"工作");
    EXPECT_EQ(RegisterDragDrop(box->hwnd, target.get()), DRAGDROP_E_ALREADYREGISTERED) << "the box has its own";
    const auto drop = [&](const std::wstring& folder, std::vector<std::wstring> names, DWORD allowed) {
        ComPtr<IDataObject> data = ShellDataObject(folder, names);
        EXPECT_TRUE(data) << WideToUtf8(folder);
        DWORD entered = allowed, effect = allowed;
        target->DragEnter(data.get(), 0, POINTL{150, 150}, &entered);
        EXPECT_EQ(target->Drop(data.get(), 0, POINTL{150, 150}, &effect), S_OK);
        return std::to_wstring(entered) + L"/" + std::to_wstring(effect);
    };
    // Effects "entered/dropped": 2 is a move, 0 none.
    EXPECT_EQ(drop(downloads, {L"x1.txt"}, DROPEFFECT_COPY), L"0/0") << "a box only moves";
    EXPECT_EQ(drop(downloads, {L"x1.txt", L"x2.png", L"x3.zip"}, DROPEFFECT_COPY | DROPEFFECT_MOVE), L"2/2");
    EXPECT_TRUE(wt::Exists(g_hidden + L"\\x1.txt") && wt::Exists(g_hidden + L"\\x2.png") && !wt::Exists(downloads + L"\\x1.txt"));
    EXPECT_EQ(Ini(L"manualGroups", L"x1.txt") + Ini(L"manualGroups", L"x2.png"), L"工作工作");
    EXPECT_EQ(Utf8ToWide(wt::ReadBytes(downloads + L"\\x3.zip")) + Ini(L"manualGroups", L"x3.zip"), L"x-") << "not moved, not recorded";
    // The desktop folder, a folder above it, the store and a file in the store: refused, nothing written.
    DeskItem(g_hidden, L"s.txt");
    const std::pair<std::wstring, std::wstring> refused[] = {
        {dir_, L"desk"}, {DirOfPath(dir_), GetFileName(dir_)}, {g_desktop, L".hidden"}, {g_hidden, L"s.txt"}};
    for (const auto& d : refused)
        EXPECT_EQ(drop(d.first, {d.second}, DROPEFFECT_MOVE) + Ini(L"manualGroups", d.second), L"0/0-") << WideToUtf8(d.second);
    EXPECT_TRUE(g_manualGroups.size() == 2 && wt::Exists(g_hidden + L"\\s.txt"));
    EXPECT_EQ(Refreshes(), 1) << "only the drop that moved files";
}

std::vector<std::pair<UINT, std::wstring>> g_shown; // the menu as the box built it
UINT g_pick = 0;                                     // and what the "user" picks
std::wstring g_answer;
UINT PickFromMenu(HMENU menu, int, int, HWND) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        g_shown.emplace_back(GetMenuItemID(menu, i), text);
    }
    return g_pick;
}

TEST_F(ItemDropWin, BoxMenuCommands) {
    const TrackBoxMenuFn track = std::exchange(g_trackBoxMenu, PickFromMenu);
    g_inputBoxAnswer = [](const std::wstring&, const std::wstring&) { return g_answer; };
    BoxWin* box = Make(L"文档", {DeskItem(g_desktop, L"a.txt")}, 100, 100);
    const auto menu = [&](UINT pick, int y = 3) {
        g_pick = pick;
        g_shown.clear();
        SendMessageW(box->hwnd, WM_RBUTTONUP, 0, MAKELPARAM(50, y));
    };
    static int itemMenus = 0;
    const TrackItemMenuFn trackItem = std::exchange(g_trackItemMenu, [](HMENU, POINT, HWND, IContextMenu*) {
        return static_cast<UINT>(++itemMenus, 0);
    });
    menu(0, 60);
    EXPECT_TRUE(g_shown.empty() && itemMenus == 1) << "the body has the file's own menu";
    g_trackItemMenu = trackItem;
    const size_t logBefore = wt::ReadDebugLog().size();
    menu(0); // from the top resize strip too; dismissed, it only logs
    EXPECT_EQ(g_shown, (std::vector<std::pair<UINT, std::wstring>>{{1, L"折叠"}, {8, L"折叠时悬停展开"}, {2, L"重命名"}, {0, L""},
        {7, L"外观设置..."}, {5, L"自动排列"}, {0, L""}, {3, L"删除盒子（可在托盘恢复）"}}));
    menu(kBoxCmdCollapse);
    EXPECT_EQ(WindowRect(box->hwnd), (Rect{100, 100, 424, 136}));
    menu(kBoxCmdCollapse);
    EXPECT_EQ(g_shown[0].second, L"展开");
    EXPECT_EQ(WindowRect(box->hwnd).Height(), 360);
    menu(kBoxCmdRename); // an empty answer keeps the old name
    EXPECT_TRUE(g_boxNames.empty());
    g_answer = L"工作 [周]";
    menu(kBoxCmdRename);
    EXPECT_EQ(g_boxNames[L"文档"] + Ini(L"boxNames", L"文档") + box->key, L"工作 [周]工作 [周]文档");
    menu(kBoxCmdArrange);
    EXPECT_EQ(WindowRect(box->hwnd).top, 0);
    menu(kBoxCmdDelete);
    EXPECT_FALSE(IsWindowVisible(box->hwnd)) << "hidden despite the hide guard";
    EXPECT_EQ(Ini(L"hiddenBoxes", L"文档"), L"1");
    EXPECT_EQ(Refreshes(), 1);
    const auto log = wt::ReadDebugLog();
    ASSERT_GE(log.size(), logBefore + 2);
    EXPECT_EQ(log[logBefore], L"RBUTTON cmd=0");
    EXPECT_EQ(log.back(), L"DELETE: group=文档 ini=" + g_iniPath);
    g_trackBoxMenu = track, g_inputBoxAnswer = nullptr;
}

} // namespace

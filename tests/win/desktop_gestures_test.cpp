// The desktop's double click (a table through the seam for what lies under the pointer, and real
// presses through the hook on a fake icon list of the shell's), and folded boxes that open on hover.
#include "win/interaction_env.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "app/desktop_click_win.h"
#include "boxes/box_menu_win.h"
#include "boxes/hover_open_win.h"
#include "boxes/pointer_over_win.h"
#include "ui/menus.h"

namespace {

std::vector<PointerOver> g_under; // what the seam says for the next presses, in turn
size_t g_nextUnder = 0, g_clicksSeen = 0;
PointerOver FromTable(POINT) { return g_under[g_nextUnder++ % g_under.size()]; }
LRESULT CALLBACK ClickMain(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    return msg == WM_DESKTOPCLICK ? (OnDesktopClick(w, l), ++g_clicksSeen, 0) : DefWindowProcW(hwnd, msg, w, l);
}
// The shell's icon list, with one icon at client (10, 10)-(90, 90).
LRESULT CALLBACK IconList(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg != LVM_HITTEST) return DefWindowProcW(hwnd, msg, w, l);
    const POINT p = reinterpret_cast<LVHITTESTINFO*>(l)->pt;
    return p.x >= 10 && p.x < 90 && p.y >= 10 && p.y < 90 ? 0 : -1;
}
std::wstring OurProcessIsTheShell(DWORD pid) { return pid == GetCurrentProcessId() ? L"explorer.exe" : L""; }
const wchar_t* const kClasses[] = {L"Progman", L"SHELLDLL_DefView", L"SysListView32", L"BcClickMain"};

class DesktopGestures : public InteractionWorld {
  protected:
    void SetUp() override {
        InteractionWorld::SetUp();
        for (const wchar_t* cls : kClasses) RegisterTestClass(cls, cls[2] == L's' ? IconList : cls[0] == L'B' ? ClickMain : DefWindowProcW);
        g_processImageName = OurProcessIsTheShell;
        Make(L"文档", {DeskItem(g_desktop, L"a.txt")}, 700, 100);
        Make(L"压缩包", {DeskItem(g_desktop, L"b.zip")}, 300, 100);
    }
    void TearDown() override {
        StopDesktopClicks();
        InteractionWorld::TearDown();
        DestroyWindow(progman_), DestroyWindow(notify_);
        for (const wchar_t* cls : kClasses) UnregisterClassW(cls, g_hInst);
        g_processImageName = ProcessImageName, g_pointerOver = WhatIsAt, g_hoverOpenBoxes.clear();
    }
    static bool AllShown(bool shown) {
        return std::all_of(g_boxes.begin(), g_boxes.end(), [&](BoxWin* b) { return !IsWindowVisible(b->hwnd) != shown; });
    }
    static bool Pump(const std::function<bool()>& cond) {
        for (const ULONGLONG end = GetTickCount64() + 10000; GetTickCount64() < end; MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT)) {
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
            if (cond()) return true;
        }
        return false;
    }
    HWND progman_ = nullptr, notify_ = nullptr;
};

TEST_F(DesktopGestures, TwoPressesToggleEveryBoxOnlyAsADoubleClickOnTheBareDesktop) {
    g_pointerOver = FromTable;
    const unsigned slow = GetDoubleClickTime();
    const int cx = GetSystemMetrics(SM_CXDOUBLECLK) / 2, cy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    using P = PointerOver;
    const P empty = P::EmptyDesktop;
    const struct { P first, second; unsigned dt; int dx, dy; bool on, toggles; } rows[] = {
        {empty, empty, 100, 0, 0, true, true}, {empty, empty, slow - 1, cx, -cy, true, true}, // the system's limits
        {empty, empty, slow, 0, 0, true, false}, {empty, empty, 100, cx + 1, 0, true, false}, // too slow, too far
        {empty, empty, 100, 0, -cy - 1, true, false}, {P::DesktopIcon, P::DesktopIcon, 100, 0, 0, true, false},
        {empty, P::DesktopIcon, 100, 0, 0, true, false}, {P::Box, P::Box, 100, 0, 0, true, false},
        {P::OtherWindow, P::OtherWindow, 100, 0, 0, true, false}, {P::OurWindow, empty, 100, 0, 0, true, false},
        {empty, empty, 100, 0, 0, false, false}, // turned off
    };
    unsigned t = 1000000;
    bool shown = true;
    for (const auto& r : rows) {
        g_desktopDoubleClick = r.on, g_under = {r.first, r.second}, g_nextUnder = 0;
        OnDesktopClick(t += 10 * slow, MAKELPARAM(500, 500)); // far from the last row's presses
        OnDesktopClick(t + r.dt, MAKELPARAM(static_cast<WORD>(500 + r.dx), static_cast<WORD>(500 + r.dy)));
        EXPECT_TRUE(AllShown(shown = shown != r.toggles)) << "row " << (&r - rows);
    }
    g_desktopDoubleClick = true, g_under = {empty};
    for (int i = 0; i < 3; ++i) OnDesktopClick(t + 20 * slow + 100 * i, MAKELPARAM(500, 500));
    EXPECT_TRUE(AllShown(!shown)) << "a third press starts afresh: one toggle";
}

// Real presses through the hook: away from the icon the boxes hide, then show; on the icon or on a
// box nothing changes.
TEST_F(DesktopGestures, ADoubleClickOnTheFakeIconListHidesAndShowsTheBoxes) {
    DestroyAllBoxes();
    progman_ = CreateWindowExW(0, L"Progman", L"", WS_POPUP | WS_VISIBLE, 0, 0, 1600, 900, nullptr, nullptr, g_hInst, nullptr);
    HWND parent = progman_;
    for (const wchar_t* cls : {L"SHELLDLL_DefView", L"SysListView32"})
        parent = CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE, 0, 0, 1600, 900, parent, nullptr, g_hInst, nullptr);
    Make(L"文档", {DeskItem(g_desktop, L"a.txt")}, 300, 100); // in the fake view, above its icon list
    notify_ = CreateWindowExW(0, L"BcClickMain", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, g_hInst, nullptr);
    ASSERT_TRUE(StartDesktopClicks(notify_) && Pump([] { return DesktopClicksRunning(); }));
    const auto doubleClick = [&](int x, int y, bool shownAfter) {
        const size_t before = g_clicksSeen;
        SetCursorPos(x, y);
        INPUT in[4] = {};
        for (int i = 0; i < 4; ++i) in[i].type = INPUT_MOUSE, in[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
        SendInput(4, in, sizeof(INPUT));
        return Pump([&] { return g_clicksSeen == before + 2 && AllShown(shownAfter); });
    };
    EXPECT_TRUE(doubleClick(1200, 700, false)) << "empty space hides every box";
    EXPECT_TRUE(doubleClick(1200, 700, true)) << "and shows them again";
    EXPECT_TRUE(doubleClick(50, 50, true) && doubleClick(350, 200, true)) << "an icon opens, a box is a box";
}

// A folded box set to open on hover: the pointer resting on its title opens it, leaving folds it a
// moment later; an item dragged in keeps it open until the drag ends. The fold the user chose stays.
TEST_F(DesktopGestures, AFoldedBoxOpensOnHoverAndFoldsAfterThePointerAndTheDragLeft) {
    BoxWin *source = g_boxes[0], *box = g_boxes[1];
    RunBoxMenuCommand(box->hwnd, kBoxCmdCollapse, POINT{});
    RunBoxMenuCommand(box->hwnd, kBoxCmdHoverOpen, POINT{});
    ASSERT_EQ(Ini(L"hoverOpen", L"压缩包"), L"1");
    const auto open = [&](bool o) { return Pump([&] { return box->hoverOpen == o && WindowRect(box->hwnd).Height() == (o ? 360 : 36); }); };
    const auto leave = [&] { SetCursorPos(1500, 850), SendMessageW(box->hwnd, WM_MOUSELEAVE, 0, 0); };
    for (const int y : {130, 110}) SetCursorPos(350, y), At(box, WM_MOUSEMOVE, 350, y); // strip, then title
    ASSERT_TRUE(open(true)) << "rested on the title";
    leave();
    ASSERT_TRUE(open(false) && box->collapsed) << "left";
    At(source, WM_LBUTTONDOWN, 742, 180); // an item of the other box, dragged onto the title
    SetCursorPos(350, 110);
    At(source, WM_MOUSEMOVE, 350, 110);
    ASSERT_TRUE(g_draggingItem && open(true)) << "a drag resting on the title";
    At(source, WM_MOUSEMOVE, 1500, 850);
    leave();
    const ULONGLONG later = GetTickCount64() + 3 * kHoverCloseDelayMs;
    Pump([&] { return GetTickCount64() > later; });
    EXPECT_TRUE(box->hoverOpen) << "open while the drag goes on";
    At(source, WM_LBUTTONUP, 1500, 850);
    EXPECT_TRUE(open(false) && box->collapsed) << "the drag ended";
}

} // namespace
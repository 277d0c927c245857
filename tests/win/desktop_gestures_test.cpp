// The desktop's double click: the decision as a table through the seam for what lies under the
// pointer, and with real presses (through the low-level hook) on a fake icon list of the shell's.
#include "win/interaction_env.h"

#include <commctrl.h>

#include <atomic>
#include <functional>

#include "app/desktop_click_win.h"
#include "boxes/box_menu_win.h"
#include "boxes/hover_open_win.h"
#include "ui/menus.h"
#include "boxes/pointer_over_win.h"

namespace {

std::vector<PointerOver> g_under; // what the seam says for the next presses, in order
size_t g_nextUnder = 0;
PointerOver FromTable(POINT) { return g_under[g_nextUnder++ % g_under.size()]; }

std::atomic<int> g_clicksSeen{0};
LRESULT CALLBACK ClickMain(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg != WM_DESKTOPCLICK) return DefWindowProcW(hwnd, msg, w, l);
    OnDesktopClick(w, l);
    ++g_clicksSeen;
    return 0;
}

// The shell's icon list: one icon at client (10, 10)-(90, 90).
LRESULT CALLBACK IconList(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg != LVM_HITTEST) return DefWindowProcW(hwnd, msg, w, l);
    const POINT p = reinterpret_cast<LVHITTESTINFO*>(l)->pt;
    return p.x >= 10 && p.x < 90 && p.y >= 10 && p.y < 90 ? 0 : -1;
}

std::wstring OurProcessIsTheShell(DWORD pid) {
    return pid == GetCurrentProcessId() ? L"C:\\Windows\\explorer.exe" : ProcessImageName(pid);
}

class DesktopGestures : public InteractionWorld {
  protected:
    void SetUp() override {
        InteractionWorld::SetUp();
        RegisterTestClass(L"BcClickMain", ClickMain);
        for (const wchar_t* cls : {L"Progman", L"SHELLDLL_DefView"}) RegisterTestClass(cls, DefWindowProcW);
        RegisterTestClass(L"SysListView32", IconList);
        g_processImageName = OurProcessIsTheShell;
    }
    void TearDown() override {
        StopDesktopClicks();
        g_pointerOver = WhatIsAt;
        InteractionWorld::TearDown();
        DestroyWindow(progman_);
        DestroyWindow(notify_);
        for (const wchar_t* cls : {L"Progman", L"SHELLDLL_DefView", L"SysListView32", L"BcClickMain"})
            UnregisterClassW(cls, g_hInst);
        g_processImageName = ProcessImageName;
        g_hoverOpenBoxes.clear();
    }
    bool AllShown(bool shown) {
        for (const BoxWin* b : g_boxes)
            if ((IsWindowVisible(b->hwnd) != FALSE) != shown) return false;
        return !g_boxes.empty();
    }
    bool Pump(const std::function<bool()>& cond) {
        for (const ULONGLONG end = GetTickCount64() + 10000; GetTickCount64() < end;
             MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT)) {
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
            if (cond()) return true;
        }
        return false;
    }
    HWND progman_ = nullptr, notify_ = nullptr;
};

TEST_F(DesktopGestures, TwoPressesToggleEveryBoxOnlyAsADoubleClickOnTheBareDesktop) {
    Make(L"文档", {DeskItem(g_desktop, L"a.txt")}, 100, 100);
    Make(L"压缩包", {DeskItem(g_desktop, L"b.zip")}, 400, 100);
    g_pointerOver = FromTable;
    const unsigned slow = GetDoubleClickTime();
    const int cx = GetSystemMetrics(SM_CXDOUBLECLK) / 2, cy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    using P = PointerOver;
    const struct { P first, second; unsigned dt; int dx, dy; bool on, toggles; } rows[] = {
        {P::EmptyDesktop, P::EmptyDesktop, 100, 0, 0, true, true},
        {P::EmptyDesktop, P::EmptyDesktop, slow - 1, cx, -cy, true, true}, // the edges of the system's rules
        {P::EmptyDesktop, P::EmptyDesktop, slow, 0, 0, true, false},       // too slow
        {P::EmptyDesktop, P::EmptyDesktop, 100, cx + 1, 0, true, false},   // too far
        {P::EmptyDesktop, P::EmptyDesktop, 100, 0, -cy - 1, true, false},
        {P::DesktopIcon, P::DesktopIcon, 100, 0, 0, true, false}, // opening a file
        {P::EmptyDesktop, P::DesktopIcon, 100, 0, 0, true, false},
        {P::Box, P::Box, 100, 0, 0, true, false},
        {P::OtherWindow, P::OtherWindow, 100, 0, 0, true, false},
        {P::OurWindow, P::EmptyDesktop, 100, 0, 0, true, false},
        {P::EmptyDesktop, P::EmptyDesktop, 100, 0, 0, false, false}, // turned off
    };
    unsigned t = 1000000;
    bool shown = true;
    for (const auto& r : rows) {
        g_desktopDoubleClick = r.on;
        g_under = {r.first, r.second};
        g_nextUnder = 0;
        t += 10 * slow; // far from the last row's presses
        OnDesktopClick(t, MAKELPARAM(500, 500));
        OnDesktopClick(t + r.dt, MAKELPARAM(static_cast<WORD>(500 + r.dx), static_cast<WORD>(500 + r.dy)));
        shown = shown != r.toggles;
        EXPECT_TRUE(AllShown(shown)) << "row " << (&r - rows);
    }
    g_desktopDoubleClick = true;
    g_under = {P::EmptyDesktop};
    for (int i = 0; i < 3; ++i) OnDesktopClick(t + 20 * slow + 100 * i, MAKELPARAM(500, 500));
    EXPECT_TRUE(AllShown(!shown)) << "a third press starts afresh: one toggle";
}

// Real presses through the hook: on the shell's icon list away from its icon the boxes hide, then show;
// on the icon, or on a box, nothing changes.
TEST_F(DesktopGestures, ADoubleClickOnTheFakeIconListHidesAndShowsTheBoxes) {
    progman_ = CreateWindowExW(0, L"Progman", L"", WS_POPUP | WS_VISIBLE, 0, 0, 1600, 900, nullptr, nullptr, g_hInst, nullptr);
    HWND view = CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1600, 900, progman_, nullptr, g_hInst, nullptr);
    CreateWindowExW(0, L"SysListView32", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1600, 900, view, nullptr, g_hInst, nullptr);
    Make(L"文档", {DeskItem(g_desktop, L"a.txt")}, 300, 100);
    Make(L"压缩包", {DeskItem(g_desktop, L"b.zip")}, 700, 100);
    notify_ = CreateWindowExW(0, L"BcClickMain", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, g_hInst, nullptr);
    ASSERT_TRUE(StartDesktopClicks(notify_));
    ASSERT_TRUE(Pump([] { return DesktopClicksRunning(); }));
    const auto doubleClick = [&](int x, int y) {
        const int before = g_clicksSeen;
        SetCursorPos(x, y);
        INPUT in[4] = {};
        for (int i = 0; i < 4; ++i) {
            in[i].type = INPUT_MOUSE;
            in[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
        }
        SendInput(4, in, sizeof(INPUT));
        return Pump([&] { return g_clicksSeen == before + 2; });
    };
    ASSERT_TRUE(doubleClick(1200, 700));
    EXPECT_TRUE(Pump([&] { return AllShown(false); })) << "empty space hides every box";
    ASSERT_TRUE(doubleClick(1200, 700));
    EXPECT_TRUE(Pump([&] { return AllShown(true); })) << "and shows them again";
    for (const POINT p : {POINT{50, 50}, POINT{350, 200}}) {
        ASSERT_TRUE(doubleClick(p.x, p.y));
        EXPECT_TRUE(AllShown(true)) << "an icon opens, a box is a box: " << p.x;
    }
}

} // namespace

namespace {

// A folded box set to open on hover: the pointer resting on its title opens it, leaving folds it a
// moment later; an item dragged in keeps it open until the drag ends. The fold the user chose stays.
TEST_F(DesktopGestures, AFoldedBoxOpensOnHoverAndFoldsAfterThePointerAndTheDragLeft) {
    BoxWin* source = Make(L"文档", {DeskItem(g_desktop, L"a.txt")}, 700, 100);
    BoxWin* box = Make(L"压缩包", {DeskItem(g_desktop, L"b.zip")}, 100, 100);
    RunBoxMenuCommand(box->hwnd, kBoxCmdCollapse, POINT{});
    RunBoxMenuCommand(box->hwnd, kBoxCmdHoverOpen, POINT{});
    ASSERT_EQ(Ini(L"hoverOpen", L"压缩包"), L"1");
    const auto height = [&] { return WindowRect(box->hwnd).Height(); };
    const auto open = [&](bool o) { return Pump([&] { return box->hoverOpen == o && height() == (o ? 360 : 36); }); };
    const auto rest = [&](int x, int y) { SetCursorPos(x, y), At(box, WM_MOUSEMOVE, x, y); };
    const auto leave = [&] { SetCursorPos(1500, 850), SendMessageW(box->hwnd, WM_MOUSELEAVE, 0, 0); };
    rest(150, 130); // the body of a folded box: its bottom resize strip
    rest(150, 110);
    ASSERT_TRUE(open(true)) << "rested on the title";
    leave();
    ASSERT_TRUE(open(false)) << "left";
    EXPECT_TRUE(box->collapsed);

    At(source, WM_LBUTTONDOWN, 742, 180); // an item of the other box, dragged onto the title
    SetCursorPos(150, 110);
    At(source, WM_MOUSEMOVE, 150, 110);
    ASSERT_TRUE(g_draggingItem && open(true)) << "a drag resting on the title";
    At(source, WM_MOUSEMOVE, 1500, 850);
    leave();
    const ULONGLONG later = GetTickCount64() + 3 * kHoverCloseDelayMs;
    Pump([&] { return GetTickCount64() > later; });
    EXPECT_TRUE(box->hoverOpen) << "open while the drag goes on";
    At(source, WM_LBUTTONUP, 1500, 850);
    EXPECT_TRUE(open(false)) << "the drag ended";
    EXPECT_TRUE(box->collapsed);
}

} // namespace

// The box window's own behaviour under real messages: edge resizes with their INI writes, a lost
// capture and a rebuild in the middle of an interaction, WM_CLOSE, and the title move.
#include "base/process_win.h"
#include "boxes/box_mouse_win.h"
#include "boxes/box_win.h"
#include "boxes/drop_target_win.h"
#include "boxes/item_drag_win.h"
#include "render/box_record_win.h"
#include "render/devices_win.h"
#include "render/fallback_win.h"
#include "render/paint_win.h"
#include "settings/ini_names.h"
#include "win/interaction_env.h"

namespace {

using BoxMouseWin = InteractionWorld;

TEST_F(BoxMouseWin, LeftAndBottomEdgeResizesWriteTheSizeUnderTheBoxStorageName) {
    BoxWin* doc = Make(L"文档", {DeskItem(g_desktop, L"a.txt")}, 100, 100); // 324 x 126
    BoxWin* odd = Make(L"[x]=y", {DeskItem(g_desktop, L"b.txt")}, 600, 100); // a name stored escaped
    At(doc, WM_LBUTTONDOWN, 103, 150); // left edge: past the minimum, then back; the right side stays
    At(doc, WM_MOUSEMOVE, 900, 150);
    EXPECT_EQ(WindowRect(doc->hwnd), (Rect{284, 100, 424, 226}));
    At(doc, WM_MOUSEMOVE, 203, 150);
    At(doc, WM_LBUTTONUP, 203, 150);
    EXPECT_EQ(WindowRect(doc->hwnd), (Rect{200, 100, 424, 226}));
    EXPECT_FALSE(g_resizing);
    EXPECT_EQ(Ini(L"文档_size", L"w") + Ini(L"文档_size", L"h") + Ini(L"文档", L"x") + Ini(L"文档", L"y"),
              L"224126200100");
    Drag(odd, {700, 224}, 700, 424); // bottom edge: the size written, the position not
    EXPECT_EQ(WindowRect(odd->hwnd), (Rect{600, 100, 924, 426}));
    EXPECT_EQ(Ini(IniSectionFor(L"[x]=y"), L"x"), L"-");
    DestroyAllBoxes();
    CreateBox(L"[x]=y", {}, 0);
    EXPECT_EQ(g_boxes[0]->height, 326) << "read back under the same section";
}

TEST_F(BoxMouseWin, ALostCaptureOrARebuildEndsEveryInteraction) {
    BoxWin* box = Make(L"文档", {DeskItem(g_desktop, L"a.txt"), DeskItem(g_desktop, L"b.txt")}, 100, 100);
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, g_hInst, nullptr);
    At(box, WM_LBUTTONDOWN, 300, 224); // a resize keeps and saves the size reached
    At(box, WM_MOUSEMOVE, 300, 274);
    SetCapture(other);
    EXPECT_FALSE(g_resizing);
    EXPECT_EQ(Ini(L"文档_size", L"h"), L"176");
    const POINT c = CellCentre(box, 0); // a press becomes a drag beyond 5 pixels
    At(box, WM_LBUTTONDOWN, c.x, c.y);
    At(box, WM_MOUSEMOVE, c.x + 5, c.y);
    EXPECT_TRUE(g_itemPending);
    At(box, WM_MOUSEMOVE, c.x + 5, c.y + 1);
    ASSERT_TRUE(g_draggingItem);
    const HWND ghost = g_ghostWnd;
    EXPECT_EQ(WindowRect(ghost), (Rect{c.x - 11, c.y - 15, c.x + 21, c.y + 17})) << "centred on the pointer";
    SetCapture(other); // ends the drag without a drop
    EXPECT_FALSE(g_draggingItem || g_itemPending || IsWindow(ghost));
    At(box, WM_LBUTTONUP, 900, 700);
    EXPECT_TRUE(wt::Exists(g_desktop + L"\\a.txt"));
    EXPECT_EQ(Ini(L"freedItems", L"a.txt") + std::to_wstring(Refreshes()), L"-0");
    At(box, WM_LBUTTONDOWN, c.x, c.y); // a rebuild during a drag
    At(box, WM_MOUSEMOVE, c.x + 30, c.y);
    ASSERT_TRUE(g_draggingItem);
    RefreshBoxes();
    EXPECT_FALSE(g_draggingItem || g_dragItemBox || g_ghostWnd || GetCapture());
    At(g_boxes[0], WM_LBUTTONUP, 900, 700);
    EXPECT_EQ(Refreshes(), 0);
    DestroyWindow(other);
}

TEST_F(BoxMouseWin, ABoxIgnoresCloseAndARefreshKeepsAPositionItCannotRead) {
    BoxWin* box = Make(L"文档", {DeskItem(g_desktop, L"a.txt")}, 500, 300);
    EXPECT_TRUE(GetWindowLongPtrW(box->hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "no taskbar button";
    EXPECT_NE(GetForegroundWindow(), box->hwnd);
    SendMessageW(box->hwnd, WM_CLOSE, 0, 0);
    SendMessageW(box->hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(IsWindow(box->hwnd));
    EXPECT_EQ(RegisteredDropTargets(), 1u);
    DestroyWindow(box->hwnd); // gone some other way: its drop target goes with it
    EXPECT_EQ(RegisteredDropTargets(), 0u);
    RefreshBoxes();
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(WindowRect(g_boxes[0]->hwnd).left, 500) << "not at (0, 0)";
}

TEST_F(BoxMouseWin, AfterATitleMoveTheBoxShowsItsPictureOnTheBitmapPath) {
    RegisterTestClass(L"Progman", DefWindowProcW); // a desktop window exists
    HWND progman = CreateWindowExW(0, L"Progman", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, g_hInst, nullptr);
    InitDCompInfra();
    BoxWin* box = Make(L"文档", {DeskItem(g_desktop, L"a.txt")}, 100, 100);
    ASSERT_TRUE(box->fallback && box->fallback->layered);
    const MoveLoopFn systemLoop = std::exchange(g_runMoveLoop, [](HWND hwnd) { // moved by (200, 100)
        const Rect r = WindowRect(hwnd);
        SetWindowPos(hwnd, nullptr, r.left + 200, r.top + 100, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
    At(box, WM_LBUTTONDOWN, 200, 115);
    g_runMoveLoop = systemLoop;
    EXPECT_EQ(Ini(L"文档", L"x") + L"," + Ini(L"文档", L"y"), L"300,200");
    EXPECT_EQ(GetAncestor(box->hwnd, GA_PARENT), progman) << "back in the desktop, as a layered child";
    EXPECT_TRUE(GetWindowLongPtrW(box->hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    COLORREF bar = 0;
    for (const DWORD end = GetTickCount() + 5000; GetBValue(bar) <= GetRValue(bar) + 40 && GetTickCount() < end;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        DrawBox(box); // what the main loop does for a marked box
        HDC screen = GetDC(nullptr);
        bar = GetPixel(screen, 600, 210);
        ReleaseDC(nullptr, screen);
    }
    EXPECT_GT(GetBValue(bar), GetRValue(bar) + 40) << "the blue title bar at the new place";
    DestroyWindow(progman);
}

} // namespace

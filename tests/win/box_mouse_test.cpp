// The box window's own behaviour under real messages: edge resizes with their INI writes, a lost
// capture and a rebuild in the middle of an interaction, WM_CLOSE, and the title move.
#include "boxes/desktop_attach_win.h"
#include "render/fallback_win.h"
#include "settings/ini_names.h"
#include "win/interaction_env.h"

namespace {

using BoxMouseWin = InteractionWorld;

TEST_F(BoxMouseWin, LeftAndBottomEdgeResizesWriteTheSizeUnderTheBoxStorageName) {
    // "[x]=y" needs its section name escaped: the size must come back under the same name.
    BoxWin* doc = Make(L"文档", {DeskItem(g_desktop, L"a.txt")}, 100, 100);   // 324 x 126
    BoxWin* odd = Make(L"[x]=y", {DeskItem(g_desktop, L"b.txt")}, 600, 100);
    // Left edge: dragged past the minimum first, then back; the right side stays where it was.
    At(doc, WM_LBUTTONDOWN, 103, 150);
    At(doc, WM_MOUSEMOVE, 900, 150);
    EXPECT_EQ(WindowRect(doc->hwnd), (Rect{284, 100, 424, 226}));
    At(doc, WM_MOUSEMOVE, 203, 150);
    At(doc, WM_LBUTTONUP, 203, 150);
    EXPECT_EQ(WindowRect(doc->hwnd), (Rect{200, 100, 424, 226}));
    EXPECT_FALSE(g_resizing);
    EXPECT_EQ(doc->width, 224);
    EXPECT_EQ(Ini(L"文档_size", L"w") + Ini(L"文档_size", L"h"), L"224126");
    EXPECT_EQ(Ini(L"文档", L"x") + L"," + Ini(L"文档", L"y"), L"200,100");
    // Bottom edge: "w" and "h" written, the position left alone.
    At(odd, WM_LBUTTONDOWN, 700, 224);
    At(odd, WM_MOUSEMOVE, 700, 424);
    At(odd, WM_LBUTTONUP, 700, 424);
    EXPECT_EQ(WindowRect(odd->hwnd), (Rect{600, 100, 924, 426}));
    EXPECT_EQ(Ini(SizeSectionFor(L"[x]=y").c_str(), L"h"), L"326");
    EXPECT_EQ(Ini(IniSectionFor(L"[x]=y").c_str(), L"x"), L"-");
    DestroyAllBoxes();
    CreateBox(L"[x]=y", {}, 0);
    EXPECT_EQ(g_boxes[0]->height, 326) << "read back under the same section";
}

TEST_F(BoxMouseWin, ALostCaptureOrARebuildEndsEveryInteraction) {
    BoxWin* box = Make(L"文档", {DeskItem(g_desktop, L"a.txt"), DeskItem(g_desktop, L"b.txt")}, 100, 100);
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, g_hInst, nullptr);
    // A resize that loses the mouse keeps and saves the size reached.
    At(box, WM_LBUTTONDOWN, 300, 224);
    At(box, WM_MOUSEMOVE, 300, 274);
    SetCapture(other);
    EXPECT_FALSE(g_resizing);
    EXPECT_EQ(Ini(L"文档_size", L"h"), L"176");
    // A press becomes a drag beyond 5 pixels; losing the mouse ends it without a drop.
    const POINT c = CellCentre(box, 0);
    At(box, WM_LBUTTONDOWN, c.x, c.y);
    At(box, WM_MOUSEMOVE, c.x + 5, c.y);
    EXPECT_TRUE(g_itemPending);
    At(box, WM_MOUSEMOVE, c.x + 5, c.y + 1);
    ASSERT_TRUE(g_draggingItem);
    const HWND ghost = g_ghostWnd;
    EXPECT_EQ(WindowRect(ghost), (Rect{c.x - 11, c.y - 15, c.x + 21, c.y + 17}));
    SetCapture(other);
    EXPECT_FALSE(g_draggingItem || g_itemPending);
    EXPECT_FALSE(IsWindow(ghost));
    At(box, WM_LBUTTONUP, 900, 700);
    EXPECT_TRUE(wt::Exists(g_desktop + L"\\a.txt"));
    EXPECT_EQ(Ini(L"freedItems", L"a.txt"), L"-");
    EXPECT_EQ(Refreshes(), 0);
    // A rebuild in the middle of a drag: the ghost goes, nothing points at the freed records.
    At(box, WM_LBUTTONDOWN, c.x, c.y);
    At(box, WM_MOUSEMOVE, c.x + 30, c.y);
    ASSERT_TRUE(g_draggingItem);
    RefreshBoxes();
    EXPECT_FALSE(g_draggingItem || g_dragItemBox || g_ghostWnd);
    EXPECT_EQ(GetCapture(), nullptr);
    At(g_boxes[0], WM_LBUTTONUP, 900, 700);
    EXPECT_EQ(Refreshes(), 0);
    DestroyWindow(other);
}

TEST_F(BoxMouseWin, ABoxIgnoresCloseAndARefreshKeepsAPositionItCannotRead) {
    BoxWin* box = Make(L"文档", {DeskItem(g_desktop, L"a.txt")}, 500, 300);
    const LONG_PTR ex = GetWindowLongPtrW(box->hwnd, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW) << "no taskbar button";
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

void MoveBy200(HWND hwnd) {
    const Rect r = WindowRect(hwnd);
    SetWindowPos(hwnd, nullptr, r.left + 200, r.top + 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST_F(BoxMouseWin, AfterATitleMoveTheBoxShowsItsPictureOnTheBitmapPath) {
    RegisterTestClass(L"Progman", DefWindowProcW);
    HWND progman = CreateWindowExW(0, L"Progman", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, g_hInst, nullptr);
    const MoveLoopFn systemLoop = g_runMoveLoop;
    g_runMoveLoop = MoveBy200;
    InitDCompInfra();
    BoxWin* box = Make(L"文档", {DeskItem(g_desktop, L"a.txt")}, 100, 100);
    ASSERT_TRUE(box->fallback && box->fallback->layered);
    At(box, WM_LBUTTONDOWN, 200, 115);
    g_runMoveLoop = systemLoop;
    EXPECT_EQ(Ini(L"文档", L"x") + L"," + Ini(L"文档", L"y"), L"300,200");
    EXPECT_EQ(GetAncestor(box->hwnd, GA_PARENT), GetDesktopWindow()) << "a top-level box stays one";
    EXPECT_TRUE(GetWindowLongPtrW(box->hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    COLORREF bar = 0;
    const DWORD end = GetTickCount() + 5000;
    do {
        Pump();
        DrawBox(box); // what the main loop does for a marked box
        HDC screen = GetDC(nullptr);
        bar = GetPixel(screen, 300 + 300, 200 + 10);
        ReleaseDC(nullptr, screen);
    } while (GetBValue(bar) <= GetRValue(bar) + 40 && GetTickCount() < end);
    EXPECT_GT(GetBValue(bar), GetRValue(bar) + 40) << "the blue title bar at the new place";
    DestroyWindow(progman);
}

} // namespace

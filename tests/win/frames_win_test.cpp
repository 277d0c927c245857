// The main loop draws only what changed: a hover change redraws its one box, a waiting program
// draws nothing; a desktop of 1,000 entries gives boxes that fit the work area and scroll to the end.
#include "app/startup_win.h"
#include "boxes/box_win.h"
#include "render/box_record_win.h"
#include "render/devices_win.h"
#include "render/paint_win.h"
#include "win/box_env.h"

#include <windowsx.h>

#include "boxes/box_rules.h"
#include "inventory/inventory_win.h"
#include "render/scene.h"

namespace {

using FramesWin = BoxWorld;

struct Step {
    unsigned long draws = 0;
    int hover[3] = {0, 0, 0};
};
std::vector<Step> g_steps;
HWND g_box1 = nullptr;
POINT g_cell2 = {};

// Runs from the loop's own timer: records what was drawn since the last step, then acts.
void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
    if (AnyBoxMarked()) return; // the loop draws right after this batch of messages: the next tick
    Step s;
    s.draws = BoxDrawCount();
    for (int i = 0; i < 3; ++i) s.hover[i] = g_boxes[static_cast<size_t>(i)]->hoverIdx;
    g_steps.push_back(s);
    if (g_steps.size() == 1) { // two moves within cell 2 of box 1
        PostMessageW(g_box1, WM_MOUSEMOVE, 0, MAKELPARAM(g_cell2.x, g_cell2.y));
        PostMessageW(g_box1, WM_MOUSEMOVE, 0, MAKELPARAM(g_cell2.x + 2, g_cell2.y + 2));
    } else if (g_steps.size() == 2) {
        PostMessageW(g_box1, WM_MOUSELEAVE, 0, 0);
    } else if (g_steps.size() == 4) { // after a period with nothing to do
        KillTimer(nullptr, id);
        PostQuitMessage(0);
    }
}

TEST_F(FramesWin, HoverRedrawsItsBoxOnceAndAWaitingLoopDrawsNothing) {
    InitDCompInfra();
    SetCursorPos(1590, 890); // off every box first: where an earlier test left it gives no hover here
    for (int i = 0; i < 3; ++i) {
        std::vector<Item> items(6);
        for (size_t k = 0; k < items.size(); ++k) items[k].name = L"f" + std::to_wstring(k) + L".txt";
        CreateBox(L"盒" + std::to_wstring(i), items, i);
    }
    ASSERT_EQ(g_boxes.size(), 3u);
    g_box1 = g_boxes[1]->hwnd;
    const Rect c1 = CellRect(g_boxes[1], 1, g_boxes[1]->width), c2 = CellRect(g_boxes[1], 2, g_boxes[1]->width);
    g_cell2 = {c2.left + 10, c2.top + 10};
    // The real pointer rests over cell 1 of box 1, so a leave notice is only what the test posts.
    POINT screen = {c1.left + 10, c1.top + 10};
    ClientToScreen(g_box1, &screen);
    SetCursorPos(screen.x, screen.y);
    const DWORD deadline = GetTickCount() + 2000;
    MSG m;
    do {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    } while (g_boxes[1]->hoverIdx != 1 && GetTickCount() < deadline && (Sleep(20), true));
    DrawMarkedBoxes();

    g_steps.clear();
    ASSERT_NE(SetTimer(nullptr, 0, 150, StepTimer), 0u);
    EXPECT_EQ(MainLoop(), 0);
    ASSERT_EQ(g_steps.size(), 4u);
    const unsigned long draws[] = {1, 1, 0}; // moves in one cell: one box once; the leave; waiting: none
    const int hover1[] = {2, -1, -1};
    for (size_t k = 1; k < 4; ++k) {
        EXPECT_EQ(g_steps[k].draws - g_steps[k - 1].draws, draws[k - 1]) << "step " << k;
        EXPECT_EQ(g_steps[k].hover[1], hover1[k - 1]) << "step " << k;
        EXPECT_EQ(g_steps[k].hover[0] + g_steps[k].hover[2], -2) << "the other boxes hover nothing";
    }
}

// The tray's callbacks come as messages sent from another process: they are handled inside the
// loop's wait, and what they change is drawn then, not when some later message happens to come.
TEST_F(FramesWin, WhatAMessageSentFromAnotherThreadChangesIsDrawnAtOnce) {
    InitDCompInfra();
    CreateBox(L"盒", std::vector<Item>(200), 0);
    ASSERT_EQ(g_boxes.size(), 1u);
    DrawMarkedBoxes();
    struct Job {
        HWND box;
        DWORD loopThread;
        unsigned long before;
        bool drawn = false;
    } job{g_boxes[0]->hwnd, GetCurrentThreadId(), BoxDrawCount()};
    HANDLE sender = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            auto* j = static_cast<Job*>(p);
            Sleep(100); // the loop is waiting by now
            SendMessageW(j->box, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0); // scrolls one notch
            const DWORD deadline = GetTickCount() + 2000;
            while (!(j->drawn = BoxDrawCount() != j->before) && GetTickCount() < deadline) Sleep(10);
            PostThreadMessageW(j->loopThread, WM_QUIT, 0, 0);
            return 0;
        },
        &job, 0, nullptr);
    ASSERT_NE(sender, nullptr);
    EXPECT_EQ(MainLoop(), 0);
    WaitForSingleObject(sender, INFINITE);
    CloseHandle(sender);
    EXPECT_EQ(g_boxes[0]->scrollY, 40);
    EXPECT_TRUE(job.drawn) << "the scrolled box waited for another message to be drawn";
}

TEST_F(FramesWin, ThousandEntriesFitTheWorkAreaAndScrollToTheirLastRow) {
    InitDCompInfra();
    const wchar_t* exts[] = {L".txt", L".png", L".zip", L".bin"};
    for (int i = 0; i < 1000; ++i) {
        const std::wstring name = g_desktop + L"\\e" + std::to_wstring(i);
        if (i % 5 == 4) {
            CreateDirectoryW(name.c_str(), nullptr);
        } else {
            WriteFileText(name + exts[i % 5], "x");
        }
    }
    ScanAll();
    ASSERT_EQ(g_groups.size(), 5u);
    for (size_t i = 0; i < g_groups.size(); ++i) CreateBox(g_groups[i].first, g_groups[i].second, static_cast<int>(i));
    RECT work = {};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    const int workH = work.bottom - work.top;
    for (BoxWin* box : g_boxes) {
        RECT rc = {};
        GetClientRect(box->hwnd, &rc);
        EXPECT_EQ(box->items.size(), 200u);
        EXPECT_LE(WindowRect(box->hwnd).Height(), workH) << "the box fits the work area";
        const int last = static_cast<int>(box->items.size()) - 1;
        EXPECT_GT(CellRect(box, last, rc.right).bottom, rc.bottom) << "the last row needs scrolling";
        box->scrollY = MaxScrollY(box->items.size(), rc.right, rc.bottom, g_cellW, g_cellH);
        const Rect cell = CellRect(box, last, rc.right);
        EXPECT_GE(cell.top, kTitleBarHeight) << "the last row shows below the title";
        EXPECT_LE(cell.bottom, rc.bottom) << "within the scroll range the wheel uses";
    }
}

} // namespace

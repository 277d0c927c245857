// Rebuilds asked for by a message that another thread or process sends while a box record is held
// across a wait on the shell (a fake "Progman" sends it when asked for its worker window): deferred,
// run once afterwards; and a place saved since the last rebuild survives the shell's restart.
#include "win/interaction_env.h"

namespace {

HWND g_fakeMain = nullptr;
bool g_sendOnAttach = false;
int g_rebuildsAsked = 0;
int g_rebuildsRun = 0;

LRESULT CALLBACK FakeMainProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg != WM_REFRESHBOXES) return DefWindowProcW(hwnd, msg, w, l);
    if (!BoxListHeld()) ++g_rebuildsRun;
    RefreshBoxes(); // what the main window does with the request
    return 0;
}

// The shell's desktop window: while a box attaches, something sends the main window a rebuild.
LRESULT CALLBACK SendingProgmanProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == 0x052C && g_sendOnAttach) {
        g_sendOnAttach = false;
        ++g_rebuildsAsked;
        SendMessageW(g_fakeMain, WM_REFRESHBOXES, 0, 0);
    }
    return DefWindowProcW(hwnd, msg, w, l);
}

class RebuildDeferWin : public InteractionWorld {
  protected:
    void SetUp() override {
        InteractionWorld::SetUp();
        RegisterTestClass(L"Progman", DefWindowProcW); // whichever test registered it first
        progman_ = CreateWindowExW(0, L"Progman", L"", WS_POPUP, 0, 0, 1600, 900, nullptr, nullptr, g_hInst, nullptr);
        SetWindowLongPtrW(progman_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SendingProgmanProc));
        RegisterTestClass(L"RebuildDeferMain", FakeMainProc);
        g_fakeMain = CreateWindowExW(0, L"RebuildDeferMain", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_hInst, nullptr);
        g_rebuildsAsked = g_rebuildsRun = 0;
    }
    void TearDown() override {
        g_sendOnAttach = false;
        if (progman_) DestroyWindow(progman_);
        DestroyWindow(std::exchange(g_fakeMain, nullptr));
        InteractionWorld::TearDown();
    }
    // Every record is whole: its own live window points back at it.
    static void ExpectWholeRecords() {
        for (BoxWin* box : g_boxes) {
            EXPECT_TRUE(IsWindow(box->hwnd)) << "a record whose window was destroyed under it";
            EXPECT_EQ(GetWindowLongPtrW(box->hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(box));
        }
    }
    HWND progman_ = nullptr;
};

TEST_F(RebuildDeferWin, ARebuildSentWhileABoxAttachesOrATitleMoveReattachesRunsOnceAfterwards) {
    WriteFileText(g_desktop + L"\\a.txt", "a");
    WriteFileText(g_desktop + L"\\b.zip", "b");
    g_sendOnAttach = true; // inside the rebuild's first CreateBox
    RefreshBoxes();
    EXPECT_EQ(g_rebuildsAsked, 1);
    EXPECT_EQ(g_rebuildsRun, 0) << "not inside the rebuild";
    ASSERT_EQ(g_boxes.size(), 2u);
    ExpectWholeRecords();
    EXPECT_EQ(Refreshes(), 1) << "posted once, for the main loop";

    BoxWin* doc = g_boxes[0];
    const HWND docWnd = doc->hwnd;
    const MoveLoopFn systemLoop = std::exchange(g_runMoveLoop, [](HWND hwnd) {
        const Rect r = WindowRect(hwnd);
        SetWindowPos(hwnd, nullptr, r.left + 200, r.top + 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        g_sendOnAttach = true; // inside the re-attach after the move
    });
    const Rect before = WindowRect(docWnd);
    At(doc, WM_LBUTTONDOWN, before.left + 100, before.top + 15);
    g_runMoveLoop = systemLoop;
    EXPECT_EQ(g_rebuildsAsked, 2);
    ASSERT_EQ(LiveBox(docWnd), doc) << "the moved box was not rebuilt under the move";
    EXPECT_EQ(WindowRect(docWnd).left, before.left + 200);
    ExpectWholeRecords();
    EXPECT_EQ(Refreshes(), 1);

    // The shell restarts: its desktop window goes, and the boxes attached to it with it. The
    // rebuild that follows puts the moved box where the user left it, not where the last rebuild did.
    DestroyWindow(std::exchange(progman_, nullptr));
    EXPECT_FALSE(IsWindow(docWnd));
    RefreshBoxes();
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(WindowRect(g_boxes[0]->hwnd).left, before.left + 200);
    EXPECT_EQ(WindowRect(g_boxes[0]->hwnd).top, before.top + 100);
    ExpectWholeRecords();
}

} // namespace

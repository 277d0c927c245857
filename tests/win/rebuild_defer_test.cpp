// A rebuild sent by another thread or process while box records are held across a wait on the shell
// (a fake "Progman" sends it when a child of it goes, or when asked for its worker) runs once
// afterwards, and a place saved since the last rebuild survives the shell's restart.
#include <memory>

#include "base/process_win.h"
#include "boxes/box_classes_win.h"
#include "boxes/box_mouse_win.h"
#include "boxes/box_win.h"
#include "boxes/desktop_attach_win.h"
#include "render/box_record_win.h"
#include "win/interaction_env.h"

namespace {

HWND g_sender = nullptr; // the main window's stand-in: it rebuilds when asked, as the real one does
bool g_sendOnAttach = false; // once, at the next message the shell's window gets from a box

LRESULT CALLBACK SenderProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_REFRESHBOXES) RefreshBoxes();
    return DefWindowProcW(hwnd, msg, w, l);
}

LRESULT CALLBACK SendingProgmanProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if ((msg == 0x052C || msg == WM_PARENTNOTIFY) && std::exchange(g_sendOnAttach, false))
        SendMessageW(g_sender, WM_REFRESHBOXES, 0, 0);
    return DefWindowProcW(hwnd, msg, w, l);
}

void ExpectWholeRecords() { // each record's own live window points back at it
    for (BoxWin* box : g_boxes)
        EXPECT_TRUE(IsWindow(box->hwnd) && GetWindowLongPtrW(box->hwnd, GWLP_USERDATA) == LONG_PTR(box));
}

TEST_F(InteractionWorld, ARebuildSentWhileABoxAttachesOrReattachesWaitsAndTheShellRestartKeepsMovedPlaces) {
    WNDCLASSEXW known = {};
    known.cbSize = sizeof known;
    struct Unregister { // a class of our own goes again, for the fakes of other tests
        bool ours;
        ~Unregister() { if (ours) UnregisterClassW(L"Progman", GetModuleHandleW(nullptr)); }
    } unregister{!GetClassInfoExW(g_hInst, L"Progman", &known)};
    RegisterTestClass(L"Progman", DefWindowProcW); // the window gets our procedure below
    HWND progman = CreateWindowExW(0, L"Progman", L"", WS_POPUP, 0, 0, 1600, 900, nullptr, nullptr, g_hInst, nullptr);
    SetWindowLongPtrW(progman, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SendingProgmanProc));
    RegisterTestClass(L"RebuildSender", SenderProc);
    g_sender = CreateWindowExW(0, L"RebuildSender", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_hInst, nullptr);
    using Owned = std::unique_ptr<HWND__, BOOL(WINAPI*)(HWND)>; // gone also when an assertion ends the test
    Owned shell(progman, DestroyWindow), sender(g_sender, DestroyWindow);
    WriteFileText(g_desktop + L"\\a.txt", "a");
    WriteFileText(g_desktop + L"\\b.zip", "b");
    RefreshBoxes();
    AttachBoxToDesktop(g_boxes[0]->hwnd); // as made on the composition path
    ForgetAskedDesktop();
    g_sendOnAttach = true;                // while the rebuild destroys the attached window
    RefreshBoxes();
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_FALSE(g_sendOnAttach);
    ExpectWholeRecords();
    EXPECT_EQ(Refreshes(), 1) << "deferred, posted once for the main loop";

    BoxWin* doc = g_boxes[0];
    const HWND docWnd = doc->hwnd;
    AttachBoxToDesktop(docWnd);
    const MoveLoopFn systemLoop = std::exchange(g_runMoveLoop, [](HWND hwnd) {
        const Rect r = WindowRect(hwnd);
        SetWindowPos(hwnd, nullptr, r.left + 200, r.top + 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ForgetAskedDesktop();
        g_sendOnAttach = true; // inside the re-attach after the move
    });
    const Rect before = WindowRect(docWnd);
    At(doc, WM_LBUTTONDOWN, before.left + 100, before.top + 15);
    g_runMoveLoop = systemLoop;
    EXPECT_FALSE(g_sendOnAttach);
    ASSERT_EQ(LiveBox(docWnd), doc) << "not rebuilt under the move";
    ExpectWholeRecords();
    EXPECT_EQ(Refreshes(), 1);

    DestroyWindow(shell.release()); // the shell restarts and takes the attached windows with its own
    EXPECT_FALSE(IsWindow(docWnd));
    RefreshBoxes();
    ASSERT_EQ(g_boxes.size(), 2u);
    const Rect after = WindowRect(g_boxes[0]->hwnd);
    EXPECT_TRUE(after.left == before.left + 200 && after.top == before.top + 100) << "where the user left it";
}

} // namespace

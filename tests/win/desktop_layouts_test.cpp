// Boxes on a fake shell in this process, laid out as Windows 10 or as 24H2 lay out the desktop, through
// Show desktop and restarts of the shell.
#include <map>

#include "app/tray_win.h"
#include "boxes/desktop_attach_win.h"
#include "render/devices_win.h"
#include "render/fallback_win.h"
#include "win/interaction_env.h"

namespace {

// The shell's windows: Progman holding the view and its icon list. Windows 10 answers the private
// message by moving the view into a worker window with the wallpaper's worker behind it; 24H2 keeps
// both in Progman. Show desktop raises what holds the view (moving it out of Progman first on 10).
LRESULT CALLBACK ShellProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);

struct FakeShell {
    bool win10 = true;
    HWND progman = nullptr, view = nullptr, icons = nullptr;
    std::vector<HWND> top; // every top-level window made, destroyed on Stop
    HWND Top(const wchar_t* cls) {
        top.push_back(CreateWindowExW(0, cls, L"", WS_POPUP | WS_VISIBLE, 0, 0, 1600, 900, nullptr, nullptr, g_hInst, nullptr));
        return top.back();
    }
    HWND Child(const wchar_t* cls, HWND parent) {
        return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE, 0, 0, 1600, 900, parent, nullptr, g_hInst, nullptr);
    }
    void Start() {
        progman = Top(L"Progman");
        SetWindowLongPtrW(progman, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ShellProc));
        icons = Child(L"SysListView32", view = Child(L"SHELLDLL_DefView", progman));
        if (!win10) SetWindowPos(Child(L"WorkerW", progman), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    HWND Raise(HWND w) { return SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE), w; }
    HWND MoveViewOut() {
        if (GetParent(view) != progman) return GetParent(view);
        HWND worker = Top(L"WorkerW");
        SetParent(view, worker);
        return Raise(worker);
    }
    void AnswerPrivateMessage() {
        if (!win10 || GetParent(view) != progman) return;
        Top(L"WorkerW"); // the wallpaper's, made first: X keeps the order windows are mapped in
        MoveViewOut();
        SetWindowPos(progman, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    void ShowDesktop() { Raise(win10 ? MoveViewOut() : progman); }
    void Stop() {
        for (HWND w : top) DestroyWindow(w);
        top.clear();
    }
} g_shell;

LRESULT CALLBACK ShellProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == 0x052C && hwnd == g_shell.progman) g_shell.AnswerPrivateMessage();
    return DefWindowProcW(hwnd, msg, w, l);
}

LRESULT CALLBACK MainStandIn(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (IsTaskbarCreated(msg)) OnTaskbarCreated();
    if (msg == WM_REFRESHBOXES) RefreshBoxes();
    return DefWindowProcW(hwnd, msg, w, l);
}

std::wstring OurProcessIsTheShell(DWORD pid) {
    return pid == GetCurrentProcessId() ? L"C:\\Windows\\explorer.exe" : ProcessImageName(pid);
}

bool Above(HWND a, HWND b) {
    for (HWND w = GetWindow(a, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == b) return true;
    return false;
}

class DesktopLayouts : public BoxWorld {
  protected:
    void SetUp() override {
        BoxWorld::SetUp();
        for (const wchar_t* cls : {L"Progman", L"WorkerW", L"SHELLDLL_DefView", L"SysListView32", L"BcMain"})
            RegisterTestClass(cls, cls[0] == L'B' ? MainStandIn : DefWindowProcW);
        g_hMainWnd = CreateWindowExW(0, L"BcMain", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, g_hInst, nullptr);
        g_processImageName = OurProcessIsTheShell;
        InitDCompInfra();
        for (const wchar_t* name : {L"a.txt", L"b.zip", L"c.png"}) WriteFileText(g_desktop + L"\\" + name, "x");
    }
    void TearDown() override {
        g_shell.Stop();
        BoxWorld::TearDown();
        DestroyWindow(std::exchange(g_hMainWnd, nullptr));
        for (const wchar_t* cls : {L"Progman", L"WorkerW", L"SHELLDLL_DefView", L"SysListView32"})
            UnregisterClassW(cls, g_hInst); // the fakes of other tests bring their own
        g_processImageName = ProcessImageName;
    }
    // Messages and drawing, as the main loop does them, until cond holds or 20 s have passed; no box
    // record holds a window that is gone at any point.
    bool Run(const std::function<bool()>& cond) {
        for (const ULONGLONG end = GetTickCount64() + 20000; GetTickCount64() < end; MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT)) {
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
            DrawMarkedBoxes();
            for (const BoxWin* b : g_boxes) EXPECT_TRUE(!b->hwnd || IsWindow(b->hwnd)) << "a dead window in a record";
            if (cond()) return true;
        }
        return false;
    }
    bool AllInView() {
        if (g_boxes.size() != 3 || DesktopWatchRunning()) return false;
        const std::vector<WinInfo> snapshot = TakeDesktopSnapshot();
        for (const BoxWin* b : g_boxes)
            if (!b->hwnd || GetAncestor(b->hwnd, GA_PARENT) != g_shell.view || !Above(b->hwnd, g_shell.icons) ||
                !b->fallback || !b->fallback->drawn || !(GetWindowLongPtrW(b->hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) ||
                BoxCovered(snapshot, reinterpret_cast<std::uintptr_t>(b->hwnd)) || places_[b->key] != WindowRect(b->hwnd))
                return false;
        return true;
    }
    bool InView() { return Run([&] { return AllInView(); }); }
    std::map<std::wstring, Rect> places_;
};

TEST_F(DesktopLayouts, BoxesStayInTheViewThroughShowDesktopAndTheShellsRestarts) {
    for (const bool win10 : {true, false}) {
        g_shell.win10 = win10;
        g_shell.Start();
        RefreshBoxes();
        for (const BoxWin* b : g_boxes) places_[b->key] = WindowRect(b->hwnd);
        ASSERT_TRUE(InView()) << (win10 ? "Windows 10" : "24H2");
        g_shell.ShowDesktop();
        ASSERT_TRUE(InView()) << "after Show desktop";
        for (int restart = 0; restart < (win10 ? 50 : 3); ++restart) {
            g_shell.Stop();
            PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
            const ULONGLONG back = GetTickCount64() + restart % 4 * 150; // the desktop comes late, or at once
            Run([&] { return GetTickCount64() >= back; });
            g_shell.Start();
            ASSERT_TRUE(InView()) << "after restart " << restart;
        }
        g_shell.Stop();
        DestroyAllBoxes();
    }
}

} // namespace

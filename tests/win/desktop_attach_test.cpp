#include "base/process_win.h"
#include "boxes/box_classes_win.h"
#include "win/box_env.h"

#include <vector>

#include "boxes/desktop_attach_win.h"

namespace {

struct ShellMessage {
    WPARAM w;
    LPARAM l;
};
std::vector<ShellMessage> g_progmanMessages;

LRESULT CALLBACK FakeProgmanProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == 0x052C) g_progmanMessages.push_back({w, l});
    return DefWindowProcW(hwnd, msg, w, l);
}

void RegisterFake(const wchar_t* cls, WNDPROC proc) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), cls, &wc)) return;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpfnWndProc = proc;
    wc.lpszClassName = cls;
    RegisterClassExW(&wc);
}

std::wstring OurProcessIsTheShell(DWORD pid) {
    return pid == GetCurrentProcessId() ? L"C:\\windows\\explorer.exe" : ProcessImageName(pid);
}

// A fake shell: "Progman" at (100, 50), and the worker windows each test adds.
class DesktopAttachWin : public BoxWorld {
  protected:
    void SetUp() override {
        BoxWorld::SetUp();
        RegisterFake(L"Progman", FakeProgmanProc);
        RegisterFake(L"WorkerW", DefWindowProcW);
        RegisterFake(L"SHELLDLL_DefView", DefWindowProcW);
        g_progmanMessages.clear();
    }
    void TearDown() override {
        g_processImageName = ProcessImageName;
        for (auto it = made_.rbegin(); it != made_.rend(); ++it)
            DestroyWindow(*it);
        BoxWorld::TearDown();
    }
    HWND Make(const wchar_t* cls, DWORD style, HWND parent = nullptr, int x = 0, int y = 0, int w = 50,
              int h = 50) {
        HWND hwnd = CreateWindowExW(0, cls, L"", style, x, y, w, h, parent, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
        EXPECT_TRUE(hwnd);
        made_.push_back(hwnd);
        return hwnd;
    }
    HWND MakeProgman() { return Make(L"Progman", WS_POPUP | WS_VISIBLE, nullptr, 100, 50, 800, 600); }
    HWND MakeWorker(bool visible, bool withView) {
        HWND w = Make(L"WorkerW", WS_POPUP | (visible ? WS_VISIBLE : 0));
        if (withView) Make(L"SHELLDLL_DefView", WS_CHILD | WS_VISIBLE, w);
        return w;
    }
    HWND MakeBox(int x, int y, DWORD exStyle = 0) {
        HWND hwnd = CreateWindowExW(exStyle, WND_CLASS, L"box", WS_POPUP, x, y, 324, 126, nullptr, nullptr,
                                    g_hInst, nullptr);
        EXPECT_TRUE(hwnd);
        made_.push_back(hwnd);
        return hwnd;
    }
    std::vector<HWND> made_;
};

TEST_F(DesktopAttachWin, WorkerSearchRules) {
    HWND progman = MakeProgman();
    MakeWorker(true, true);   // holds the desktop view: never chosen
    MakeWorker(false, false); // hidden: never chosen
    g_processImageName = OurProcessIsTheShell;
    EXPECT_EQ(FindWorkerW2(progman), nullptr);

    HWND good = MakeWorker(true, false);
    EXPECT_EQ(FindWorkerW2(progman), good);
    HWND out = nullptr;
    EXPECT_EQ(FindWorkerCb2(good, reinterpret_cast<LPARAM>(&out)), FALSE);
    EXPECT_EQ(out, good);
    EXPECT_EQ(FindWorkerCb2(progman, reinterpret_cast<LPARAM>(&out)), TRUE) << "wrong class";

    g_processImageName = ProcessImageName; // the real name: this test program is not the shell
    EXPECT_NE(ProcessImageName(GetCurrentProcessId()).find(L"win_tests.exe"), std::wstring::npos);
    EXPECT_EQ(FindWorkerW2(progman), nullptr);
    EXPECT_EQ(ProcessImageName(0xFFFFFFF0u), L"") << "a process that cannot be opened is not the shell";
}

TEST_F(DesktopAttachWin, WorkerAmongProgmanChildrenWhenNoneAtTopLevel) {
    HWND progman = MakeProgman();
    Make(L"WorkerW", WS_CHILD | WS_VISIBLE, progman); // first child: has the view
    Make(L"SHELLDLL_DefView", WS_CHILD | WS_VISIBLE, made_.back());
    HWND child = Make(L"WorkerW", WS_CHILD | WS_VISIBLE, progman);
    g_processImageName = OurProcessIsTheShell;
    EXPECT_EQ(FindWorkerW2(progman), child);
}

TEST_F(DesktopAttachWin, AttachAndDetachKeepTheScreenRectangle) {
    HWND progman = MakeProgman();
    g_processImageName = OurProcessIsTheShell;
    MakeWorker(true, false);
    HWND box = MakeBox(300, 200, WS_EX_LAYERED | WS_EX_TOOLWINDOW);
    const Rect placed{300, 200, 624, 326};

    AttachBoxToDesktop(box);
    ASSERT_EQ(g_progmanMessages.size(), 1u);
    EXPECT_EQ(g_progmanMessages[0].w, 0x0Du);
    EXPECT_EQ(g_progmanMessages[0].l, 1);
    EXPECT_EQ(GetAncestor(box, GA_PARENT), progman) << "without a view, Progman";
    const LONG_PTR style = GetWindowLongPtrW(box, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ(GetWindowLongPtrW(box, GWL_EXSTYLE) & (WS_EX_LAYERED | WS_EX_TOOLWINDOW), WS_EX_LAYERED) << "a layered child";
    EXPECT_EQ(WindowRect(box), placed);

    DetachFromDesktop(box);
    EXPECT_EQ(GetAncestor(box, GA_PARENT), GetDesktopWindow());
    EXPECT_TRUE(GetWindowLongPtrW(box, GWL_STYLE) & WS_POPUP);
    EXPECT_FALSE(GetWindowLongPtrW(box, GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(WindowRect(box), placed);
}

TEST_F(DesktopAttachWin, WithoutTheShellANewBoxIsShownAsAPopup) {
    ASSERT_EQ(FindWindowW(L"Progman", nullptr), nullptr);
    HWND box = MakeBox(300, 200), other = MakeBox(0, 0);
    ShowWindow(other, SW_SHOWNA);
    ShowBoxOnDesktop(box);
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_EQ(GetAncestor(box, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetWindow(box, GW_HWNDLAST), box) << "below every other window";
    EXPECT_EQ(WindowRect(box), (Rect{300, 200, 624, 326}));

    HWND progman = MakeProgman();
    HWND attached = MakeBox(310, 210);
    ShowBoxOnDesktop(attached);
    EXPECT_EQ(GetAncestor(attached, GA_PARENT), progman);
    EXPECT_TRUE(IsWindowVisible(attached));
}

int g_posChanging = 0;
WNDPROC g_boxProcBefore = nullptr;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_WINDOWPOSCHANGING) ++g_posChanging;
    return CallWindowProcW(g_boxProcBefore, hwnd, msg, w, l);
}

TEST_F(DesktopAttachWin, SetBoxPosSkipsWhatChangesNothingAndConvertsForChildren) {
    HWND box = MakeBox(300, 200);
    ShowWindow(box, SW_SHOWNA);
    g_boxProcBefore = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
    struct Case {
        const char* name;
        int x, y, cx, cy;
        UINT flags;
        bool calls;
        Rect after;
    } cases[] = {
        {"same place and size", 300, 200, 324, 126, 0, false, {300, 200, 624, 326}},
        {"same place, size ignored with NOSIZE", 300, 200, 10, 10, SWP_NOSIZE, false, {300, 200, 624, 326}},
        {"NOMOVE alone always goes through", 300, 200, 324, 126, SWP_NOMOVE, true, {300, 200, 624, 326}},
        {"a move", 301, 205, 0, 0, SWP_NOSIZE, true, {301, 205, 625, 331}},
        {"a resize in place", 301, 205, 400, 126, 0, true, {301, 205, 701, 331}},
    };
    for (const Case& c : cases) {
        g_posChanging = 0;
        SetBoxPos(box, c.x, c.y, c.cx, c.cy, c.flags);
        EXPECT_EQ(g_posChanging > 0, c.calls) << c.name;
        EXPECT_EQ(WindowRect(box), c.after) << c.name;
    }
    SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_boxProcBefore));

    // Attached to a parent at (100, 50): screen coordinates in, the same screen place out.
    MakeProgman();
    AttachBoxToDesktop(box);
    SetBoxPos(box, 400, 300, 0, 0, SWP_NOSIZE);
    EXPECT_EQ(WindowRect(box), (Rect{400, 300, 800, 426}));
    SetBoxPos(box, 450, 320, 200, 150, 0);
    EXPECT_EQ(WindowRect(box), (Rect{450, 320, 650, 470}));
}

} // namespace

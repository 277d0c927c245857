// Keeping boxes on the desktop while the shell comes and goes: a box window that went with the shell's
// windows is noticed, and a bounded search attaches every box once the shell's view exists (again).
#include <algorithm>
#include <utility>

#include "base/log_win.h"
#include "boxes/box_mouse_win.h"
#include "boxes/box_win.h"
#include "boxes/desktop_attach_win.h"
#include "render/box_record_win.h"
#include "render/paint_win.h"
#include "settings/lists.h"

namespace {

// Remembered positions keep the corner only; the rest of the rectangle is a nominal size.
constexpr int kCachedWidth = 240;
constexpr int kCachedHeight = 360;
constexpr UINT kFirstLookMs = USER_TIMER_MINIMUM; // from the message loop, never inside a caller

UINT_PTR g_timer = 0;
unsigned g_attempt = 0;
ULONGLONG g_searchStart = 0;
bool g_checking = false;
bool g_checkAgain = false;

void StopTimer() {
    if (g_timer) KillTimer(nullptr, g_timer);
    g_timer = 0;
}

void CALLBACK OnWatchTimer(HWND, UINT, UINT_PTR, DWORD) { CheckDesktop(); }

void StartTimer(UINT ms) {
    StopTimer();
    g_timer = SetTimer(nullptr, 0, ms, OnWatchTimer);
}

HWND ParentWindowOf(HWND hwnd) {
    if (!(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) return nullptr;
    return GetAncestor(hwnd, GA_PARENT);
}

bool AnyBoxLost() {
    return std::any_of(g_boxes.begin(), g_boxes.end(), [](const BoxWin* b) { return !b->hwnd; });
}

} // namespace

void WatchForDesktop() {
    ForgetAskedDesktop(); // a new shell has a new desktop window, which may even reuse the handle
    g_attempt = 0;
    g_searchStart = GetTickCount64();
    StartTimer(kFirstLookMs);
}

bool DesktopWatchRunning() { return g_timer != 0; }

void StopDesktopWatch() { StopTimer(); }

void CheckDesktop() {
    StopTimer();
    if (g_checking) { // a shell call below let a request in: it runs once this look ends
        g_checkAgain = true;
        return;
    }
    if (BoxListHeld()) { // a box is being moved, or records are in use: look again shortly
        StartTimer(DesktopRetryDelayMs(0, 0));
        return;
    }
    g_checking = true;
    DesktopWindows host = FindDesktopWindows();
    const unsigned elapsed = static_cast<unsigned>(std::min<ULONGLONG>(GetTickCount64() - g_searchStart, 0xFFFFFFFFu));
    const unsigned next = host.view ? 0 : DesktopRetryDelayMs(g_attempt++, elapsed);
    // Boxes lost with the shell are made again where the icons are, or as top-level boxes once the
    // search gave up; the rebuild keeps the boxes that live and attaches the new ones.
    if (AnyBoxLost() && (host.view || next == 0)) {
        LogDbg(L"DESKTOP remaking lost boxes");
        RefreshBoxes();
    }
    {
        BoxListHold hold; // attaching waits on the shell: no rebuild frees a record meanwhile
        std::vector<HWND> windows;
        for (const BoxWin* box : g_boxes)
            if (box->hwnd) windows.push_back(box->hwnd);
        for (HWND hwnd : windows) {
            if (!LiveBox(hwnd) || ParentWindowOf(hwnd) == host.parent) continue;
            AttachBoxToDesktop(hwnd);
            if (BoxWin* box = LiveBox(hwnd)) ShowPictureAgain(box); // a bitmap box shows it anew
        }
    }
    g_checking = false;
    if (std::exchange(g_checkAgain, false)) {
        StartTimer(kFirstLookMs);
    } else if (next) {
        StartTimer(next);
    }
}

void OnBoxWindowLost(BoxWin* box) {
    RECT r = {};
    if (GetWindowRect(box->hwnd, &r)) g_posCache[box->key] = Rect{r.left, r.top, r.left + kCachedWidth, r.top + kCachedHeight};
    LogDbg(L"DESKTOP box window lost [" + box->key + L"]");
    ReleaseBoxRender(box);
    SetWindowLongPtrW(box->hwnd, GWLP_USERDATA, 0);
    box->hwnd = nullptr; // nothing reads a window that is gone; the record waits for its new one
    WatchForDesktop();
}

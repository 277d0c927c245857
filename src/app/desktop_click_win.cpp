// The desktop's double click: a low-level mouse hook on its own thread that posts each left press to
// the main window and returns at once; the main thread pairs presses and looks at what lies under them.
#include "app/desktop_click_win.h"

#include <windowsx.h>

#include <atomic>
#include <utility>

#include "base/log_win.h"
#include "base/process_win.h"
#include "boxes/box_win.h"
#include "boxes/desktop_click.h"
#include "boxes/pointer_over_win.h"
#include "render/box_record_win.h"
#include "settings/settings.h"
#include "settings/settings_win.h"

namespace {

std::atomic<HWND> g_notify{nullptr};
std::atomic<bool> g_hooked{false};
HANDLE g_hookThread = nullptr;
HANDLE g_stopHook = nullptr;
DesktopClicks g_clicks;

// Runs for every mouse event of the session: a post for a left press, nothing else, no waiting.
LRESULT CALLBACK LowLevelMouse(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == WM_LBUTTONDOWN) {
        const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        if (HWND to = g_notify.load(std::memory_order_relaxed))
            PostMessageW(to, WM_DESKTOPCLICK, event->time,
                         MAKELPARAM(static_cast<WORD>(event->pt.x), static_cast<WORD>(event->pt.y)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The hook is called through this thread's messages, so the thread does nothing but take them.
DWORD WINAPI HookThread(void*) {
    HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, LowLevelMouse, GetModuleHandleW(nullptr), 0);
    if (!hook) {
        LogDbg(L"DESKTOP CLICK: no mouse hook, error " + std::to_wstring(GetLastError()));
        return 1;
    }
    g_hooked = true;
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &g_stopHook, FALSE, INFINITE, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1) break; // told to stop, or the wait failed
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    g_hooked = false;
    UnhookWindowsHookEx(hook);
    return 0;
}

} // namespace

bool StartDesktopClicks(HWND notify) {
    if (g_hookThread) return true;
    g_notify = notify;
    g_clicks.Forget();
    g_stopHook = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (g_stopHook) g_hookThread = CreateThread(nullptr, 0, HookThread, nullptr, 0, nullptr);
    if (!g_hookThread && g_stopHook) CloseHandle(std::exchange(g_stopHook, nullptr));
    return g_hookThread != nullptr;
}

void StopDesktopClicks() {
    if (!g_hookThread) return;
    SetEvent(g_stopHook);
    // The thread only dispatches: it ends as soon as it sees the event.
    if (WaitForSingleObject(g_hookThread, 2000) != WAIT_OBJECT_0) LogDbg(L"DESKTOP CLICK: hook thread did not end");
    CloseHandle(std::exchange(g_hookThread, nullptr));
    CloseHandle(std::exchange(g_stopHook, nullptr));
    g_notify = nullptr;
}

bool DesktopClicksRunning() { return g_hookThread != nullptr && g_hooked; }

void ToggleAllBoxes() {
    bool anyShown = false;
    for (const BoxWin* box : g_boxes) anyShown = anyShown || (box->hwnd && IsWindowVisible(box->hwnd));
    for (BoxWin* box : g_boxes)
        if (box->hwnd) ShowBoxWindow(box->hwnd, !anyShown);
}

void OnDesktopClick(WPARAM wParam, LPARAM lParam) {
    if (!g_desktopDoubleClick) return;
    const POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const DoubleClickRules rules = {GetDoubleClickTime(), GetSystemMetrics(SM_CXDOUBLECLK),
                                    GetSystemMetrics(SM_CYDOUBLECLK)};
    if (g_clicks.Press({p.x, p.y}, static_cast<unsigned>(wParam), g_pointerOver(p), rules)) ToggleAllBoxes();
}

void SetDesktopDoubleClick(bool on) {
    g_desktopDoubleClick = on;
    SaveStyleKey(L"desktopDoubleClick", on ? L"1" : L"0");
    if (on) StartDesktopClicks(g_hMainWnd);
    else StopDesktopClicks();
}

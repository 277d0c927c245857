// Start-up sequence, the main loop (it waits for messages and draws what changed) and the main window.
#include "app/startup_win.h"

#include <commctrl.h>
#include <gdiplus.h>
#include <ole2.h>

#include <set>
#include <string>

#include "app/desktop_click_win.h"
#include "app/display_change_win.h"
#include "app/find_app_win.h"
#include "app/ini_reread_win.h"
#include "app/instance_win.h"
#include "app/tray_win.h"
#include "app/watch_win.h"
#include "base/log_win.h"
#include "base/process_win.h"
#include "boxes/box_classes_win.h"
#include "boxes/box_mouse_win.h"
#include "boxes/box_win.h"
#include "boxes/desktop_attach_win.h"
#include "boxes/display_layouts_win.h"
#include "boxes/drop_target_win.h"
#include "boxes/item_drag_win.h"
#include "boxes/layout_win.h"
#include "inventory/inventory_win.h"
#include "render/background_win.h"
#include "render/devices_win.h"
#include "render/paint_win.h"
#include "render/skins_win.h"
#include "settings/ini_win.h"
#include "settings/lists_win.h"
#include "settings/settings.h"
#include "settings/settings_win.h"
#include "ui/find_win.h"

const wchar_t* const kMainClass = L"BrindlecotMain";
const wchar_t* const kMainTitle = L"Brindlecot";

void EnsureHiddenStore(const std::wstring& hidden) {
    if (hidden.empty()) return; // no desktop folder: never make a store anywhere else
    CreateDirectoryW(hidden.c_str(), nullptr);
    // Only a folder is the store: a file of the user's that bears the name keeps its attributes.
    if (!IsFolder(hidden.c_str())) {
        LogDbg(L"EnsureHiddenStore: no hidden store, [" + hidden + L"] is not a folder");
        return;
    }
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

namespace {

ULONG_PTR g_gdiplusToken = 0;

void RegisterClasses(HINSTANCE instance) {
    RegisterBoxClasses(instance);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.hInstance = instance;
    wc.lpfnWndProc = MainProc;
    wc.lpszClassName = kMainClass;
    RegisterClassExW(&wc);
}

// Per-monitor aware (v2) like the shell, so that making a box a child of the shell's windows never
// changes the awareness of this process; the older per-monitor and system forms where the system has
// nothing newer. The manifest asks the same before any code runs; then these calls change nothing.
template <typename Fn> Fn Proc(const wchar_t* dll, const char* name) {
    HMODULE module = LoadLibraryW(dll);
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

void DeclareDpiAwareness() {
    using ContextFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    using AwarenessFn = HRESULT(WINAPI*)(int);
    if (auto set = Proc<ContextFn>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
        if (set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) || GetLastError() == ERROR_ACCESS_DENIED) return;
    }
    constexpr int kPerMonitorAware = 2; // PROCESS_PER_MONITOR_DPI_AWARE
    if (auto set = Proc<AwarenessFn>(L"shcore.dll", "SetProcessDpiAwareness")) {
        const HRESULT hr = set(kPerMonitorAware);
        if (SUCCEEDED(hr) || hr == E_ACCESSDENIED) return;
    }
    SetProcessDPIAware();
}

// Requests that queued up meanwhile are one rebuild.
void OnRefreshRequest(HWND hwnd) {
    MSG queued;
    while (PeekMessageW(&queued, hwnd, WM_REFRESHBOXES, WM_REFRESHBOXES, PM_REMOVE | PM_NOYIELD)) {
    }
    RefreshBoxes();
}

} // namespace

void StartUp(HINSTANCE instance) {
    g_hInst = instance;
    // 1-4: platform start.
    DeclareDpiAwareness();
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    Gdiplus::GdiplusStartupInput gdiplusInput;
    Gdiplus::GdiplusStartup(&g_gdiplusToken, &gdiplusInput, nullptr);
    OleInitialize(nullptr);

    // 5-6: the desktop folder and the hidden store.
    g_desktop = GetDesktopPath();
    g_hidden = HiddenStoreFor(g_desktop);
    EnsureHiddenStore(g_hidden);
    StartFolderWatch(); // before the scan: nothing changed after it goes unseen

    // 7-9: window classes, the invisible main window, the tray icon.
    RegisterClasses(instance);
    g_hMainWnd = CreateWindowExW(0, kMainClass, kMainTitle, 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    SetupTray(g_hMainWnd);

    // 10: shared graphics devices; the program goes on whatever the result.
    InitDCompInfra();

    // 11-13: INI path, persistent lists, settings. A write that fails is told by the tray balloon.
    SetIniWriteFailureHandler(ShowTrayBalloon);
    InitIniPath();
    RemoveUnfinishedMoves(); // after the INI path, which places the log
    LoadStoredChoices();
    StartBgImageDecode();
    MeasureNameLines(); // the cell height follows the name font
    UpdateSkinBrush();

    // 14-16: scan, remembered positions, one box per group.
    ScanAll();
    std::vector<std::wstring> keys;
    for (const auto& g : g_groups) keys.push_back(g.first);
    StartDisplaySet(keys); // which monitors, and so which of the stored places
    LoadPos(keys);
    std::set<std::wstring> stored;
    for (const auto& [key, place] : g_posCache) stored.insert(key);
    DeferDropTargets();
    if (g_firstRun) HoldNewBoxes(); // shown where the arrangement puts them, not at default places first
    for (size_t i = 0; i < g_groups.size(); ++i) CreateBox(g_groups[i].first, g_groups[i].second, static_cast<int>(i));

    // 17: first run arranges, later runs only settle overlaps.
    // Default places run off the right edge from the seventh box or so; a box folded when the
    // program ended comes back expanded: every box on a screen, none over another. A box at a place
    // the user chose starts there, as long as its title band is within reach.
    if (g_firstRun) {
        AutoArrange();
        SettleBoxes();
    } else {
        SettleStartedBoxes(stored);
    }
    FinishStartDisplaySet();
    ShowHeldBoxes();
    WatchUnreadIni();  // a file held by another program is read when it is let go of
    WatchForDesktop(); // a desktop that is not there yet (at logon) is waited for, a while
    // Behind whatever waits now (a rebuild asked for meanwhile included): every box has its picture.
    if (!g_hMainWnd || !PostMessageW(g_hMainWnd, WM_STARTUPDONE, 0, 0)) FinishStartUp();
}

void FinishStartUp() {
    RegisterDeferredDropTargets();
    ApplyTrayIcon();
    SetUpFind(); // after the icon: a hotkey that is taken is told as its balloon
    if (g_desktopDoubleClick) StartDesktopClicks(g_hMainWnd);
}

int MainLoop() {
    MSG msg;
    for (;;) {
        // Every waiting message first (without counting as idle), then the boxes whose picture
        // changed, once; then wait for the next message without any work. The wait also wakes for
        // messages sent from other threads or processes (the tray's callbacks arrive so): handled
        // inside PeekMessage, they come back here and what they marked is drawn at once.
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) {
            if (msg.message == WM_QUIT) return 0;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        // Messages that came while changes were taken up are answered before the boxes are drawn.
        if (FollowFolderChanges()) continue;
        DrawMarkedBoxes(true);
        // Boxes that change between composition and a bitmap are made anew, in windows of that kind.
        if (TakeOtherWindowsRequest()) {
            RemakeAllBoxes();
            continue;
        }
        WaitForMessagesOrChanges();
    }
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT answer = 0;
    if (AnswerSecondStart(hwnd, msg, wParam, &answer)) return answer;
    if (IsTaskbarCreated(msg)) {
        OnTaskbarCreated();
        return 0;
    }
    if (IsDisplayNotice(msg, wParam)) {
        if (msg == WM_DISPLAYCHANGE) CheckGraphicsDevices();
        if (msg == WM_DPICHANGED) ApplyTrayIcon(); // the system's scale changed: the tray icon follows it
        // A monitor's scaling may have changed with it; the boxes' places follow once the monitors
        // are stable.
        if (msg == WM_DISPLAYCHANGE || msg == WM_DPICHANGED) FollowAllBoxesDpi();
        OnDisplayNotice(hwnd);
        return msg == WM_POWERBROADCAST ? TRUE : 0;
    }
    switch (msg) {
    case WM_TRAYCALLBACK:
        OnTrayCallback(lParam);
        return 0;
    case WM_REFRESHBOXES:
        OnRefreshRequest(hwnd);
        return 0;
    case WM_STARTUPDONE:
        FinishStartUp();
        return 0;
    case WM_DESKTOPCLICK:
        OnDesktopClick(wParam, lParam);
        return 0;
    case WM_HOTKEY:
        if (wParam == kFindHotKeyId) ShowFindWindow();
        return 0;
    case WM_TIMER:
        if (wParam == kDisplayTimerId) OnDisplayTimer(hwnd);
        return 0;
    case WM_DESTROY:
        OnMainDestroy();
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

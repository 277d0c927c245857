// The tray icon, its menu (the program's main menu) and the main window's handlers.
#include "app/tray_win.h"

#include <vector>

#include "app/autostart_win.h"
#include "app/find_app_win.h"
#include "app/startup_win.h"
#include "base/dpi_win.h"
#include "base/process_win.h"
#include "base/strutil.h"
#include "boxes/box_mouse_win.h"
#include "boxes/box_rules.h"
#include "boxes/box_win.h"
#include "boxes/desktop_attach_win.h"
#include "boxes/layout_win.h"
#include "inventory/inventory_win.h"
#include "render/box_record_win.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"
#include "settings/lists.h"
#include "settings/settings.h"
#include "settings/settings_win.h"
#include "ui/appearance_win.h"
#include "ui/dialogs_win.h"
#include "ui/find_win.h"
#include "ui/menus.h"

#include <gdiplus.h>

NOTIFYICONDATAW g_nid = {};

namespace {

constexpr UINT kTrayFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

Gdiplus::Color Opaque(BYTE r, BYTE g, BYTE b) {
    return Gdiplus::Color(255, r, g, b);
}

void FillDots(Gdiplus::Graphics& gfx, const Gdiplus::Color& c, int first, int size) {
    Gdiplus::SolidBrush dot(c);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            gfx.FillEllipse(&dot, first + 7 * i, first + 7 * j, size, size);
}

void DrawStyle(Gdiplus::Graphics& gfx, int style) {
    switch (style) {
    case 0: {
        Gdiplus::GraphicsPath path;
        path.AddArc(2, 2, 7, 7, 180, 90);
        path.AddArc(23, 2, 7, 7, 270, 90);
        path.AddArc(23, 23, 7, 7, 0, 90);
        path.AddArc(2, 23, 7, 7, 90, 90);
        path.CloseFigure();
        Gdiplus::SolidBrush blue(Opaque(59, 130, 246));
        gfx.FillPath(&blue, &path);
        FillDots(gfx, Opaque(255, 255, 255), 8, 4);
        break;
    }
    case 1: {
        Gdiplus::SolidBrush tab(Opaque(250, 210, 90));
        gfx.FillRectangle(&tab, 3, 7, 13, 5);
        Gdiplus::SolidBrush body(Opaque(245, 180, 40));
        gfx.FillRectangle(&body, 3, 10, 26, 16);
        break;
    }
    case 2: {
        Gdiplus::SolidBrush square(Opaque(30, 41, 59));
        gfx.FillRectangle(&square, 2, 2, 28, 28);
        FillDots(gfx, Opaque(96, 165, 250), 7, 5);
        break;
    }
    default: {
        Gdiplus::SolidBrush disc(Opaque(16, 185, 129));
        gfx.FillEllipse(&disc, 3, 3, 26, 26);
        Gdiplus::SolidBrush dot(Opaque(255, 255, 255));
        gfx.FillEllipse(&dot, 12, 12, 8, 8);
        break;
    }
    }
}

UINT TaskbarCreatedMessage() {
    static const UINT msg = RegisterWindowMessageW(L"TaskbarCreated");
    return msg;
}

std::vector<std::wstring> ExistingBoxKeys() {
    std::vector<std::wstring> keys;
    for (const BoxWin* box : g_boxes)
        keys.push_back(box->key);
    keys.insert(keys.end(), g_customBoxes.begin(), g_customBoxes.end());
    keys.insert(keys.end(), g_hiddenBoxes.begin(), g_hiddenBoxes.end());
    return keys;
}

void NewBox() {
    const std::wstring name = InputBox(g_hMainWnd, L"新建盒子", L"新盒子");
    if (name.empty()) return;
    const std::wstring key = NewBoxKey(name, ExistingBoxKeys());
    g_customBoxes.insert(key);
    g_hiddenBoxes.erase(key);
    IniWrite(L"customBoxes", IniKeyFor(key).c_str(), L"1");
    IniDeleteKey(L"hiddenBoxes", IniKeyFor(key).c_str());
    PlaceNewBox(key);
    RefreshBoxes();
}

void SetAllBoxesShown(bool shown) {
    for (BoxWin* box : g_boxes)
        ShowBoxWindow(box->hwnd, shown);
}

} // namespace

HICON MakeTrayIcon(int style, int size) {
    Gdiplus::Bitmap bmp(size, size, PixelFormat32bppARGB);
    HICON icon = nullptr;
    {
        Gdiplus::Graphics gfx(&bmp);
        gfx.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        const float scale = static_cast<float>(size) / 32.0f;
        gfx.ScaleTransform(scale, scale);
        gfx.Clear(Gdiplus::Color(0, 0, 0, 0));
        DrawStyle(gfx, style);
    }
    if (bmp.GetHICON(&icon) != Gdiplus::Ok) icon = nullptr;
    return icon;
}

void SetupTray(HWND mainWnd) {
    g_nid = {};
    g_nid.cbSize = sizeof g_nid;
    g_nid.hWnd = mainWnd;
    g_nid.uID = 1;
    g_nid.uFlags = kTrayFlags;
    g_nid.uCallbackMessage = WM_TRAYCALLBACK;
    g_nid.hIcon = nullptr; // drawn once the style is known (ApplyTrayIcon), after the first picture
    lstrcpynW(g_nid.szTip, kMainTitle, ARRAYSIZE(g_nid.szTip));
    Shell_NotifyIconW(NIM_ADD, &g_nid);
    // The shell's restart notice also reaches a program that runs elevated.
    ChangeWindowMessageFilterEx(mainWnd, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
}

void ApplyTrayIcon() {
    if (g_nid.hIcon) DestroyIcon(g_nid.hIcon);
    // As large as the system's icons at its DPI (32 at 96): the shell shrinks it to its tray size,
    // never enlarges it.
    g_nid.hIcon = MakeTrayIcon(g_trayIconStyle, SystemMetricAtDpi(SM_CXICON, SystemDpi()));
    g_nid.uFlags = kTrayFlags;
    Shell_NotifyIconW(NIM_MODIFY, &g_nid);
}

void ShowTrayBalloon(const std::wstring& title, const std::wstring& text) {
    if (!g_nid.hWnd) return;
    NOTIFYICONDATAW nid = g_nid;
    nid.uFlags = NIF_INFO;
    lstrcpynW(nid.szInfoTitle, title.c_str(), ARRAYSIZE(nid.szInfoTitle));
    lstrcpynW(nid.szInfo, text.c_str(), ARRAYSIZE(nid.szInfo));
    nid.dwInfoFlags = NIIF_INFO;
    Shell_NotifyIconW(NIM_MODIFY, &nid);
}

void ShowTrayProgress(const std::wstring& text) {
    if (!g_nid.hWnd) return;
    lstrcpynW(g_nid.szTip, text.empty() ? kMainTitle : text.c_str(), ARRAYSIZE(g_nid.szTip));
    g_nid.uFlags = kTrayFlags;
    Shell_NotifyIconW(NIM_MODIFY, &g_nid);
}

void RunTrayCommand(int cmd, POINT pt) {
    switch (cmd) {
    case kCmdShowAll:
        SetAllBoxesShown(true);
        break;
    case kCmdHideAll:
        SetAllBoxesShown(false);
        break;
    case kCmdCollectAll:
        StartMoveAll(MoveCommand::CollectAll, {ShowTrayProgress, RequestBoxRefresh});
        break;
    case kCmdRestoreAll:
        StartMoveAll(MoveCommand::RestoreAll, {ShowTrayProgress, RequestBoxRefresh});
        break;
    case kCmdNewBox:
        NewBox();
        break;
    case kCmdAppearance:
        ShowAppearanceMenu(g_hMainWnd, pt);
        break;
    case kCmdAutoArrange:
        AutoArrange();
        break;
    case kCmdNoOverlap:
        g_noOverlap = !g_noOverlap;
        SaveStyleKey(L"noOverlap", g_noOverlap ? L"1" : L"0");
        if (g_noOverlap) ResolveOverlaps(nullptr);
        break;
    case kCmdAutoStart:
        SetAutoStart(!IsAutoStart());
        break;
    case kCmdRestoreHidden:
        g_hiddenBoxes.clear();
        IniDeleteSection(L"hiddenBoxes");
        RefreshBoxes();
        break;
    case kCmdFind:
        ShowFindWindow();
        break;
    case kCmdOpenStore: // the boxed files, in the file manager
        if (!g_hidden.empty()) {
            EnsureHiddenStore(g_hidden);
            OpenItem(g_hidden);
        }
        break;
    case kCmdExit:
        StopMoveAll(); // what is left of a collect-all stays where it is
        Shell_NotifyIconW(NIM_DELETE, &g_nid);
        PostQuitMessage(0);
        break;
    default:
        if (TrayStyleForCommand(cmd) >= 0) {
            g_trayIconStyle = TrayStyleForCommand(cmd);
            SaveStyleKey(L"trayIcon", IntToW(g_trayIconStyle));
            ApplyTrayIcon();
        }
        break;
    }
}

void ShowTrayMenu() {
    HMENU menu = BuildPopupMenu(TrayMenuModel(g_noOverlap, IsAutoStart(), g_trayIconStyle, g_findHotKeyName));
    if (!menu) return;
    POINT pt = {};
    GetCursorPos(&pt);
    SetForegroundWindow(g_hMainWnd);
    const int cmd = static_cast<int>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, g_hMainWnd, nullptr));
    PostMessageW(g_hMainWnd, WM_NULL, 0, 0); // lets the next click outside close a tray menu again
    DestroyMenu(menu);
    RunTrayCommand(cmd, pt);
}

void OnTrayCallback(LPARAM lParam) {
    if (LOWORD(lParam) == WM_RBUTTONUP) ShowTrayMenu();
}

bool IsTaskbarCreated(UINT msg) {
    return msg != 0 && msg == TaskbarCreatedMessage();
}

// The shell (re)started: its tray forgot our icon. Boxes that went with its old windows, and boxes
// that waited for a desktop, are attached once its view exists; boxes still attached stay as they are.
void OnTaskbarCreated() {
    if (g_nid.hWnd) {
        g_nid.uFlags = kTrayFlags;
        Shell_NotifyIconW(NIM_ADD, &g_nid);
    }
    WatchForDesktop();
}

void OnMainDestroy() {
    StopMoveAll();
    StopDesktopWatch();
    IniWriteHeld(); // what a batch could not write (the file was held) gets a last try
    // An icon left behind by a program that ended would stay in the tray until hovered.
    if (g_nid.hWnd) Shell_NotifyIconW(NIM_DELETE, &g_nid);
    PostQuitMessage(0);
}

// The tray icon and the program's main menu.
#pragma once
#include <string>

#include "base/win.h"

#include <shellapi.h>

constexpr UINT WM_TRAYCALLBACK = WM_USER + 1;

extern NOTIFYICONDATAW g_nid;
// A new size x size icon of the style (drawn on a 32 x 32 design); the caller owns it.
HICON MakeTrayIcon(int style, int size = 32);
void SetupTray(HWND mainWnd);
void ApplyTrayIcon();
void ShowTrayMenu();
void RunTrayCommand(int cmd, POINT pt); // one command of the tray menu (0: dismissed)
// Handlers of the main window.
void OnTrayCallback(LPARAM lParam);
bool IsTaskbarCreated(UINT msg); // the shell's "TaskbarCreated" broadcast
void OnTaskbarCreated();
void OnMainDestroy();
// Tells the user something once, as a balloon of the tray icon (nothing when there is no icon).
void ShowTrayBalloon(const std::wstring& title, const std::wstring& text);
// The tray tip shows the progress of a long move ("收纳中 1234/3000"); empty: the program's name.
void ShowTrayProgress(const std::wstring& text);

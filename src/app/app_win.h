// Program-wide state of the application shell and its entry points.
#pragma once
#include <string>

#include "base/win.h"

#include <shellapi.h>

extern const wchar_t* const WND_CLASS; // "BrindlecotClass", every box window
extern const wchar_t* const kGhostClass; // "BrindlecotGhost"
extern const wchar_t* const kMainClass;  // "BrindlecotMain"
extern const wchar_t* const kMainTitle;  // "Brindlecot"
constexpr UINT WM_TRAYCALLBACK = WM_USER + 1;
constexpr UINT WM_REFRESHBOXES = WM_APP + 1;
// Posted at the end of start-up: what the first picture does not need comes after it.
constexpr UINT WM_STARTUPDONE = WM_APP + 3;

extern HINSTANCE g_hInst;
extern HWND g_hMainWnd;
extern bool g_resizing;     // a box resize is under way
extern bool g_draggingItem; // an item drag is under way

// Full path of the running executable, whatever its length.
std::wstring GetExePath();

// Appends one line to "dbg.log" beside the executable; failures are silent.
void LogDbg(const std::wstring& message);

// Creates the hidden store and gives it exactly the hidden and system attributes.
// Does nothing when the store path is empty (no desktop folder), and nothing but a log line when
// something other than a folder bears the store's name.
void EnsureHiddenStore(const std::wstring& hidden);

// Start-up steps 1 to 17, then the main loop (waits for messages, draws what changed); returns the
// exit code (always 0).
void StartUp(HINSTANCE instance);
// After the boxes are drawn: the drop targets of the boxes and the tray icon (WM_STARTUPDONE).
void FinishStartUp();
int MainLoop();
LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Where the debug log goes when it cannot lie beside the executable (set with the per-user INI
// file); empty: beside the executable.
extern std::wstring g_logPath;

// Tray icon and the program's main menu.
extern NOTIFYICONDATAW g_nid;
HICON MakeTrayIcon(int style); // a new 32 x 32 icon of the style; the caller owns it
void SetupTray(HWND mainWnd);
void ApplyTrayIcon();
void ShowTrayMenu();
void RunTrayCommand(int cmd, POINT pt); // one command of the tray menu (0: dismissed)
// Handlers of the main window.
void OnTrayCallback(LPARAM lParam);
bool IsTaskbarCreated(UINT msg); // the shell's "TaskbarCreated" broadcast
void OnTaskbarCreated();
void OnMainDestroy();
// Start with Windows: the value "Brindlecot" under the current user's Run key.
bool IsAutoStart();
void SetAutoStart(bool on);
// Tells the user something once, as a balloon of the tray icon (nothing when there is no icon).
void ShowTrayBalloon(const std::wstring& title, const std::wstring& text);
// The tray tip shows the progress of a long move ("收纳中 1234/3000"); empty: the program's name.
void ShowTrayProgress(const std::wstring& text);

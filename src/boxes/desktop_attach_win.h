// Box windows in the desktop layer: attaching, detaching, placing; the shell's desktop windows as
// boxes see them; keeping boxes attached while the shell comes and goes.
#pragma once
#include <string>
#include <vector>

#include "base/win.h"
#include "boxes/desktop_host.h"

struct BoxWin;

// How the desktop attachment learns a process's image name; tests put in their own.
// Full image name of process pid (Win32 path form), empty when it cannot be read.
std::wstring ProcessImageName(DWORD pid);
using ProcessImageNameFn = std::wstring (*)(DWORD pid);
extern ProcessImageNameFn g_processImageName; // ProcessImageName unless a test replaces it

void AttachBoxToDesktop(HWND hwnd);
void DetachFromDesktop(HWND hwnd);
// Attaches a new box; where there is no desktop layer to attach to, shows it as a top-level popup.
void ShowBoxOnDesktop(HWND hwnd);
BOOL CALLBACK FindWorkerCb2(HWND hwnd, LPARAM out); // out: HWND*
HWND FindWorkerW2(HWND progman);
void SetBoxPos(HWND hwnd, int x, int y, int cx, int cy, UINT flags);

// The shell's desktop window: GetShellWindow when it is a "Progman", else the first "Progman" found.
HWND ShellDesktopWindow();
// The windows on the screen now, as the desktop decisions take them: every top-level window, and
// below the shell's windows their children two levels down (the view, its icon list, the boxes).
std::vector<WinInfo> TakeDesktopSnapshot();

// Where the desktop icons are now and where boxes go: the decision on a fresh snapshot.
struct DesktopWindows {
    HostKind kind = HostKind::None;
    HWND parent = nullptr;   // the parent of every box; null: top-level boxes at the bottom
    HWND progman = nullptr;  // the shell's desktop window
    HWND view = nullptr;     // "SHELLDLL_DefView", wherever the shell keeps it
    HWND iconView = nullptr; // the list of desktop icons inside the view
};
DesktopWindows FindDesktopWindows();
// The shell's private message goes once to each desktop window; after this, once more.
void ForgetAskedDesktop();
// The list control that shows the desktop icons, or null (no shell, or a shell still starting).
inline HWND DesktopIconView() { return FindDesktopWindows().iconView; }

// The search for a desktop to attach to. It looks at once (from the message loop), and while no view
// of the shell's is found again after 250 ms doubling up to 5 s, for up to 2 minutes; it ends as soon
// as every box lies in the view. No timer runs otherwise.
void WatchForDesktop();
bool DesktopWatchRunning();
void StopDesktopWatch(); // the program ends
// One look: boxes lost with a window of the shell's are made again once a view exists (or once the
// search gave up: then as top-level boxes), and every live box not in the chosen parent goes there.
void CheckDesktop();
// A box window destroyed by someone else (its parent, a window of the shell's, went): its place is
// remembered, its rendering released, its record holds no window any more; the search starts.
void OnBoxWindowLost(BoxWin* box);

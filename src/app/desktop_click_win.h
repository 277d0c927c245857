// A double click on the bare desktop hides every box, and the next one shows them again. Presses are
// seen by a low-level mouse hook on a thread of its own, which only posts them to the main window;
// the main thread decides what they mean.
#pragma once
#include "base/win.h"

// Posted to the main window for every left-button press anywhere: wParam the press's time (the
// system's millisecond clock), lParam its screen point (signed 16-bit x and y).
constexpr UINT WM_DESKTOPCLICK = WM_APP + 4;

// Starts the hook thread, telling `notify` of presses; nothing when it runs already.
bool StartDesktopClicks(HWND notify);
void StopDesktopClicks();
bool DesktopClicksRunning(); // the hook is in place
// WM_DESKTOPCLICK: with the gesture on, two presses that make a double click of the system on the bare
// desktop (not on an icon, a box or a window) show every box when none is shown, else hide them all.
void OnDesktopClick(WPARAM wParam, LPARAM lParam);
// The tray entry: turns the gesture on or off, keeps the choice, starts or stops the hook.
void SetDesktopDoubleClick(bool on);
// Every box hidden when any is shown, else every box shown.
void ToggleAllBoxes();

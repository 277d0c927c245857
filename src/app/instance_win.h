// One program per desktop (the user's session and the settings file).
#pragma once
#include "base/win.h"

constexpr UINT WM_SECONDSTART = WM_APP + 2; // the running program shows itself to a second start

// False when another program of this user and settings file runs already: it has been asked to
// show its boxes and a balloon (it answers within a few seconds, or not at all), and this start
// ends at once. True: this is the one program.
bool ClaimOnlyInstance();
// The main window's share of it: true when msg was the second start's notice (or the posted work
// that follows it), with the answer to return.
bool AnswerSecondStart(HWND mainWnd, UINT msg, WPARAM wParam, LRESULT* answer);

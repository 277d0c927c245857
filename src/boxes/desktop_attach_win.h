// Box windows in the desktop layer: attaching, detaching, placing.
#pragma once
#include <string>

#include "base/win.h"

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

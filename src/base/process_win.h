// The process's own handles and the path of its executable.
#pragma once
#include <string>

#include "base/win.h"

extern HINSTANCE g_hInst;  // the executable's instance (set at start-up)
extern HWND g_hMainWnd;    // the invisible main window: owner of dialogs, target of posted requests

// Full path of the running executable, whatever its length.
std::wstring GetExePath();

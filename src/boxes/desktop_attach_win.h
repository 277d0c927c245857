// How the desktop attachment learns a process's image name; tests put in their own.
#pragma once
#include <string>

#include "base/win.h"

// Full image name of process pid (Win32 path form), empty when it cannot be read.
std::wstring ProcessImageName(DWORD pid);
using ProcessImageNameFn = std::wstring (*)(DWORD pid);
extern ProcessImageNameFn g_processImageName; // ProcessImageName unless a test replaces it

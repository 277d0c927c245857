// Start-up sequence, the main loop and the main window.
#pragma once
#include <string>

#include "base/win.h"

extern const wchar_t* const kMainClass; // "BrindlecotMain"
extern const wchar_t* const kMainTitle; // "Brindlecot"
// Posted at the end of start-up: what the first picture does not need comes after it.
constexpr UINT WM_STARTUPDONE = WM_APP + 3;

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

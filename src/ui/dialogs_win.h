// The program's dialogs: a line of text, the transparency slider; owner-drawn buttons in the skin.
#pragma once
#include <functional>
#include <string>

#include "base/win.h"

// The dialogs are owned by the main window (by `owner` only where there is none yet) and open one at
// a time: while one is open, asking for another brings the open one forward and answers as cancelled.
// Asks for a line of text (the proposal selected); returns the text on OK, else the empty string.
std::wstring InputBox(HWND owner, const std::wstring& title, const std::wstring& initial);
// Asks for the transparency (30 to 255) with a live preview; returns the value on OK, else -1.
int SliderBox(HWND owner, const std::wstring& label, int initial);

LRESULT CALLBACK InputProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SliderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Centres a window of the given outer size on the primary screen.
void CenterDialog(HWND hwnd, int width, int height);
// An owner-drawn button in the skin's colours.
void DrawSkinButton(const DRAWITEMSTRUCT* dis);

// Seam for tests of the menus: when set, InputBox and SliderBox ask these instead of showing a
// dialog (the slider answer is taken as if the user had moved the thumb there and pressed OK or
// cancel: -1 cancels).
extern std::function<std::wstring(const std::wstring& title, const std::wstring& initial)> g_inputBoxAnswer;
extern std::function<int(const std::wstring& label, int initial)> g_sliderBoxAnswer;

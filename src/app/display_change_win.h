// Display changes: a monitor plugged in or out, a resolution or scaling changed, the work area moved,
// the machine woken from sleep. The notices come in bursts while the system settles; the boxes are
// laid out once the monitors read the same twice in a row, a moment apart.
#pragma once
#include "base/win.h"

constexpr UINT_PTR kDisplayTimerId = 0xB0D5;
constexpr UINT kDisplayLookMs = 200;   // how long the monitors must stay the same
constexpr int kDisplayMostLooks = 25;  // after this many looks the boxes follow whatever is there

// True for the messages that may mean another set of monitors (the caller still answers them).
bool IsDisplayNotice(UINT msg, WPARAM wParam);
// A notice arrived: (re)starts the wait for the monitors to settle.
void OnDisplayNotice(HWND mainWnd);
// WM_TIMER with kDisplayTimerId.
void OnDisplayTimer(HWND mainWnd);

// The mouse on box windows: resizing by the edges, moving by the title, the wheel, clicks. One
// interaction at a time for the whole program; RefreshBoxes ends whatever is under way before it
// frees boxes.
#pragma once
#include "base/win.h"

struct BoxWin;

// Resize state.
extern bool g_resizing; // a resize is under way (the main loop idles while it is set)

// The live box of a window: its record while it is in g_boxes, else null. Code that ran a nested
// message loop (a menu, a dialog, the move loop) asks again, since a rebuild may have freed the box.
BoxWin* LiveBox(HWND hwnd);
// Asks the main window to rebuild every box.
void RequestBoxRefresh();

// Message handlers of BoxProc (x, y: client point of the message).
void OnBoxMouseMove(HWND hwnd, BoxWin* box, int x, int y);
void OnBoxLButtonDown(HWND hwnd, BoxWin* box, int x, int y);
void OnBoxLButtonUp(HWND hwnd, BoxWin* box, int x, int y);
void OnBoxDoubleClick(HWND hwnd, BoxWin* box, int x, int y);
void OnBoxWheel(HWND hwnd, BoxWin* box, int delta);
void OnBoxCaptureChanged(HWND hwnd, HWND newOwner);
void OnBoxMouseLeave(HWND hwnd, BoxWin* box);
bool OnBoxSetCursor(HWND hwnd, LPARAM lParam); // true: the cursor stays as the mouse handler set it
void OnBoxRButtonUp(HWND hwnd, BoxWin* box, int x, int y);

// start: the pointer at the press, screen coordinates.
void StartResize(HWND hwnd, BoxWin* box, unsigned edges, POINT start);
// Ends a resize (keeping and saving the size reached), a pending press and an item drag (without
// a drop), destroys the ghost and lets go of the mouse. For RefreshBoxes, before boxes are freed.
void EndBoxInteractions();

// Seam for the tests: the system move loop.
using MoveLoopFn = void (*)(HWND hwnd);
extern MoveLoopFn g_runMoveLoop;

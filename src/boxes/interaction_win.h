// The mouse on box windows: resizing by the edges, moving by the title, the wheel, the item drag
// with its ghost window, file lists dropped from other programs, and the box menu. One interaction
// at a time for the whole program; RefreshBoxes ends whatever is under way before it frees boxes.
#pragma once
#include <string>
#include <vector>

#include "base/win.h"

struct BoxWin;

// Resize state (g_resizing itself is declared with the main loop, which idles while it is set).
extern BoxWin* g_resizeBox;
extern unsigned g_resizeMode; // edge set
extern POINT g_resizeStart;   // pointer at the press, screen
extern RECT g_resizeWin0;     // window at the press, screen
extern BoxWin* g_movingBox;   // the box inside the system move loop, if any

// Item drag state (g_draggingItem is declared with the main loop).
extern bool g_itemPending;
extern BoxWin* g_dragItemBox;
extern int g_dragItemIdx;
extern POINT g_itemDragStart;
extern HWND g_ghostWnd;

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
void OnBoxDropFiles(HWND hwnd, BoxWin* box, HDROP drop);
void OnBoxRButtonUp(HWND hwnd, BoxWin* box, int x, int y);

// start: the pointer at the press, screen coordinates.
void StartResize(HWND hwnd, BoxWin* box, unsigned edges, POINT start);
// Ends a resize (keeping and saving the size reached), a pending press and an item drag (without
// a drop), destroys the ghost and lets go of the mouse. For RefreshBoxes, before boxes are freed.
void EndBoxInteractions();

// Item drag (driven by the handlers above).
void BeginItemPress(HWND hwnd, BoxWin* box, int index, POINT screen);
void TestDragStart(POINT screen);
bool FollowItemDrag(POINT screen); // true when a ghost follows the pointer
void DropDraggedItem(POINT screen);
void CancelItemDrag(); // ends a press or a drag without a drop
// The paths of a dropped file list, whatever their length.
std::vector<std::wstring> DroppedPaths(HDROP drop);
// A list of files from another program for the box of `key`: each is moved into the hidden store
// and recorded for that box. The desktop folder, a folder holding it and the store (or anything in
// it) are refused; a file that could not be moved is not recorded. Returns how many were taken.
int TakeDroppedFiles(HDROP drop, const std::wstring& key);

// The box menu at a client point of the box window, and its commands.
void ShowBoxMenu(HWND hwnd, BoxWin* box, int x, int y);
void RunBoxMenuCommand(HWND hwnd, unsigned id, POINT screen);

// Seams for the tests: the popup menu's tracking and the system move loop (the rename prompt is
// answered through the dialogs' own seam).
using TrackBoxMenuFn = UINT (*)(HMENU menu, int x, int y, HWND owner);
extern TrackBoxMenuFn g_trackBoxMenu;
using MoveLoopFn = void (*)(HWND hwnd);
extern MoveLoopFn g_runMoveLoop;

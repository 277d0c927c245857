// Dragging an item from a box (with its ghost window) onto another box or onto no box, and file
// lists dropped on a box from other programs.
#pragma once
#include <string>
#include <vector>

#include "base/win.h"

#include <shellapi.h>

struct BoxWin;

// Item drag state.
extern bool g_draggingItem; // an item drag is under way (the main loop idles while it is set)
extern bool g_itemPending;
extern BoxWin* g_dragItemBox;
extern HWND g_ghostWnd;
extern bool g_itemDragOut; // the drag went to another program: the system's drag loop has the mouse

LRESULT CALLBACK GhostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Item drag (driven by the mouse handlers).
void BeginItemPress(HWND hwnd, BoxWin* box, int index, POINT screen);
void TestDragStart(POINT screen);
bool FollowItemDrag(POINT screen); // true when a ghost follows the pointer
void DropDraggedItem(POINT screen);
void CancelItemDrag(); // ends a press or a drag without a drop
// WM_DROPFILES of a box window.
void OnBoxDropFiles(HWND hwnd, BoxWin* box, HDROP drop);
// The paths of a dropped file list, whatever their length.
std::vector<std::wstring> DroppedPaths(HDROP drop);
// A list of files from another program for the box of `key`: each is moved into the hidden store
// and recorded for that box. The desktop folder, a folder holding it and the store (or anything in
// it) are refused; a file that could not be moved is not recorded. Returns how many were taken.
int TakeDroppedFiles(HDROP drop, const std::wstring& key);

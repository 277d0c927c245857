// The find window: a small window over the desktop with a field to type in and the entries of every
// box that match, best first. Up and Down choose, Enter opens (as a double click does), Ctrl+Enter
// shows the entry in its box, Esc or a click elsewhere closes. Nothing typed here changes a file.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "base/win.h"
#include "inventory/item.h"

// What the find window asks of the boxes (set by the program at start).
struct FindHost {
    std::function<size_t()> boxCount;
    std::function<const std::vector<Item>*(size_t box)> items; // null: no such box
    std::function<std::wstring(size_t box)> title;             // the box's title as it shows it
    // Outlines these items of each box (ascending; an empty list for a box: none).
    std::function<void(const std::vector<std::vector<int>>& marks)> mark;
    // Shows the item in its box: the box scrolls to it, opens if it was folded, the item flashes.
    std::function<void(size_t box, int item)> reveal;
};
extern FindHost g_findHost;

// Seam for tests: how an entry is opened (the shell's open, as a double click on it does).
extern void (*g_findOpen)(const std::wstring& path);

extern HWND g_findWnd; // the find window once made (hidden while closed)
constexpr int kFindEditId = 101;
constexpr int kFindListId = 102;

// Opens the find window with an empty field and the keyboard in it (brings it forward if open).
void ShowFindWindow();
// Closes it: the field is emptied and the boxes' outlines go.
void CloseFindWindow();
bool FindWindowOpen();
// The boxes were made again: the index is made anew from what they hold (now, when the window is
// open: the list and the outlines follow).
void FindBoxesChanged();
// The name, box title and path listed in row `row` (tests and the benchmark); false past the end.
bool FindRow(int row, std::wstring* name, std::wstring* boxTitle, std::wstring* path);

// Box windows: making, rebuilding and destroying them, their window procedure.
#pragma once
#include <string>
#include <vector>

#include "base/win.h"
#include "inventory/item.h"
#include "render/box_record_win.h"

extern bool g_intentionalHide; // true only while the program itself hides a box

// Shows or hides a box window; only this (the program's own hide) gets a box hidden.
void ShowBoxWindow(HWND hwnd, bool shown);

void CreateBox(const std::wstring& key, const std::vector<Item>& items, int index);
// Boxes made from now on are not shown (nor attached to the desktop) until ShowHeldBoxes: a first
// start places them before anyone sees them, instead of showing them jump.
void HoldNewBoxes();
void ShowHeldBoxes();
// Rebuilds every box: a box whose group survives at the same size keeps its window and surface and
// is drawn again only when what it shows changed; the rest are made anew. While the box list is held
// (below) it only notes the request, which then runs once, posted, when the last hold ends.
void RefreshBoxes();
// The same rebuild from the groups as they are (the folder watch has brought them up to date).
void RebuildBoxesFromGroups();
// The box of `key` shows these items now, at its place and size (what no longer fits scrolls); false
// when there is no such box.
bool TakeNewItems(const std::wstring& key, const std::vector<Item>& items);
// A rebuild that keeps no box, every window made anew (a restarted shell has a new desktop to attach
// them to); deferred in the same way.
void RemakeAllBoxes();
// A hold on the box list, for code that keeps box records across a call that may dispatch messages
// sent from other threads or processes (a shell call, a nested loop) or walks the list: no rebuild
// frees a record under it. Holds nest; the last one to end posts the deferred rebuild, if any.
class BoxListHold {
  public:
    BoxListHold();
    ~BoxListHold();
    BoxListHold(const BoxListHold&) = delete;
    BoxListHold& operator=(const BoxListHold&) = delete;
};
bool BoxListHeld();
// Destroys every box: rendering objects, drop target, window and record; empties g_boxes.
void DestroyAllBoxes();

// The key beside a box's stored width and height: the DPI they were measured at (absent: 96).
constexpr wchar_t kSizeDpiKey[] = L"dpi";
// Writes the box's size under its size section with the DPI it is measured at.
void SaveBoxSize(const BoxWin* box);
// The box takes the DPI of the monitor that holds most of it: when that changed, its size is scaled
// by the change (its corner stays), its text made at the new size and its picture drawn again.
void FollowBoxDpi(BoxWin* box);
// The same for every box (a display or scaling change).
void FollowAllBoxesDpi();

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Listing the desktop and the hidden store, moving and opening entries, fetching icons.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "base/win.h"
#include "inventory/inventory.h"
#include "inventory/scan.h"

std::wstring GetDesktopPath();
// Appends every entry of folder (with "." and "..") in listing order; false when it cannot be listed.
// An empty folder path lists nothing.
bool ListFolder(const std::wstring& folder, std::vector<DirEntry>& out);
void ScanDir(const std::wstring& folder, std::vector<Item>& out);
void ScanAll();

void MoveFileNotify(const std::wstring& from, const std::wstring& to);
// Moves one entry without replacing anything: a rename on one volume; across volumes (files only)
// a copy under a temporary name beside `to`, renamed into place when whole, then the source
// removed. False when the entry stays where it was.
bool MoveEntry(const std::wstring& from, const std::wstring& to);
// Called between the copy and the rename of a move across volumes; returning false ends the move
// there, as the end of the run would (tests). Null in the program.
extern bool (*g_moveAfterCopy)(const std::wstring& temp);
// At start: removes the temporary copies of moves cut short from the desktop and the hidden store,
// one log line each.
void RemoveUnfinishedMoves();
void MoveItemToGroup(const std::wstring& path, const std::wstring& key);
void SetManualGroup(const std::wstring& name, const std::wstring& key);
void CollectAll();
void RestoreAll();
void OpenItem(const std::wstring& path);
HICON GetFileIcon(const std::wstring& path);
void DestroyIconCache(); // at program end

// Item name -> icon handle (null when the shell had none); kept for the whole run.
extern std::map<std::wstring, HICON> g_iconCache;

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
void MoveItemToGroup(const std::wstring& path, const std::wstring& key);
void SetManualGroup(const std::wstring& name, const std::wstring& key);
void CollectAll();
void RestoreAll();
void OpenItem(const std::wstring& path);
HICON GetFileIcon(const std::wstring& path);
void DestroyIconCache(); // at program end

// Item name -> icon handle (null when the shell had none); kept for the whole run.
extern std::map<std::wstring, HICON> g_iconCache;

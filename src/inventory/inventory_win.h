// Listing the desktop and the hidden store, moving and opening entries, fetching icons.
#pragma once
#include <string>
#include <vector>

#include "base/win.h"
#include "inventory/inventory.h"

std::wstring GetDesktopPath();
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

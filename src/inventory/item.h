// One desktop entry and the rules that put it into a group.
#pragma once
#include <map>
#include <string>

#include "settings/lists.h"

struct Item {
    std::wstring name; // file name as listed, extension and letter case kept
    std::wstring path; // listed folder + "\" + name
    bool isDir = false;
    std::wstring ext; // lower-cased extension with its dot; empty for folders
};

// Built-in group keys in category order.
extern const wchar_t* const kGroupFolders;   // "文件夹"
extern const wchar_t* const kGroupShortcuts; // "快捷方式"
extern const wchar_t* const kGroupPictures;  // "图片"
extern const wchar_t* const kGroupDocuments; // "文档"
extern const wchar_t* const kGroupArchives;  // "压缩包"
extern const wchar_t* const kGroupOther;     // "其他"

// g_manualGroups (settings/lists.h): the group key the user chose for a name; GetGroupKey follows it.

std::wstring ToLower(std::wstring s);
std::wstring GetFileName(const std::wstring& path);
std::wstring GetExt(const std::wstring& path);
std::wstring GetGroupKey(const Item& item);
int CategoryOrder(const std::wstring& key); // 0..5 for the built-in keys, 6 for any other

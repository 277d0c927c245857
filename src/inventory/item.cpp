#include "inventory/item.h"

#include <cwctype>

const wchar_t* const kGroupFolders = L"文件夹";
const wchar_t* const kGroupShortcuts = L"快捷方式";
const wchar_t* const kGroupPictures = L"图片";
const wchar_t* const kGroupDocuments = L"文档";
const wchar_t* const kGroupArchives = L"压缩包";
const wchar_t* const kGroupOther = L"其他";

namespace {

struct TypeRule {
    const wchar_t* const* key;
    const wchar_t* exts[10]; // tested in this order, ended by nullptr
};

// Tested top to bottom; the first extension that matches decides.
const TypeRule kTypeRules[] = {
    {&kGroupShortcuts, {L".lnk", L".url", L".exe", nullptr}},
    {&kGroupPictures, {L".png", L".jpg", L".jpeg", L".gif", L".bmp", L".webp", L".ico", nullptr}},
    {&kGroupDocuments,
     {L".doc", L".docx", L".xls", L".xlsx", L".ppt", L".pptx", L".pdf", L".txt", L".md", nullptr}},
    {&kGroupArchives, {L".zip", L".rar", L".7z", L".tar", L".gz", nullptr}},
};

size_t LastSeparator(const std::wstring& path) {
    return path.find_last_of(L"\\/");
}

} // namespace

std::wstring ToLower(std::wstring s) {
    for (auto& c : s)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return s;
}

std::wstring GetFileName(const std::wstring& path) {
    const size_t s = LastSeparator(path);
    return s == std::wstring::npos ? path : path.substr(s + 1);
}

std::wstring GetExt(const std::wstring& path) {
    const size_t d = path.rfind(L'.');
    if (d == std::wstring::npos) return std::wstring();
    const size_t s = LastSeparator(path);
    if (s != std::wstring::npos && d < s) return std::wstring();
    return ToLower(path.substr(d));
}

std::wstring GetGroupKey(const Item& item) {
    const auto manual = g_manualGroups.find(item.name);
    if (manual != g_manualGroups.end()) return manual->second;
    if (item.isDir) return kGroupFolders;
    for (const auto& rule : kTypeRules) {
        for (const wchar_t* const* e = rule.exts; *e; ++e) {
            if (item.ext == *e) return *rule.key;
        }
    }
    return kGroupOther;
}

int CategoryOrder(const std::wstring& key) {
    const wchar_t* const order[] = {kGroupFolders,   kGroupShortcuts, kGroupPictures,
                                    kGroupDocuments, kGroupArchives,  kGroupOther};
    for (int i = 0; i < 6; ++i) {
        if (key == order[i]) return i;
    }
    return 6;
}

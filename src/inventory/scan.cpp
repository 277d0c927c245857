#include "inventory/scan.h"

#include <algorithm>

#include "base/strutil.h"

namespace {

// Simple upper-case folding of one UTF-16 code unit: ASCII, Latin-1, Greek, Cyrillic and the
// full-width Latin letters, the letters that names on a desktop are made of in practice.
wchar_t FoldCase(wchar_t c) {
    const unsigned u = static_cast<unsigned>(c);
    if (u >= 'a' && u <= 'z') return static_cast<wchar_t>(u - 0x20);
    if (u < 0x80) return c;
    if ((u >= 0xE0 && u <= 0xFE && u != 0xF7) || (u >= 0x3B1 && u <= 0x3C9 && u != 0x3C2) ||
        (u >= 0x430 && u <= 0x44F) || (u >= 0xFF41 && u <= 0xFF5A))
        return static_cast<wchar_t>(u - 0x20);
    if (u >= 0x450 && u <= 0x45F) return static_cast<wchar_t>(u - 0x50);
    return c;
}

wchar_t FoldPathChar(wchar_t c) {
    return c == L'/' ? L'\\' : FoldCase(c);
}

template <class Fold> bool EqualFolded(const std::wstring& a, const std::wstring& b, Fold fold) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

} // namespace

bool SamePathIgnoreCase(const std::wstring& a, const std::wstring& b) { return EqualFolded(a, b, FoldPathChar); }

namespace {

std::wstring TrimTrailingSeparators(std::wstring s) {
    while (s.size() > 1 && (s.back() == L'\\' || s.back() == L'/'))
        s.pop_back();
    return s;
}

} // namespace

bool SameNameIgnoreCase(const std::wstring& a, const std::wstring& b) { return EqualFolded(a, b, FoldCase); }

std::wstring FoldName(std::wstring name) {
    for (wchar_t& c : name) c = FoldCase(c);
    return name;
}

namespace {
const std::wstring kTempPrefix = L"~brindlecot-move-";
const std::wstring kTempSuffix = L".tmp";
constexpr size_t kTempDigits = 8;
} // namespace

std::wstring MoveTempName(unsigned long id) {
    static const wchar_t kHex[] = L"0123456789abcdef";
    std::wstring digits(kTempDigits, L'0');
    for (size_t i = kTempDigits; i-- > 0; id >>= 4)
        digits[i] = kHex[id & 0xF];
    return kTempPrefix + digits + kTempSuffix;
}

bool IsMoveTempName(const std::wstring& name) {
    if (name.size() != kTempPrefix.size() + kTempDigits + kTempSuffix.size()) return false;
    if (!SameNameIgnoreCase(name.substr(0, kTempPrefix.size()), kTempPrefix)) return false;
    if (!SameNameIgnoreCase(name.substr(name.size() - kTempSuffix.size()), kTempSuffix)) return false;
    for (size_t i = kTempPrefix.size(); i < kTempPrefix.size() + kTempDigits; ++i) {
        const wchar_t c = name[i];
        if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'))) return false;
    }
    return true;
}

bool SkipInScan(const std::wstring& name) {
    return name == L"." || name == L".." || SameNameIgnoreCase(name, L"desktop.ini");
}

void AppendListedItems(const std::wstring& folder, const std::vector<DirEntry>& listing,
                       std::vector<Item>& out) {
    if (folder.empty()) return;
    for (const auto& e : listing) {
        if (SkipInScan(e.name)) continue;
        Item item;
        item.name = e.name;
        item.path = folder + L"\\" + e.name;
        item.isDir = e.isDir;
        if (!e.isDir) item.ext = GetExt(e.name);
        out.push_back(std::move(item));
    }
}

bool IsHiddenStoreName(const std::wstring& name) {
    return SameNameIgnoreCase(name, L".hidden");
}

bool LiesInHiddenStore(const std::wstring& path, const std::wstring& hidden) {
    if (hidden.empty()) return false;
    const size_t sep = path.find_last_of(L"\\/");
    if (sep == std::wstring::npos || sep + 1 == path.size()) return false;
    return SamePathIgnoreCase(path.substr(0, sep), TrimTrailingSeparators(hidden));
}

ScanResult DecideScan(const ScanInput& in) {
    static const std::set<std::wstring> none;
    const auto& freed = in.freedItems ? *in.freedItems : none;
    const auto& hiddenBoxes = in.hiddenBoxes ? *in.hiddenBoxes : none;
    const auto& customBoxes = in.customBoxes ? *in.customBoxes : none;

    ScanResult r;
    AppendListedItems(in.desktop, in.desktopListing, r.items);
    // The store itself shows up in the desktop listing; it is not an item.
    r.items.erase(std::remove_if(r.items.begin(), r.items.end(),
                                 [](const Item& i) { return IsHiddenStoreName(i.name); }),
                  r.items.end());
    AppendListedItems(in.hidden, in.hiddenListing, r.items);

    for (const auto& item : r.items) {
        // A freed name keeps a desktop entry out of every box; an entry of the store is never on the
        // desktop, so no freed namesake may keep it from showing.
        if (freed.count(item.name) && !LiesInHiddenStore(item.path, in.hidden)) continue;
        const std::wstring key = GetGroupKey(item);
        auto g =
            std::find_if(r.groups.begin(), r.groups.end(), [&](const Group& x) { return x.first == key; });
        if (g == r.groups.end()) {
            r.groups.emplace_back(key, std::vector<Item>());
            g = r.groups.end() - 1;
        }
        g->second.push_back(item);
    }
    std::stable_sort(r.groups.begin(), r.groups.end(), [](const Group& a, const Group& b) {
        return CategoryOrder(a.first) < CategoryOrder(b.first);
    });

    for (const auto& g : r.groups)
        r.log.push_back(L"SCAN group=[" + g.first + L"]");
    for (const auto& h : hiddenBoxes)
        r.log.push_back(L"SCAN hidden=[" + h + L"]");
    r.groups.erase(std::remove_if(r.groups.begin(), r.groups.end(),
                                  [&](const Group& g) { return hiddenBoxes.count(g.first) != 0; }),
                   r.groups.end());
    r.log.push_back(L"SCAN after filter: groups=" + IntToW(static_cast<int>(r.groups.size())));

    // A user-made box whose name differs from a group's key only in letter case is that group: the
    // INI file cannot tell their position, size, name and hidden state apart.
    for (const auto& name : customBoxes) {
        if (hiddenBoxes.count(name)) continue;
        const bool exists = std::any_of(r.groups.begin(), r.groups.end(),
                                        [&](const Group& g) { return SameNameIgnoreCase(g.first, name); });
        if (!exists) r.groups.emplace_back(name, std::vector<Item>());
    }
    return r;
}

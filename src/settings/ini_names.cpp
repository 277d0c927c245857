#include "settings/ini_names.h"

namespace {

const wchar_t kMark[] = L"~%";

// White space that the profile parser trims around keys, values and section names.
bool IsTrimmedSpace(wchar_t c) {
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

bool StartsWithMark(const std::wstring& s) {
    return s.compare(0, 2, kMark) == 0;
}

bool HasLineBreak(const std::wstring& s) {
    return s.find_first_of(L"\r\n") != std::wstring::npos;
}

// Shared by keys, sections and values: what every place of a name in the file refuses.
bool CommonNeedsEscape(const std::wstring& s) {
    return StartsWithMark(s) || HasLineBreak(s) ||
           (!s.empty() && (IsTrimmedSpace(s.front()) || IsTrimmedSpace(s.back())));
}

bool KeyNeedsEscape(const std::wstring& s) {
    return s.empty() || s.front() == L'[' || s.front() == L';' || s.find(L'=') != std::wstring::npos ||
           CommonNeedsEscape(s);
}

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// The profile functions fold ASCII letter case in section names, so "Settings" is "settings".
bool SameSectionName(const std::wstring& a, const wchar_t* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return i == a.size() && !b[i];
}

// A box whose key is the name of a fixed section would write its position into that section.
bool IsFixedSectionName(const std::wstring& s) {
    static const wchar_t* const fixed[] = {L"settings", L"manualGroups", L"freedItems",
                                           L"boxNames", L"hiddenBoxes",  L"customBoxes"};
    for (const wchar_t* name : fixed)
        if (SameSectionName(s, name)) return true;
    return false;
}

bool SectionNeedsEscape(const std::wstring& s) {
    return s.empty() || IsFixedSectionName(s) || CommonNeedsEscape(s);
}

void AppendEscape(std::wstring& out, wchar_t c) {
    static const wchar_t hex[] = L"0123456789ABCDEF";
    const unsigned v = static_cast<unsigned>(c) & 0xFFFFu;
    out += L'%';
    for (int shift = 12; shift >= 0; shift -= 4)
        out += hex[(v >> shift) & 0xFu];
}

// "~%" + the name with "%", "=", control characters and a trailing blank written as "%XXXX".
// After the mark nothing can start a section or a comment, and nothing at the end is trimmed.
std::wstring Escape(const std::wstring& name) {
    std::wstring out = kMark;
    for (size_t i = 0; i < name.size(); ++i) {
        const wchar_t c = name[i];
        const bool last = i + 1 == name.size();
        if (c == L'%' || c == L'=' || static_cast<unsigned>(c) < 0x20u || (last && IsTrimmedSpace(c))) {
            AppendEscape(out, c);
        } else {
            out += c;
        }
    }
    return out;
}

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

std::wstring Unescape(const std::wstring& stored) {
    if (!StartsWithMark(stored)) return stored;
    std::wstring out;
    for (size_t i = 2; i < stored.size(); ++i) {
        if (stored[i] != L'%') {
            out += stored[i];
            continue;
        }
        if (i + 4 >= stored.size()) return stored; // cut short: not ours, keep the text as it is
        unsigned v = 0;
        for (size_t k = 1; k <= 4; ++k) {
            const int h = HexValue(stored[i + k]);
            if (h < 0) return stored;
            v = v * 16 + static_cast<unsigned>(h);
        }
        out += static_cast<wchar_t>(v);
        i += 4;
    }
    return out;
}

} // namespace

std::wstring IniKeyFor(const std::wstring& name) {
    return KeyNeedsEscape(name) ? Escape(name) : name;
}
std::wstring NameFromIniKey(const std::wstring& key) {
    return Unescape(key);
}

std::wstring IniSectionFor(const std::wstring& key) {
    return SectionNeedsEscape(key) ? Escape(key) : key;
}
std::wstring SizeSectionFor(const std::wstring& key) {
    return IniSectionFor(key + L"_size");
}
std::wstring NameFromIniSection(const std::wstring& section) {
    return Unescape(section);
}

std::wstring IniValueFor(const std::wstring& value) {
    return CommonNeedsEscape(value) ? Escape(value) : value;
}
std::wstring ValueFromIni(const std::wstring& stored) {
    return Unescape(stored);
}

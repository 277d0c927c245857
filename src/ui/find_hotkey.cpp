#include "ui/find_hotkey.h"

#include "ui/find_match.h"

const wchar_t* const kDefaultFindHotKey = L"Win+Alt+F";

namespace {

struct Modifier {
    const wchar_t* name;
    unsigned bit;
};
// In the order a name shows them.
constexpr Modifier kModifiers[] = {{L"win", 8}, {L"ctrl", 2}, {L"alt", 1}, {L"shift", 4}};
const wchar_t* const kShown[] = {L"Win", L"Ctrl", L"Alt", L"Shift"};

std::wstring Part(const std::wstring& text, size_t from, size_t to) {
    const size_t a = text.find_first_not_of(L' ', from);
    if (a == std::wstring::npos || a >= to) return {};
    const size_t b = text.find_last_not_of(L' ', to - 1);
    return FoldCase(text.substr(a, b - a + 1));
}

unsigned KeyCode(const std::wstring& k) {
    if (k.size() == 1 && ((k[0] >= L'a' && k[0] <= L'z') || (k[0] >= L'0' && k[0] <= L'9')))
        return static_cast<unsigned>(k[0] >= L'a' ? k[0] - L'a' + L'A' : k[0]);
    if (k == L"space") return 0x20;
    if (k.size() >= 2 && k.size() <= 3 && k[0] == L'f') {
        unsigned n = 0;
        for (size_t i = 1; i < k.size(); ++i) {
            if (k[i] < L'0' || k[i] > L'9') return 0;
            n = n * 10 + static_cast<unsigned>(k[i] - L'0');
        }
        if (n >= 1 && n <= 24) return 0x70 + n - 1;
    }
    return 0;
}

} // namespace

HotKeyText ParseHotKey(const std::wstring& text, HotKey& out) {
    out = HotKey{};
    const std::wstring whole = Part(text, 0, text.size());
    if (whole.empty() || whole == L"off" || whole == L"none") return HotKeyText::Off;
    HotKey key;
    size_t from = 0;
    for (;;) {
        const size_t plus = text.find(L'+', from);
        const std::wstring part = Part(text, from, plus == std::wstring::npos ? text.size() : plus);
        if (plus == std::wstring::npos) {
            key.key = KeyCode(part);
            break;
        }
        unsigned bit = 0;
        for (const Modifier& m : kModifiers)
            if (part == m.name || (part == L"control" && m.bit == 2)) bit = m.bit;
        if (!bit || (key.modifiers & bit)) return HotKeyText::Invalid;
        key.modifiers |= bit;
        from = plus + 1;
    }
    const bool functionKey = key.key >= 0x70 && key.key <= 0x87;
    if (!key.key || (!key.modifiers && !functionKey)) return HotKeyText::Invalid;
    out = key;
    return HotKeyText::Key;
}

std::wstring HotKeyName(const HotKey& key) {
    std::wstring out;
    for (size_t i = 0; i < 4; ++i)
        if (key.modifiers & kModifiers[i].bit) out += std::wstring(kShown[i]) + L"+";
    if (key.key == 0x20) return out + L"Space";
    if (key.key >= 0x70 && key.key <= 0x87) return out + L"F" + std::to_wstring(key.key - 0x70 + 1);
    return out + static_cast<wchar_t>(key.key);
}

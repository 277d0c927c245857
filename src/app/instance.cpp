#include "app/instance.h"

namespace {

wchar_t Fold(wchar_t c) {
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - L'a' + L'A');
    return c == L'/' ? L'\\' : c;
}

void Mix(uint64_t& h, const std::wstring& s) {
    for (wchar_t c : s) {
        h ^= static_cast<uint16_t>(Fold(c));
        h *= 1099511628211ULL; // FNV-1a, 64 bits
    }
}

} // namespace

uint64_t InstanceKey(const std::wstring& user, const std::wstring& iniPath) {
    uint64_t h = 14695981039346656037ULL;
    Mix(h, user);
    Mix(h, L"|");
    Mix(h, iniPath);
    return h;
}

std::wstring InstanceMutexName(uint64_t key) {
    static const wchar_t hex[] = L"0123456789abcdef";
    std::wstring name = L"Local\\Brindlecot-";
    for (int shift = 60; shift >= 0; shift -= 4)
        name += hex[(key >> shift) & 0xF];
    return name;
}

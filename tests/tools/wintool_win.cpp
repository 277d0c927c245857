// Test helper run under Wine by the end-to-end tests: looks at windows and files from inside.
//   wintool windows <class>           one line per window of that class, in z-order:
//                                     hwnd visible x y w h parent-class title (title in UTF-8)
//   wintool post <class> <msg> [w] [l] posts a message to the first top-level window of that class
//   wintool attrib <path>             prints the file attributes in decimal (exit 1 if missing)
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Found {
    const wchar_t* cls;
};

void PrintWindow(HWND w) {
    RECT r = {};
    GetWindowRect(w, &r);
    wchar_t parentCls[64] = L"-";
    if (HWND p = GetParent(w)) GetClassNameW(p, parentCls, 64);
    wchar_t title[256] = {};
    GetWindowTextW(w, title, 256);
    char utf8[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::printf("%llx %d %ld %ld %ld %ld %ls %s\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(w)),
                IsWindowVisible(w) ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top, parentCls, utf8);
    std::fflush(stdout);
}

BOOL CALLBACK EachChild(HWND w, LPARAM lp) {
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    if (wcscmp(cls, reinterpret_cast<Found*>(lp)->cls) == 0) PrintWindow(w);
    return TRUE;
}

BOOL CALLBACK EachTop(HWND w, LPARAM lp) {
    EachChild(w, lp);
    EnumChildWindows(w, EachChild, lp);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::wstring cmd = argv[1];
    if (cmd == L"windows") {
        Found f{argv[2]};
        EnumWindows(EachTop, reinterpret_cast<LPARAM>(&f));
        return 0;
    }
    if (cmd == L"post" && argc >= 4) {
        HWND w = FindWindowW(argv[2], nullptr);
        if (!w) return 1;
        const UINT msg = static_cast<UINT>(wcstoul(argv[3], nullptr, 0));
        const WPARAM wp = argc > 4 ? static_cast<WPARAM>(wcstoull(argv[4], nullptr, 0)) : 0;
        const LPARAM lp = argc > 5 ? static_cast<LPARAM>(wcstoll(argv[5], nullptr, 0)) : 0;
        return PostMessageW(w, msg, wp, lp) ? 0 : 1;
    }
    if (cmd == L"attrib") {
        const DWORD a = GetFileAttributesW(argv[2]);
        if (a == INVALID_FILE_ATTRIBUTES) return 1;
        std::printf("%lu\n", a);
        return 0;
    }
    return 2;
}

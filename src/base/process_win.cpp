// The process's own handles and the path of its executable.
#include "base/process_win.h"

HINSTANCE g_hInst = nullptr;
HWND g_hMainWnd = nullptr;

std::wstring GetExePath() {
    // The platform cuts a path that does not fit and says so only by filling the buffer: grow it
    // until the path ends before the buffer does (a program folder may be longer than 259).
    std::wstring buf(260, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, &buf[0], static_cast<DWORD>(buf.size()));
        if (n == 0) return std::wstring();
        if (n < buf.size()) return buf.substr(0, n);
        if (buf.size() >= 32768) return std::wstring(); // beyond any path the system knows
        buf.resize(buf.size() * 2);
    }
}

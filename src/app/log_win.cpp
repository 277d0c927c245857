// The debug log: one UTF-8 line per call, appended to "dbg.log" beside the executable (or beside
// the per-user INI file where the executable's folder cannot be written).
#include <string>

#include "app/app_win.h"
#include "base/strutil.h"

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

std::wstring g_logPath;

void LogDbg(const std::wstring& message) {
    const std::wstring path = g_logPath.empty() ? PathBesideExe(GetExePath(), L"dbg.log") : g_logPath;
    // Opened and closed on every call: each line is on disk when we return, and the file may be
    // deleted or moved away while we run (the next line starts a new file).
    HANDLE f = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    std::string bytes;
    LARGE_INTEGER size = {};
    // A new file starts with the UTF-8 byte-order mark, as a text stream opened with ccs=UTF-8 writes it.
    if (GetFileSizeEx(f, &size) && size.QuadPart == 0) bytes = "\xEF\xBB\xBF";
    bytes += WideToUtf8(message);
    bytes += "\r\n";
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

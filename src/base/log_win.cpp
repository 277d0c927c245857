// The debug log: one UTF-8 line per call, appended to "dbg.log" beside the executable (or beside
// the per-user INI file where the executable's folder cannot be written).
#include "base/log_win.h"

#include <cstdio>

#include "base/process_win.h"
#include "base/strutil.h"

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

void LogHr(const std::wstring& what, HRESULT hr) {
    wchar_t code[16];
    std::swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    LogDbg(what + L" failed hr=" + code);
}

void LogLastError(const std::wstring& what) {
    const DWORD error = GetLastError();
    LogDbg(what + L" failed error=" + std::to_wstring(error));
}

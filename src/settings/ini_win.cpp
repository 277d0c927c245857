#include "settings/ini_win.h"

#include <vector>

#include "app/app_win.h"
#include "base/strutil.h"
#include "base/win.h"
#include "settings/settings.h"

void IniEnsureFile() {
    if (g_iniPath.empty()) return;
    // A missing file is made, and an empty one (emptied by hand, or left by a failed first write)
    // is filled, with the byte-order mark alone; a file with any content is used as it is.
    HANDLE f = CreateFileW(g_iniPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return; // cannot be made or written: the write fails as before
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(f, &size) && size.QuadPart == 0) {
        static const unsigned char bom[2] = {0xFF, 0xFE};
        DWORD written = 0;
        WriteFile(f, bom, sizeof bom, &written, nullptr);
    }
    CloseHandle(f);
}

int IniGetInt(const wchar_t* section, const wchar_t* key, int def) {
    if (g_iniPath.empty()) return def;
    return static_cast<int>(GetPrivateProfileIntW(section, key, def, g_iniPath.c_str()));
}

std::wstring IniGetString(const wchar_t* section, const wchar_t* key, const wchar_t* def, int bufChars) {
    if (g_iniPath.empty()) return def ? def : L"";
    std::vector<wchar_t> buf(static_cast<size_t>(bufChars) + 1, L'\0');
    GetPrivateProfileStringW(section, key, def, buf.data(), static_cast<DWORD>(bufChars), g_iniPath.c_str());
    return buf.data();
}

std::wstring IniGetSection(const wchar_t* section) {
    if (g_iniPath.empty()) return std::wstring();
    // The platform cuts a section that does not fit and then returns size - 2; grow until it fits.
    for (DWORD size = 8192;; size *= 2) {
        std::vector<wchar_t> buf(size, L'\0');
        const DWORD n = GetPrivateProfileSectionW(section, buf.data(), size, g_iniPath.c_str());
        if (n < size - 2 || size >= (1u << 28)) {
            std::wstring block(buf.data(), n);
            while (!block.empty() && block.back() == L'\0') block.pop_back();
            return block;
        }
    }
}

namespace {

bool g_iniWriteFailed = false; // a write has failed in this run and the user has been told
int g_flushHolds = 0;
bool g_flushOwed = false;

// A write that failed loses a choice at the next start: the first failure of a run goes to the log
// with the path and the error, and once to the user.
void NoteWrite(BOOL ok) {
    if (ok) return;
    const DWORD err = GetLastError();
    if (g_iniWriteFailed) return;
    g_iniWriteFailed = true;
    LogDbg(L"INI write failed, ini=" + g_iniPath + L" error=" + IntToW(static_cast<int>(err)));
    ShowTrayBalloon(L"设置无法保存", L"无法写入 " + g_iniPath + L"（错误 " + IntToW(static_cast<int>(err)) +
                                         L"），所做的更改在下次启动时不会保留。");
}

} // namespace

void IniForgetWriteFailure() {
    g_iniWriteFailed = false;
}

void IniWrite(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
    if (g_iniPath.empty()) return;
    IniEnsureFile();
    NoteWrite(WritePrivateProfileStringW(section, key, value.c_str(), g_iniPath.c_str()));
}

namespace {
// Nothing to delete in a file that does not exist; a delete never brings the file into being.
bool IniFileExists() { return GetFileAttributesW(g_iniPath.c_str()) != INVALID_FILE_ATTRIBUTES; }
} // namespace

void IniDeleteKey(const wchar_t* section, const wchar_t* key) {
    if (g_iniPath.empty() || !IniFileExists()) return;
    // A key that is not there needs no write (which rewrites the whole file); reading is cheap.
    static const wchar_t kAbsent[] = L"\x1\x2";
    if (section && key && IniGetString(section, key, kAbsent, 4) == kAbsent) return;
    NoteWrite(WritePrivateProfileStringW(section, key, nullptr, g_iniPath.c_str()));
}

void IniDeleteSection(const wchar_t* section) {
    if (g_iniPath.empty() || !IniFileExists()) return;
    NoteWrite(WritePrivateProfileStringW(section, nullptr, nullptr, g_iniPath.c_str()));
}

// The flush's result says nothing about the file (Wine always reports failure for it); the writes
// before it are checked one by one.
void IniFlush() {
    if (g_iniPath.empty()) return;
    if (g_flushHolds > 0) {
        g_flushOwed = true;
        return;
    }
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, g_iniPath.c_str());
}

void IniHoldFlushes() { ++g_flushHolds; }

void IniReleaseFlushes() {
    if (g_flushHolds == 0 || --g_flushHolds > 0 || !g_flushOwed) return;
    g_flushOwed = false;
    IniFlush();
}

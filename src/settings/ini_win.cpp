#include "settings/ini_win.h"

#include <cwchar>
#include <optional>
#include <vector>

#include "base/log_win.h"
#include "base/strutil.h"
#include "base/win.h"
#include "settings/ini_batch.h"
#include "settings/ini_encoding.h"
#include "settings/settings.h"

void IniEnsureFile() {
    if (g_iniPath.empty()) return;
    // A missing file is made, and an empty one (emptied by hand, or left by a failed first write)
    // is filled, with the byte-order mark alone. A file that another program saved in another form
    // since (UTF-8, ANSI, UTF-16 big-endian) is converted again before anything is written into it.
    HANDLE f = CreateFileW(g_iniPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return; // cannot be made or written: the write fails as before
    LARGE_INTEGER size = {};
    unsigned char mark[2] = {};
    DWORD got = 0;
    bool marked = true;
    if (GetFileSizeEx(f, &size) && size.QuadPart == 0) {
        static const unsigned char bom[2] = {0xFF, 0xFE};
        WriteFile(f, bom, sizeof bom, &got, nullptr);
    } else if (ReadFile(f, mark, sizeof mark, &got, nullptr)) {
        marked = got == 2 && mark[0] == 0xFF && mark[1] == 0xFE;
    }
    CloseHandle(f);
    if (!marked) IniConvertToUtf16(g_iniPath);
}

namespace {

constexpr LONGLONG kMaxIniBytes = 64ll << 20; // larger is no settings file: left as it is

bool ReadWhole(const std::wstring& path, std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size = {};
    DWORD got = 0;
    bool ok = GetFileSizeEx(f, &size) && size.QuadPart <= kMaxIniBytes;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        ok = bytes.empty() || (ReadFile(f, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                               got == bytes.size());
    }
    CloseHandle(f);
    return ok;
}

// The bytes, whole, under the first free name of "<stem>", "<stem>2", "<stem>3", ...: a file of that
// name (the user's own backup, the original of an earlier conversion) is never replaced. The name
// written, or empty when none can be.
std::wstring WriteUnderFreeName(const std::wstring& stem, const std::string& bytes) {
    for (int n = 1; n < 1000; ++n) {
        const std::wstring name = stem + (n > 1 ? IntToW(n) : std::wstring());
        HANDLE f = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f == INVALID_HANDLE_VALUE) {
            const DWORD err = GetLastError();
            if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS) continue;
            return std::wstring();
        }
        DWORD written = 0;
        const bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                        written == bytes.size() && FlushFileBuffers(f);
        CloseHandle(f);
        if (ok) return name;
        DeleteFileW(name.c_str()); // a cut-short file of ours
        return std::wstring();
    }
    return std::wstring();
}

std::u16string AnsiToUtf16(const std::string& bytes) {
    if (bytes.empty()) return std::u16string();
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &wide[0], n);
    return std::u16string(wide.begin(), wide.end());
}

} // namespace

void IniConvertToUtf16(const std::wstring& path) {
    std::string bytes;
    if (path.empty() || !ReadWhole(path, bytes)) return;
    const IniEncoding encoding = DetectIniEncoding(bytes);
    const std::string converted = IniAsUtf16(bytes, encoding, AnsiToUtf16);
    if (converted.empty()) return; // empty, or already UTF-16LE with its mark
    // The original first, whole, then the new form under a name of its own, renamed over the file:
    // a start cut short anywhere leaves the file old or new, never half of one.
    std::wstring bak, fresh;
    if ((bak = WriteUnderFreeName(path + L".bak", bytes)).empty() ||
        (fresh = WriteUnderFreeName(path + L".new", converted)).empty() ||
        !MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD err = GetLastError();
        if (!fresh.empty()) DeleteFileW(fresh.c_str());
        if (!bak.empty()) DeleteFileW(bak.c_str()); // the original is still in its place
        LogDbg(L"INI left in " + std::wstring(IniEncodingName(encoding)) + L", it cannot be converted, ini=" + path +
               L" error=" + IntToW(static_cast<int>(err)));
        return;
    }
    LogDbg(L"INI converted from " + std::wstring(IniEncodingName(encoding)) + L" to UTF-16LE, the original kept in " +
           bak);
}

namespace {

// The file that existed at start but could not be read (another program held it), or empty.
std::wstring g_unreadPath;

// Edits held while flushes are held (a batch), or left over from a batch whose writing failed.
IniPendingEdits g_pending;
std::wstring g_pendingPath; // the file the held edits belong to
int g_flushHolds = 0;
bool WriteHeld();

// The section as the file holds it.
std::wstring ReadSection(const wchar_t* section) {
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

// Held edits belong to the file they were made for: when the path has changed meanwhile, they are
// written there (or, when that fails, dropped with a log line) before anything else happens.
void SettlePath() {
    if (g_pending.Empty() || g_pendingPath == g_iniPath) {
        g_pendingPath = g_iniPath;
        return;
    }
    std::swap(g_pendingPath, g_iniPath);
    const bool written = WriteHeld();
    std::swap(g_pendingPath, g_iniPath);
    if (!written) LogDbg(L"INI edits held for " + g_pendingPath + L" cannot be written there and are dropped");
    g_pending = IniPendingEdits();
    g_pendingPath = g_iniPath;
}

std::optional<std::optional<std::wstring>> HeldValue(const wchar_t* section, const wchar_t* key) {
    SettlePath();
    if (g_pending.Empty() || !section || !key) return std::nullopt;
    return g_pending.Lookup(section, key);
}

} // namespace

int IniGetInt(const wchar_t* section, const wchar_t* key, int def) {
    if (g_iniPath.empty()) return def;
    if (const auto held = HeldValue(section, key)) {
        if (!*held || (*held)->empty()) return def;
        return static_cast<int>(std::wcstol((*held)->c_str(), nullptr, 10));
    }
    return static_cast<int>(GetPrivateProfileIntW(section, key, def, g_iniPath.c_str()));
}

std::wstring IniGetString(const wchar_t* section, const wchar_t* key, const wchar_t* def, int bufChars) {
    if (g_iniPath.empty()) return def ? def : L"";
    if (const auto held = HeldValue(section, key)) {
        const std::wstring value = *held ? **held : std::wstring(def ? def : L"");
        return value.substr(0, bufChars > 0 ? static_cast<size_t>(bufChars - 1) : 0);
    }
    std::vector<wchar_t> buf(static_cast<size_t>(bufChars) + 1, L'\0');
    GetPrivateProfileStringW(section, key, def, buf.data(), static_cast<DWORD>(bufChars), g_iniPath.c_str());
    return buf.data();
}

std::wstring IniGetSection(const wchar_t* section) {
    if (g_iniPath.empty()) return std::wstring();
    SettlePath();
    if (section && g_pending.Touches(section)) return g_pending.Apply(section, ReadSection(section), nullptr);
    return ReadSection(section);
}

namespace {

bool g_iniWriteFailed = false; // a write has failed in this run and the user has been told
bool g_flushOwed = false;

// A write that failed loses a choice at the next start: the first failure of a run goes to the log
// with the path and the error, and once to the user.
IniWriteFailureFn g_tellWriteFailure = nullptr;

void NoteWrite(BOOL ok) {
    if (ok) return;
    const DWORD err = GetLastError();
    if (!g_iniWriteFailed) IniReportCannotSave(L"INI write failed, ini=" + g_iniPath, err);
}

} // namespace

void IniReportCannotSave(const std::wstring& line, unsigned long error) {
    const std::wstring code = IntToW(static_cast<int>(error));
    LogDbg(line + L" error=" + code);
    if (g_iniWriteFailed) return;
    g_iniWriteFailed = true;
    if (g_tellWriteFailure)
        g_tellWriteFailure(L"设置无法保存",
                           L"无法写入 " + g_iniPath + L"（错误 " + code + L"），所做的更改在下次启动时不会保留。");
}

void SetIniWriteFailureHandler(IniWriteFailureFn tell) { g_tellWriteFailure = tell; }

void IniForgetWriteFailure() {
    g_iniWriteFailed = false;
}

namespace {

// Nothing to delete in a file that does not exist; a delete never brings the file into being.
bool IniFileExists() { return GetFileAttributesW(g_iniPath.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Writes the held edits, one rewrite of the file per section that changed. A section that cannot be
// written (the file is held by another program) keeps its edits, and so do the sections after it:
// they are tried again at the next write or flush outside a batch, at the end of the next batch and
// at exit, and reads see them meanwhile.
bool WriteHeld() {
    if (g_pending.Empty()) return true;
    if (IniUnread()) return false; // merged into what the file holds once it has been read
    const bool exists = IniFileExists();
    if (exists) {
        // A section is read before it is written, and a read of a file held by another program reads
        // nothing: edits merged into that would lose the section's other keys. Held: all waits.
        HANDLE f = CreateFileW(g_iniPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) {
            NoteWrite(FALSE);
            return false;
        }
        CloseHandle(f);
        // Sections are read below: a file another program saved in another form since is converted
        // first, or every Chinese name would be read, and then written, as "??".
        IniEnsureFile();
    }
    bool ensured = exists;
    for (const IniPendingEdits::SectionWork& work : g_pending.Work()) {
        const wchar_t* section = work.name.c_str();
        bool changed = false;
        const std::wstring was = work.wipe ? std::wstring() : ReadSection(section);
        const std::wstring lines = g_pending.Apply(work.name, was, &changed);
        if (work.wipe && !work.remade && !exists) changed = false; // nothing to delete
        if (changed && !ensured) IniEnsureFile(), ensured = true; // once for the whole batch
        BOOL ok = TRUE;
        if (changed && work.wipe) ok = WritePrivateProfileStringW(section, nullptr, nullptr, g_iniPath.c_str());
        if (changed && !work.wipe && lines.empty()) {
            // An empty list leaves a section's keys as they are: each goes by itself, the name stays.
            for (size_t at = 0; ok && at < was.size(); at = was.find(L'\0', at) + 1) {
                const std::wstring line = was.substr(at, was.find(L'\0', at) - at);
                ok = WritePrivateProfileStringW(section, line.substr(0, line.find(L'=')).c_str(), nullptr,
                                                g_iniPath.c_str());
                if (was.find(L'\0', at) == std::wstring::npos) break;
            }
        } else if (ok && changed && (!work.wipe || work.remade)) {
            const std::wstring block = lines + L'\0'; // with c_str()'s NUL: the list's two final NULs
            ok = WritePrivateProfileSectionW(section, block.c_str(), g_iniPath.c_str());
        }
        if (!ok) {
            NoteWrite(FALSE);
            return false;
        }
        g_pending.Forget(work.name);
    }
    return true;
}

// Outside a batch an edit is written at once, unless edits of a failed batch wait: then it joins
// them, so that the file takes every edit in its order.
bool HoldEdit() {
    SettlePath();
    if (g_flushHolds > 0 || IniUnread()) return true;
    return !g_pending.Empty();
}

} // namespace

void IniWrite(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
    if (g_iniPath.empty()) return;
    if (HoldEdit() && section && key) {
        g_pending.Set(section, key, value);
        if (g_flushHolds == 0) WriteHeld();
        return;
    }
    IniEnsureFile();
    NoteWrite(WritePrivateProfileStringW(section, key, value.c_str(), g_iniPath.c_str()));
}

void IniDeleteKey(const wchar_t* section, const wchar_t* key) {
    if (g_iniPath.empty()) return;
    if (HoldEdit() && section && key) {
        g_pending.EraseKey(section, key); // written only if the key is there when the batch ends
        if (g_flushHolds == 0) WriteHeld();
        return;
    }
    if (!IniFileExists()) return;
    IniEnsureFile(); // in the form in which names are found, before the read below
    // A key that is not there needs no write (which rewrites the whole file); reading is cheap.
    static const wchar_t kAbsent[] = L"\x1\x2";
    if (section && key && IniGetString(section, key, kAbsent, 4) == kAbsent) return;
    NoteWrite(WritePrivateProfileStringW(section, key, nullptr, g_iniPath.c_str()));
}

void IniDeleteSection(const wchar_t* section) {
    if (g_iniPath.empty()) return;
    if (HoldEdit() && section) {
        g_pending.EraseSection(section);
        if (g_flushHolds == 0) WriteHeld();
        return;
    }
    if (!IniFileExists()) return;
    IniEnsureFile();
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
    SettlePath();
    WriteHeld();
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, g_iniPath.c_str());
}

void IniHoldFlushes() { ++g_flushHolds; }

void IniReleaseFlushes() {
    if (g_flushHolds == 0 || --g_flushHolds > 0) return;
    if (g_iniPath.empty()) return;
    SettlePath();
    const bool written = WriteHeld();
    if (!g_flushOwed || !written) return;
    g_flushOwed = false;
    IniFlush();
}

void IniWriteHeld() {
    if (g_iniPath.empty()) return;
    SettlePath();
    WriteHeld();
}

void IniSetUnread(bool unread) {
    g_unreadPath = unread ? g_iniPath : std::wstring();
}

bool IniUnread() { return !g_iniPath.empty() && g_unreadPath == g_iniPath; }

bool IniReadAgain() {
    if (!IniUnread()) return false;
    HANDLE f = CreateFileW(g_iniPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        const DWORD err = GetLastError();
        if (err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION) return false; // still held
    } else {
        CloseHandle(f);
    }
    IniConvertToUtf16(g_iniPath); // as at start, before anything is read
    g_unreadPath.clear();
    LogDbg(L"INI let go of by the other program, read now, ini=" + g_iniPath);
    return true;
}

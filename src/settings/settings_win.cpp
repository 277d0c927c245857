#include "settings/settings_win.h"

#include <shlobj.h>

#include "base/log_win.h"
#include "base/process_win.h"
#include "base/strutil.h"
#include "settings/ini_win.h"
#include "settings/lists_win.h"
#include "settings/metrics.h"
#include "settings/settings.h"

namespace {

enum class IniAccess { Writable, ReadOnly, Locked };

constexpr DWORD kLockWaitMs = 2000; // how long a start waits for another program to let go of the file

// Whether a new file can be made at path (the probe is deleted again at once).
bool CanCreate(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    CloseHandle(f);
    return true;
}

// Whether the program can keep its decisions in this file: an existing file opens for writing (it
// is not changed), or its folder takes a new file. A file that another program holds open is waited
// for a little; Locked when it stays so.
IniAccess ProbeIni(const std::wstring& path) {
    const DWORD start = GetTickCount();
    for (;;) {
        HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            CloseHandle(f);
            return IniAccess::Writable;
        }
        const DWORD err = GetLastError();
        if (err != ERROR_SHARING_VIOLATION && err != ERROR_LOCK_VIOLATION) {
            if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return IniAccess::ReadOnly;
            return CanCreate(path) ? IniAccess::Writable : IniAccess::ReadOnly;
        }
        if (GetTickCount() - start >= kLockWaitMs) return IniAccess::Locked;
        Sleep(50);
    }
}

// "%APPDATA%\Brindlecot", made if missing; empty when there is no such folder.
std::wstring PerUserFolder() {
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, appData)))
        return std::wstring();
    const std::wstring dir = std::wstring(appData) + L"\\Brindlecot";
    CreateDirectoryW(dir.c_str(), nullptr);
    return IsFolder(dir.c_str()) ? dir : std::wstring();
}

// An executable folder that cannot be written (a copy under Program Files) would lose every
// decision: the user's own folder keeps them, starting from the file beside the executable.
void UsePerUserFile() {
    const std::wstring dir = PerUserFolder();
    if (dir.empty()) return;
    const std::wstring userIni = dir + L"\\brindlecot.ini";
    if (GetFileAttributesW(userIni.c_str()) == INVALID_FILE_ATTRIBUTES &&
        CopyFileW(g_iniPath.c_str(), userIni.c_str(), TRUE))
        SetFileAttributesW(userIni.c_str(), FILE_ATTRIBUTE_NORMAL); // the copy of a read-only file
    g_iniPath = userIni;
    g_logPath = dir + L"\\dbg.log";
}

} // namespace

void InitIniPathFor(const std::wstring& exePath) {
    g_iniPath = PathBesideExe(exePath, L"brindlecot.ini");
    g_logPath.clear();
    IniSetUnread(false);
    const IniAccess access = ProbeIni(g_iniPath);
    // A locked file says nothing about its folder: only a folder that takes no new file sends the
    // decisions elsewhere.
    if (access == IniAccess::ReadOnly || (access == IniAccess::Locked && !CanCreate(g_iniPath + L".probe"))) {
        UsePerUserFile();
    } else if (access == IniAccess::Locked) {
        IniReportCannotSave(L"INI held by another program at start, read as far as it can be, ini=" + g_iniPath,
                            ERROR_SHARING_VIOLATION);
        IniSetUnread(true); // nothing is written until it has been read
    }
    IniConvertToUtf16(g_iniPath);
    // A file that exists is no first run, even when it cannot be read right now.
    g_firstRun = GetFileAttributesW(g_iniPath.c_str()) == INVALID_FILE_ATTRIBUTES;
}

void InitIniPath() { InitIniPathFor(GetExePath()); }

void LoadSkin() {
    if (g_iniPath.empty()) return;
    g_skinIndex = SkinFromStored(IniGetInt(L"settings", L"skin", 2), g_skinIndex);
}

void LoadStyle() {
    if (g_iniPath.empty()) return;
    g_alpha = AlphaFromStored(IniGetInt(L"settings", L"alpha", 130));
    g_fontSize = FontSizeFromStored(IniGetInt(L"settings", L"fontSize", 13));
    g_fontName = TypedSetting(IniGetString(L"settings", L"fontName", L"Microsoft YaHei UI", kFontNameBuffer),
                              kFontNameBuffer);
    g_bgImage = TypedSetting(IniGetString(L"settings", L"bgImage", L"", kBgImageBuffer), kBgImageBuffer);
    g_noOverlap = NoOverlapFromStored(IniGetInt(L"settings", L"noOverlap", 1));
    g_trayIconStyle = TrayIconFromStored(IniGetInt(L"settings", L"trayIcon", 0));
    g_desktopDoubleClick = IniGetInt(L"settings", L"desktopDoubleClick", 1) != 0;
}

void LoadIconSize() {
    if (g_iniPath.empty()) return;
    const int size = IniGetInt(L"settings", L"iconSize", 32);
    if (IconSizeAccepted(size)) {
        g_iconSize = size;
        UpdateCellSize();
    }
}

void SaveStyleKey(const wchar_t* key, const std::wstring& value) { IniWrite(L"settings", key, value); }

void LoadStoredChoices() {
    LoadManualGroups();
    LoadFreedItems();
    LoadBoxNames();
    LoadHiddenBoxes();
    LoadCustomBoxes();
    LoadHoverOpenBoxes();
    LoadSkin();
    LoadStyle();
    LoadIconSize();
}

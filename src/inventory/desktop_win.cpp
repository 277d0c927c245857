#include <shlobj.h>

#include "inventory/inventory_win.h"

std::wstring GetDesktopPath() {
    wchar_t buf[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, buf)))
        return std::wstring();
    return buf;
}

#include <shlobj.h>

#include "inventory/inventory_win.h"

std::wstring GetDesktopPath() {
    wchar_t buf[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, buf)))
        return std::wstring();
    return buf;
}

bool ShellObjectOf(const std::wstring& path, HWND owner, REFIID riid, void** out) {
    *out = nullptr;
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &pidl, 0, nullptr)) || !pidl) return false;
    IShellFolder* parent = nullptr;
    PCUITEMID_CHILD child = nullptr; // points into pidl
    if (SUCCEEDED(SHBindToParent(pidl, IID_IShellFolder, reinterpret_cast<void**>(&parent), &child))) {
        parent->GetUIObjectOf(owner, 1, &child, riid, nullptr, out);
        parent->Release();
    }
    CoTaskMemFree(pidl);
    return *out != nullptr;
}

// A throw-away world for box tests: its own temp folder as desktop, hidden store and INI file, the
// box window class, and everything put back (no boxes, no windows, settings as at start) afterwards.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "app/app_win.h"
#include "base/win.h"
#include "boxes/box_win.h"
#include "inventory/inventory.h"
#include "render/metrics.h"
#include "settings/lists.h"
#include "settings/settings.h"

inline void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = dir + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    SetFileAttributesW(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(dir.c_str());
}

inline std::wstring MakeTempDir() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    static int serial = 0;
    const std::wstring dir = std::wstring(base) + L"bc-boxes-" + std::to_wstring(GetCurrentProcessId()) +
                             L"-" + std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++serial);
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

inline void EnsureBoxClass() {
    g_hInst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(g_hInst, WND_CLASS, &wc)) return;
    wc.hInstance = g_hInst;
    wc.lpfnWndProc = BoxProc;
    wc.lpszClassName = WND_CLASS;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassExW(&wc);
}

inline Rect WindowRect(HWND hwnd) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    return {r.left, r.top, r.right, r.bottom};
}

inline void WriteFileText(const std::wstring& path, const char* text) {
    HANDLE f =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD n = 0;
    WriteFile(f, text, static_cast<DWORD>(strlen(text)), &n, nullptr);
    CloseHandle(f);
}

class BoxWorld : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureBoxClass();
        ResetSettingsToDefaults();
        dir_ = MakeTempDir();
        g_desktop = dir_ + L"\\desk";
        g_hidden = HiddenStoreFor(g_desktop);
        CreateDirectoryW(g_desktop.c_str(), nullptr);
        CreateDirectoryW(g_hidden.c_str(), nullptr);
        g_iniPath = dir_ + L"\\brindlecot.ini";
        g_posCache.clear();
        g_groups.clear();
    }
    void TearDown() override {
        DestroyAllBoxes();
        EXPECT_TRUE(g_boxes.empty());
        g_groups.clear();
        g_posCache.clear();
        g_iniPath.clear();
        g_desktop.clear();
        g_hidden.clear();
        ResetSettingsToDefaults();
        RemoveTree(dir_);
    }
    std::wstring dir_;
};

// A throw-away world for box tests: its own temp folder as desktop, hidden store and INI file, the
// box window class, and everything put back (no boxes, no windows, settings as at start) afterwards.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/process_win.h"
#include "base/win.h"
#include "boxes/box_classes_win.h"
#include "boxes/box_win.h"
#include "boxes/desktop_attach_win.h"
#include "inventory/inventory.h"
#include "render/box_record_win.h"
#include "settings/lists.h"
#include "settings/metrics.h"
#include "settings/settings.h"
#include "win/fs_fixture.h"

inline void EnsureBoxClass() {
    g_hInst = GetModuleHandleW(nullptr);
    RegisterBoxClasses(g_hInst);
}

inline Rect WindowRect(HWND hwnd) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    return {r.left, r.top, r.right, r.bottom};
}

inline void WriteFileText(const std::wstring& path, const char* text) { wt::WriteBytes(path, text); }

class BoxWorld : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureBoxClass();
        ResetSettingsToDefaults();
        tmp_ = std::make_unique<wt::TempDir>(L"boxes");
        dir_ = tmp_->Path();
        g_desktop = dir_ + L"\\desk";
        g_hidden = HiddenStoreFor(g_desktop);
        CreateDirectoryW(g_desktop.c_str(), nullptr);
        CreateDirectoryW(g_hidden.c_str(), nullptr);
        g_iniPath = dir_ + L"\\brindlecot.ini";
        g_posCache.clear();
        g_groups.clear();
    }
    void TearDown() override {
        StopDesktopWatch(); // a box window destroyed by a test starts the search for a desktop
        DestroyAllBoxes();
        EXPECT_TRUE(g_boxes.empty());
        g_groups.clear();
        g_posCache.clear();
        g_iniPath.clear();
        g_desktop.clear();
        g_hidden.clear();
        ResetSettingsToDefaults();
        tmp_.reset();
    }
    std::unique_ptr<wt::TempDir> tmp_;
    std::wstring dir_;
};

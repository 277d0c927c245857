// A throw-away desktop with its hidden store and INI file, with every global of the inventory and
// the lists pointed at it and put back afterwards.
#pragma once
#include <gtest/gtest.h>

#include "inventory/inventory_win.h"
#include "settings/lists.h"
#include "settings/settings.h"
#include "win/fs_fixture.h"

class InventoryWin : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = std::make_unique<wt::TempDir>(L"inv");
        desk = *root_ / L"Desktop";
        ASSERT_TRUE(wt::MakeDir(desk));
        g_desktop = desk;
        g_hidden = HiddenStoreFor(desk);
        store = g_hidden;
        ASSERT_TRUE(wt::MakeDir(store));
        SetFileAttributesW(store.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        ini = *root_ / L"brindlecot.ini";
        g_iniPath = ini;
        ClearLists();
    }
    void TearDown() override {
        ClearLists();
        DestroyIconCache();
        g_desktop.clear();
        g_hidden.clear();
        g_iniPath.clear();
        g_items.clear();
        g_groups.clear();
        root_.reset();
    }
    static void ClearLists() {
        g_manualGroups.clear();
        g_freedItems.clear();
        g_boxNames.clear();
        g_hiddenBoxes.clear();
        g_customBoxes.clear();
        g_posCache.clear();
    }
    std::wstring Root() const { return root_->Path(); }

    std::wstring desk, store, ini;

  private:
    std::unique_ptr<wt::TempDir> root_;
};

#include <gtest/gtest.h>

#include "app/startup_win.h"
#include "inventory/inventory.h"

TEST(StartupWin, NoDesktopFolderMakesNoStore) {
    EXPECT_EQ(HiddenStoreFor(L""), L"");
    EnsureHiddenStore(HiddenStoreFor(L""));
    EXPECT_EQ(GetFileAttributesW(L"\\.hidden"), INVALID_FILE_ATTRIBUTES);
}

#include <gtest/gtest.h>

#include "app/startup_win.h"
#include "base/log_win.h"
#include "base/process_win.h"
#include "base/strutil.h"
#include "win/fs_fixture.h"

namespace {

const std::wstring LogPath() { return PathBesideExe(GetExePath(), L"dbg.log"); }

TEST(LogWin, LinesAreUtf8AndTheFileComesBackAfterBeingDeleted) {
    DeleteFileW(LogPath().c_str());
    LogDbg(L"SCAN group=[文件夹]");
    LogDbg(L"second line");
    std::string bytes = wt::ReadBytes(LogPath());
    EXPECT_EQ(bytes, "\xEF\xBB\xBF" "SCAN group=[\xE6\x96\x87\xE4\xBB\xB6\xE5\xA4\xB9]\r\nsecond line\r\n");

    ASSERT_TRUE(DeleteFileW(LogPath().c_str())) << "the log is not held open between lines";
    LogDbg(L"after delete");
    bytes = wt::ReadBytes(LogPath());
    EXPECT_EQ(bytes, "\xEF\xBB\xBF" "after delete\r\n");
    DeleteFileW(LogPath().c_str());
}

TEST(LogWin, AFileThatCannotBeOpenedLosesTheLineSilently) {
    DeleteFileW(LogPath().c_str());
    ASSERT_TRUE(CreateDirectoryW(LogPath().c_str(), nullptr)) << "a folder in the log's place cannot be opened";
    LogDbg(L"lost");
    EXPECT_EQ(GetFileAttributesW(LogPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    RemoveDirectoryW(LogPath().c_str());
}

TEST(HiddenStoreWin, CreatedWithExactlyHiddenAndSystemAndRestoredOnEveryStart) {
    wt::TempDir desk(L"store");
    const std::wstring store = desk / L".hidden";
    EnsureHiddenStore(store);
    EXPECT_EQ(GetFileAttributesW(store.c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    // The user strips the attributes and marks it read-only: the next start puts back exactly both.
    SetFileAttributesW(store.c_str(), FILE_ATTRIBUTE_READONLY);
    EnsureHiddenStore(store);
    EXPECT_EQ(GetFileAttributesW(store.c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

} // namespace

// The boxes follow names that change on disk while the program runs, from the notices alone.
#include <algorithm>

#include "app/watch_win.h"
#include "render/paint_win.h"
#include "win/box_env.h"

namespace {

std::vector<std::wstring> Names(const std::wstring& key) {
    std::vector<std::wstring> out;
    for (const BoxWin* b : g_boxes)
        if (b->key == key)
            for (const Item& i : b->items) out.push_back(i.name);
    return out;
}

// The main loop's turn (messages, the changes taken up, marked boxes drawn) until `done` or 10 s.
template <class Done> bool RunLoopUntil(Done done) {
    const UINT_PTR tick = SetTimer(nullptr, 0, 50, nullptr); // the wait wakes even if nothing comes
    const ULONGLONG end = GetTickCount64() + 10000;
    bool ok = false;
    while (!(ok = done()) && GetTickCount64() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        FollowFolderChanges();
        DrawMarkedBoxes();
        WaitForMessagesOrChanges();
    }
    KillTimer(nullptr, tick);
    return ok;
}

size_t ScanLines() {
    const auto log = wt::ReadDebugLog();
    return static_cast<size_t>(std::count_if(log.begin(), log.end(), [](const std::wstring& l) { return l.rfind(L"SCAN", 0) == 0; }));
}

class FolderWatch : public BoxWorld {
  protected:
    void TearDown() override {
        StopFolderWatch();
        BoxWorld::TearDown();
    }
};

TEST_F(FolderWatch, RenamesOnDiskAreShownInPlaceWithoutAListingOrARebuild) {
    for (const wchar_t* n : {L"a.txt", L"b.txt", L"c.txt"}) WriteFileText(g_desktop + L"\\" + n, "x");
    CreateDirectoryW((g_desktop + L"\\Old Stuff").c_str(), nullptr);
    WriteFileText(g_hidden + L"\\stored.txt", "x");
    RefreshBoxes();
    StartFolderWatch();
    ASSERT_EQ(Names(L"文档"), (std::vector<std::wstring>{L"a.txt", L"b.txt", L"c.txt", L"stored.txt"}));
    const std::vector<HWND> windows = {g_boxes[0]->hwnd, g_boxes[1]->hwnd};
    const size_t scans = ScanLines();
    const unsigned long draws = BoxDrawCount();

    ASSERT_TRUE(MoveFileW((g_desktop + L"\\b.txt").c_str(), (g_desktop + L"\\Bee.txt").c_str()));
    ASSERT_TRUE(MoveFileW((g_desktop + L"\\Old Stuff").c_str(), (g_desktop + L"\\Older Stuff").c_str()));
    ASSERT_TRUE(MoveFileW((g_hidden + L"\\stored.txt").c_str(), (g_hidden + L"\\kept.txt").c_str()));
    EXPECT_TRUE(RunLoopUntil([] {
        return Names(L"文档") == std::vector<std::wstring>{L"a.txt", L"Bee.txt", L"c.txt", L"kept.txt"} &&
               Names(L"文件夹") == std::vector<std::wstring>{L"Older Stuff"};
    })) << "文档: " << Names(L"文档").size();
    EXPECT_EQ(g_boxes[1]->items[1].path, g_desktop + L"\\Bee.txt") << "a double click opens the entry shown";
    EXPECT_EQ((std::vector<HWND>{g_boxes[0]->hwnd, g_boxes[1]->hwnd}), windows) << "the boxes were kept";
    EXPECT_GT(BoxDrawCount(), draws) << "drawn again";
    EXPECT_EQ(ScanLines(), scans) << "no folder listed again";

    // A name made into a group that has no box yet: the box comes without a listing either.
    WriteFileText(g_desktop + L"\\new.zip", "x");
    EXPECT_TRUE(RunLoopUntil([] { return Names(L"压缩包") == std::vector<std::wstring>{L"new.zip"}; }));
    EXPECT_EQ(ScanLines(), scans);
}

} // namespace

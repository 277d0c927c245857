#include "boxes/box_win.h"
#include "boxes/desktop_attach_win.h"
#include "render/box_record_win.h"
#include "win/box_env.h"

#include <psapi.h>

#include <algorithm>

#include "boxes/layout.h"
#include "settings/ini_win.h"

namespace {

// Groups as the scan makes them from the files the fixture puts on the desktop (after a scan has
// run they come from the folder; until then the test sets them).
class RefreshBoxesWin : public BoxWorld {
  protected:
    void SetUp() override {
        BoxWorld::SetUp();
        WriteFileText(g_desktop + L"\\a.txt", "a");
        WriteFileText(g_desktop + L"\\b.zip", "b");
        Item a{L"a.txt", g_desktop + L"\\a.txt", false, L".txt"};
        Item b{L"b.zip", g_desktop + L"\\b.zip", false, L".zip"};
        g_groups = {{L"文档", {a}}, {L"压缩包", {b}}};
    }
    BoxWin* Find(const std::wstring& key) {
        for (BoxWin* box : g_boxes)
            if (box->key == key) return box;
        return nullptr;
    }
};

// A box shown before keeps its place and size (a size written meanwhile counts from the next start).
TEST_F(RefreshBoxesWin, BoxesKeepTheirPlaceAndSizeByKey) {
    for (size_t i = 0; i < g_groups.size(); ++i)
        CreateBox(g_groups[i].first, g_groups[i].second, static_cast<int>(i));
    ASSERT_EQ(g_boxes.size(), 2u);
    const HWND oldDoc = Find(L"文档")->hwnd;
    SetBoxPos(oldDoc, 700, 500, 0, 0, SWP_NOSIZE);
    const Rect zipBefore = WindowRect(Find(L"压缩包")->hwnd);
    IniWrite(L"文档_size", L"w", L"400");
    IniWrite(L"文档_size", L"h", L"300");

    RefreshBoxes();

    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(Find(L"文档")->hwnd, oldDoc) << "the same window, kept";
    BoxWin* doc = Find(L"文档");
    BoxWin* zip = Find(L"压缩包");
    ASSERT_TRUE(doc && zip);
    EXPECT_EQ(WindowRect(doc->hwnd), (Rect{700, 500, 1024, 626}));
    EXPECT_EQ(WindowRect(zip->hwnd), zipBefore);
    EXPECT_EQ(g_posCache[L"文档"], (Rect{700, 500, 940, 860}));
}

TEST_F(RefreshBoxesWin, NewBoxesOnTopOfOthersAreSettled) {
    g_posCache[L"压缩包"] = Rect{40, 40, 280, 400}; // right on the first box's default place
    RefreshBoxes();
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_FALSE(RectsOverlap(WindowRect(g_boxes[0]->hwnd), WindowRect(g_boxes[1]->hwnd)));
}

struct Usage {
    DWORD user;
    DWORD gdi;
    size_t heapBytes;
    size_t commitBytes;
    int threadWindows;
};

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Bytes in use in every heap of the process: the program's own allocations and those of the
// system libraries it calls.
size_t HeapBusyBytes() {
    HANDLE heaps[64];
    const DWORD n = GetProcessHeaps(64, heaps);
    size_t busy = 0;
    for (DWORD i = 0; i < n && i < 64; ++i) {
        PROCESS_HEAP_ENTRY e = {};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &e))
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += e.cbData;
        HeapUnlock(heaps[i]);
    }
    return busy;
}

Usage Measure() {
    Usage u = {};
    u.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS); // 0 under Wine
    u.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    PROCESS_MEMORY_COUNTERS_EX pmc = {};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
    u.commitBytes = pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage; // Wine reports no private usage
    u.heapBytes = HeapBusyBytes();
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&u.threadWindows));
    return u;
}

TEST_F(RefreshBoxesWin, AThousandRebuildsLeaveNoHandlesOrMemoryBehind) {
    // Larger groups make a leaked record or item copy show plainly.
    for (auto& g : g_groups)
        for (int i = 0; i < 40; ++i)
            g.second.push_back(Item{L"entry-with-a-long-name-" + std::to_wstring(i), L"", false, L""});
    // First-use allocations settle first. Under Wine, drawing text into boxes grows the process in
    // steps (with flat stretches between them) over its first several hundred boxes, and a single
    // step of up to a megabyte can still come later. A leak grows with every rebuild: it shows in
    // both halves of the measured stretch, a one-off step in one of them only.
    for (int i = 0; i < 1000; ++i)
        RefreshBoxes();
    Usage at[3];
    at[0] = Measure();
    for (int half = 1; half <= 2; ++half) {
        for (int i = 0; i < 500; ++i)
            RefreshBoxes();
        at[half] = Measure();
    }
    auto leastGrowth = [&](size_t Usage::*field) {
        return std::min(at[1].*field - std::min(at[1].*field, at[0].*field),
                        at[2].*field - std::min(at[2].*field, at[1].*field));
    };
    EXPECT_EQ(g_boxes.size(), g_groups.size());
    EXPECT_EQ(at[2].threadWindows, at[0].threadWindows);
    EXPECT_LE(at[2].user, at[0].user + 2);
    EXPECT_LE(at[2].gdi, at[0].gdi + 2);
    // One leaked record per box would be a few hundred kilobytes per 500 rebuilds, with its items
    // megabytes.
    EXPECT_LT(leastGrowth(&Usage::heapBytes), 64u * 1024);
    // A leaked drawing surface per box would be hundreds of megabytes; the window system's own
    // bookkeeping under Wine grows a few megabytes for 2,000 windows made and destroyed.
    EXPECT_LT(leastGrowth(&Usage::commitBytes), 8u * 1024 * 1024);
    std::printf(
        "rebuilds 1000/1500/2000: GDI %lu/%lu/%lu, heap %zu/%zu/%zu, commit %zu/%zu/%zu, windows %d/%d\n",
        at[0].gdi, at[1].gdi, at[2].gdi, at[0].heapBytes, at[1].heapBytes, at[2].heapBytes, at[0].commitBytes,
        at[1].commitBytes, at[2].commitBytes, at[0].threadWindows, at[2].threadWindows);
}

} // namespace

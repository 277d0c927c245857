#include "boxes/box_win.h"
#include "render/box_record_win.h"
#include "win/box_env.h"

#include "base/dpi_win.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"

namespace {

std::vector<Item> Items(int n) {
    std::vector<Item> items(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        items[static_cast<size_t>(i)].name = L"f" + std::to_wstring(i) + L".txt";
    return items;
}

using CreateBoxWin = BoxWorld;

TEST_F(CreateBoxWin, SizesFromItemsAndTheSizeSection) {
    // Sizes stored after a resize; the key's section is "<key>_size".
    IniWrite(L"文档_size", L"w", L"139");
    IniWrite(L"文档_size", L"h", L"99");
    IniWrite(L"图片_size", L"w", L"140");
    IniWrite(L"图片_size", L"h", L"100");
    IniWrite(L"其他_size", L"w", L"500");
    IniWrite(L"压缩包_size", L"w", L"300");
    IniWrite(L"压缩包_size", L"h", L"210");
    IniWrite(L"压缩包_size", L"dpi", L"144");
    struct Case {
        const wchar_t* key;
        int items;
        int w, h;
    } cases[] = {
        {L"文件夹", 0, 324, 126},       // no section: computed, one row even when empty
        {L"文档", 9, 324, 3 * 84 + 42}, // below the limits: computed
        {L"图片", 9, 140, 100},         // at the limits: taken whatever the item count
        {L"其他", 5, 500, 210},         // only the width stored
        {L"压缩包", 1, 200, 140},       // stored at 144 dpi, shown at 96
    };
    int index = 0;
    for (const Case& c : cases)
        CreateBox(c.key, Items(c.items), index++);
    ASSERT_EQ(g_boxes.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        const BoxWin* box = g_boxes[i];
        const Case& c = cases[i];
        EXPECT_EQ(box->key, c.key);
        EXPECT_EQ(box->items.size(), static_cast<size_t>(c.items));
        EXPECT_EQ(box->width, c.w) << i;
        EXPECT_EQ(box->height, c.h) << i;
        const Rect r = WindowRect(box->hwnd);
        EXPECT_EQ(r,
                  (Rect{static_cast<int>(i) * 250 + 40, 40, static_cast<int>(i) * 250 + 40 + c.w, 40 + c.h}))
            << i;
        EXPECT_EQ(reinterpret_cast<BoxWin*>(GetWindowLongPtrW(box->hwnd, GWLP_USERDATA)), box);
        wchar_t title[64] = {};
        GetWindowTextW(box->hwnd, title, 64);
        EXPECT_EQ(std::wstring(title), c.key);
        const LONG_PTR style = GetWindowLongPtrW(box->hwnd, GWL_STYLE);
        EXPECT_TRUE(style & WS_VISIBLE) << "a box without composition is shown as a popup";
        EXPECT_TRUE(style & WS_POPUP);
    }
}

int g_testDpi = 96;
TEST_F(CreateBoxWin, AMoveToAMonitorOfAnotherDpiScalesTheBoxAndItsStoredSize) {
    SetDpiLookup([](const RECT&) { return g_testDpi; });
    CreateBox(L"文件夹", Items(1), 0);
    BoxWin* box = g_boxes.at(0);
    for (const int dpi : {144, 96}) {
        g_testDpi = dpi;
        FollowBoxDpi(box);
        SaveBoxSize(box);
        const Rect r = WindowRect(box->hwnd);
        EXPECT_EQ(r, (Rect{40, 40, 40 + 324 * dpi / 96, 40 + 126 * dpi / 96})) << dpi;
        EXPECT_EQ(box->width, r.Width());
        // Absent at 96: a file written on such a monitor stays as it was.
        EXPECT_EQ(IniGetInt(L"文件夹_size", L"dpi", 0), dpi == 96 ? 0 : dpi);
    }
    SetDpiLookup(nullptr);
}

TEST_F(CreateBoxWin, SizeSectionsOfKeysTheFormatWouldMixUpStaySeparate) {
    // A section name loses its edge blanks in the file: " Work_size" written as it is would be read
    // back as the section of "Work".
    IniWrite(SizeSectionFor(L"Work").c_str(), L"w", L"400");
    IniWrite(SizeSectionFor(L"[x]=y").c_str(), L"w", L"300");
    CreateBox(L" Work", Items(1), 0);
    CreateBox(L"Work", Items(1), 1);
    CreateBox(L"[x]=y", Items(1), 2);
    ASSERT_EQ(g_boxes.size(), 3u);
    EXPECT_EQ(g_boxes[0]->width, 324);
    EXPECT_EQ(g_boxes[1]->width, 400);
    EXPECT_EQ(g_boxes[2]->width, 300);
}

TEST_F(CreateBoxWin, WithoutAnIniPathNoSizeIsRead) {
    IniWrite(L"文档_size", L"w", L"400");
    g_iniPath.clear();
    CreateBox(L"文档", Items(1), 0);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0]->width, 324);
}

TEST_F(CreateBoxWin, PlaceAndColourFollowTheIndexUnlessAPositionIsRemembered) {
    g_posCache[L"压缩包"] = Rect{612, 345, 612 + 240, 345 + 360};
    for (int i = 0; i < 9; ++i)
        CreateBox(i == 3 ? L"压缩包" : L"k" + std::to_wstring(i), Items(1), i);
    ASSERT_EQ(g_boxes.size(), 9u);
    EXPECT_EQ(WindowRect(g_boxes[3]->hwnd).left, 612);
    EXPECT_EQ(WindowRect(g_boxes[3]->hwnd).top, 345);
    EXPECT_EQ(g_boxes[3]->width, 324) << "only the corner is remembered";
    EXPECT_EQ(g_boxes[7]->colorIdx, 7);
    EXPECT_EQ(g_boxes[8]->colorIdx, 0);
    EXPECT_EQ(WindowRect(g_boxes[8]->hwnd).left, 2040) << "beyond the screen and left there";
    EXPECT_EQ(WindowRect(g_boxes[8]->hwnd).top, 40);
}

TEST_F(CreateBoxWin, OnlyTheProgramHidesOrMinimisesABox) {
    CreateBox(L"文档", Items(1), 0);
    HWND hwnd = g_boxes[0]->hwnd;
    ShowWindow(hwnd, SW_HIDE);
    EXPECT_TRUE(IsWindowVisible(hwnd)) << "someone else's hide is refused";
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    SendMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsIconic(hwnd));
    EXPECT_EQ(SendMessageW(hwnd, WM_ERASEBKGND, 0, 0), 1);
    g_intentionalHide = true;
    ShowWindow(hwnd, SW_HIDE);
    g_intentionalHide = false;
    EXPECT_FALSE(IsWindowVisible(hwnd)) << "the program's own hide works";
}

} // namespace

// The find window driven by keys: the hotkey opens it, typing narrows the list and outlines the
// entries in their boxes, Enter opens through the seam, Ctrl+Enter shows a folded box's entry, Esc
// closes; the desktop folder is the same file for file afterwards.
#include <chrono>
#include <functional>

#include "win/interaction_env.h"

#include "app/find_app_win.h"
#include "app/startup_win.h"
#include "app/tray_win.h"
#include "boxes/box_menu_win.h"
#include "inventory/inventory_win.h"
#include "ui/find_win.h"
#include "ui/menus.h"

namespace {

// Every entry below the folder with its size and last write time.
std::wstring Listing(const std::wstring& folder) {
    std::wstring out;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        const std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        out += name + L":" + std::to_wstring(fd.nFileSizeLow) + L":" + std::to_wstring(fd.ftLastWriteTime.dwLowDateTime) + L"\n";
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) out += Listing(folder + L"\\" + name);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return out;
}

bool PumpUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

void Keys(std::initializer_list<std::pair<WORD, bool>> keys) { // (key, down)
    for (const auto& k : keys) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = k.first;
        in.ki.dwFlags = k.second ? 0 : KEYEVENTF_KEYUP;
        SendInput(1, &in, sizeof in);
    }
}

void Type(const std::wstring& text) {
    for (wchar_t c : text)
        SendMessageW(GetDlgItem(g_findWnd, kFindEditId), WM_CHAR, c, 0);
}

std::wstring Rows() {
    std::wstring out, name, box;
    for (int i = 0; FindRow(i, &name, &box, nullptr); ++i)
        out += (i ? L"|" : L"") + name + L"@" + box;
    return out;
}

std::wstring Marked() {
    std::wstring out;
    for (BoxWin* b : g_boxes)
        for (int i : b->marked)
            out += (out.empty() ? L"" : L"|") + b->items[static_cast<size_t>(i)].name;
    return out;
}

std::vector<std::wstring> g_opened;

class FindWorld : public InteractionWorld {
  protected:
    void SetUp() override {
        InteractionWorld::SetUp();
        g_boxNames.clear(); // a box renamed by an earlier test keeps its name in memory
        DestroyWindow(g_hMainWnd);
        RegisterTestClass(kMainClass, MainProc);
        g_hMainWnd = CreateWindowExW(0, kMainClass, kMainTitle, 0, 0, 0, 0, 0, nullptr, nullptr, g_hInst, nullptr);
        g_findOpen = [](const std::wstring& path) { g_opened.push_back(path); };
    }
    void TearDown() override {
        if (g_findWnd) DestroyWindow(g_findWnd);
        g_findOpen = OpenItem;
        g_opened.clear();
        InteractionWorld::TearDown();
        MSG quit; // the main window's end asks the loop to end
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
};

TEST_F(FindWorld, HotkeyTypeOpenRevealAndClose) {
    for (const wchar_t* n : {L"年度报告.docx", L"文档.txt", L"readme.md", L"bread.txt", L"照片.png", L"wd-40.txt"})
        WriteFileText(g_desktop + L"\\" + n, "x");
    for (int i = 0; i < 30; ++i)
        WriteFileText(g_desktop + L"\\" + L"图" + std::to_wstring(i) + L".png", "p");
    RefreshBoxes();
    SetUpFind();
    ASSERT_EQ(g_findHotKeyName, L"Win+Alt+F");
    const std::wstring before = Listing(g_desktop);

    // The hotkey as the keyboard gives it.
    Keys({{VK_LWIN, true}, {VK_MENU, true}, {'F', true}, {'F', false}, {VK_MENU, false}, {VK_LWIN, false}});
    ASSERT_TRUE(PumpUntil(FindWindowOpen)) << "the hotkey did not open the find window";
    PumpUntil([] { return GetKeyState(VK_MENU) >= 0 && GetKeyState(VK_LWIN) >= 0; }); // the keys' releases read
    Type(L"d");
    EXPECT_EQ(Rows(), L"wd-40.txt@文档|readme.md@文档|bread.txt@文档|年度报告.docx@文档|文档.txt@文档");
    Type(L"a");
    EXPECT_EQ(Rows(), L"文档.txt@文档");
    EXPECT_EQ(Marked(), L"文档.txt");
    SendMessageW(GetDlgItem(g_findWnd, kFindEditId), WM_CHAR, VK_BACK, 0);
    SendMessageW(GetDlgItem(g_findWnd, kFindEditId), WM_CHAR, VK_BACK, 0);
    Type(L"wd");
    EXPECT_EQ(Rows(), L"wd-40.txt@文档|文档.txt@文档");
    SendMessageW(GetDlgItem(g_findWnd, kFindEditId), WM_KEYDOWN, VK_DOWN, 0);
    Type(L"\r"); // Enter's character
    EXPECT_EQ(g_opened, std::vector<std::wstring>{g_desktop + L"\\文档.txt"});
    EXPECT_FALSE(FindWindowOpen());
    EXPECT_EQ(Marked(), L"") << "closing takes the outlines away";

    // Ctrl+Enter on the last picture of a folded box opens the box and scrolls to it.
    BoxWin* pictures = g_boxes[0];
    ASSERT_EQ(pictures->key, L"图片");
    RunBoxMenuCommand(pictures->hwnd, kBoxCmdCollapse, POINT{});
    ASSERT_TRUE(pictures->collapsed);
    RunTrayCommand(kCmdFind, POINT{});
    ASSERT_TRUE(FindWindowOpen());
    Type(L"tu29");
    EXPECT_EQ(Rows(), L"图29.png@图片");
    Type(L"\n"); // Ctrl+Enter's character
    EXPECT_FALSE(FindWindowOpen());
    EXPECT_EQ(Marked(), L"图29.png") << "it flashes";
    EXPECT_FALSE(pictures->collapsed);
    EXPECT_GT(pictures->scrollY, 0);
    ASSERT_TRUE(PumpUntil([] { return Marked().empty(); })) << "the flash ends";

    // Esc closes; nothing typed or opened touched a file.
    ShowFindWindow();
    Type(L"年");
    EXPECT_EQ(Rows(), L"年度报告.docx@文档");
    SendMessageW(GetDlgItem(g_findWnd, kFindEditId), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(FindWindowOpen());
    EXPECT_EQ(g_opened.size(), 1u);
    EXPECT_EQ(Listing(g_desktop), before);
}

} // namespace

// Tray and appearance commands with the dialogs answered by the test, the tray icons, the shell's
// restart, start with Windows, and where the INI file lives.
#include "win/box_env.h"

#include <gdiplus.h>
#include <shlobj.h>

#include "render/render_win.h"
#include "settings/ini_win.h"
#include "settings/settings_win.h"
#include "ui/menus.h"
#include "ui/ui_win.h"

namespace {

class Gdiplus_ {
  public:
    Gdiplus_() { Gdiplus::GdiplusStartup(&token_, &input_, nullptr); }
    ~Gdiplus_() { Gdiplus::GdiplusShutdown(token_); }

  private:
    Gdiplus::GdiplusStartupInput input_;
    ULONG_PTR token_ = 0;
};

std::wstring Ini(const wchar_t* section, const wchar_t* key) {
    wchar_t buf[300] = {};
    GetPrivateProfileStringW(section, key, L"<absent>", buf, 300, g_iniPath.c_str());
    return buf;
}

class TrayWorld : public BoxWorld {
  protected:
    void SetUp() override {
        BoxWorld::SetUp();
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = MainProc;
        wc.hInstance = g_hInst;
        wc.lpszClassName = kMainClass;
        RegisterClassExW(&wc);
        g_hMainWnd = CreateWindowExW(0, kMainClass, kMainTitle, 0, 0, 0, 0, 0, nullptr, nullptr, g_hInst, nullptr);
        SetupTray(g_hMainWnd);
        WriteFileText(g_desktop + L"\\a.txt", "a");
    }
    void TearDown() override {
        g_inputBoxAnswer = nullptr;
        g_sliderBoxAnswer = nullptr;
        Shell_NotifyIconW(NIM_DELETE, &g_nid);
        if (g_nid.hIcon) DestroyIcon(g_nid.hIcon);
        g_nid = {};
        DestroyWindow(g_hMainWnd);
        g_hMainWnd = nullptr;
        MSG msg;
        PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        g_customBoxes.clear();
        g_hiddenBoxes.clear();
        BoxWorld::TearDown();
    }
    std::vector<std::wstring> Keys() {
        std::vector<std::wstring> keys;
        for (BoxWin* b : g_boxes) keys.push_back(b->key);
        return keys;
    }
    Gdiplus_ gdiplus_;
};

TEST_F(TrayWorld, TrayCommandsWriteTheIni) {
    RunTrayCommand(kCmdNoOverlap, POINT{});
    EXPECT_FALSE(g_noOverlap);
    EXPECT_EQ(Ini(L"settings", L"noOverlap"), L"0");
    RunTrayCommand(kCmdNoOverlap, POINT{});
    EXPECT_EQ(Ini(L"settings", L"noOverlap"), L"1");

    const HICON before = g_nid.hIcon;
    RunTrayCommand(kCmdTrayIconFirst + 2, POINT{});
    EXPECT_EQ(g_trayIconStyle, 2);
    EXPECT_EQ(Ini(L"settings", L"trayIcon"), L"2");
    EXPECT_NE(g_nid.hIcon, before);

    // New box: cancel does nothing; a name un-hides a deleted box of that name and shows it.
    IniWrite(L"hiddenBoxes", L"工作", L"1");
    g_hiddenBoxes.insert(L"工作");
    g_inputBoxAnswer = [](const std::wstring& title, const std::wstring& initial) {
        EXPECT_EQ(title, L"新建盒子");
        EXPECT_EQ(initial, L"新盒子");
        return std::wstring();
    };
    RunTrayCommand(kCmdNewBox, POINT{});
    EXPECT_EQ(Ini(L"customBoxes", L"工作"), L"<absent>");
    g_inputBoxAnswer = [](const std::wstring&, const std::wstring&) { return std::wstring(L"工作"); };
    RunTrayCommand(kCmdNewBox, POINT{});
    EXPECT_EQ(Ini(L"customBoxes", L"工作"), L"1");
    EXPECT_EQ(Ini(L"hiddenBoxes", L"工作"), L"<absent>");
    EXPECT_EQ(Keys(), (std::vector<std::wstring>{L"文档", L"工作"}));

    // Hide all, show all.
    RunTrayCommand(kCmdHideAll, POINT{});
    for (BoxWin* b : g_boxes) EXPECT_FALSE(IsWindowVisible(b->hwnd));
    RunTrayCommand(kCmdShowAll, POINT{});
    for (BoxWin* b : g_boxes) EXPECT_TRUE(IsWindowVisible(b->hwnd));

    // Restore hidden boxes with none hidden still deletes the section and rebuilds.
    IniWrite(L"hiddenBoxes", L"文档", L"1");
    const HWND old = g_boxes.front()->hwnd;
    RunTrayCommand(kCmdRestoreHidden, POINT{});
    EXPECT_EQ(Ini(L"hiddenBoxes", L"文档"), L"<absent>");
    EXPECT_FALSE(IsWindow(old));

    RunTrayCommand(kCmdExit, POINT{});
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &g_nid)) << "the icon is gone";
}

TEST_F(TrayWorld, AppearanceCommandsWriteTheIni) {
    struct Case {
        int cmd;
        std::wstring answer; // text of the input dialog, or the slider value
        const wchar_t* key;
        std::wstring stored; // "<absent>": nothing written
        std::function<bool()> state;
    } cases[] = {
        {kCmdAlpha, L"-1", L"alpha", L"<absent>", [] { return g_alpha == 130; }},
        {kCmdAlpha, L"200", L"alpha", L"200", [] { return g_alpha == 200; }},
        {kCmdFontName, L"", L"fontName", L"<absent>", [] { return g_fontName == L"Microsoft YaHei UI"; }},
        {kCmdFontName, L"SimSun", L"fontName", L"SimSun", [] { return g_fontName == L"SimSun"; }},
        {kCmdFontSize, L"12abc", L"fontSize", L"12abc", [] { return g_fontSize == 12; }},
        {kCmdFontSize, L"100", L"fontSize", L"100", [] { return g_fontSize == 40; }},
        {kCmdFontSize, L"abc", L"fontSize", L"abc", [] { return g_fontSize == 8; }},
        {kCmdBgImage, L"C:\\no\\such.png", L"bgImage", L"C:\\no\\such.png", [] { return g_bgImage == L"C:\\no\\such.png"; }},
        {kCmdClearBg, L"", L"bgImage", L"", [] { return g_bgImage.empty() && !g_bgBitmap; }},
        {kCmdSkinFirst + 7, L"", L"skin", L"7", [] { return g_skinIndex == 7; }},
        {kCmdIconSizeFirst + 2, L"", L"iconSize", L"48", [] { return g_iconSize == 48 && g_cellW == 94 && g_cellH == 100; }},
        {0, L"", L"skin", L"7", [] { return true; }},
    };
    for (auto& c : cases) {
        std::wstring asked;
        g_inputBoxAnswer = [&](const std::wstring& title, const std::wstring&) {
            asked = title;
            return c.answer;
        };
        g_sliderBoxAnswer = [&](const std::wstring& label, int initial) {
            asked = label + L" " + std::to_wstring(initial);
            return _wtoi(c.answer.c_str());
        };
        RunAppearanceCommand(g_hMainWnd, c.cmd);
        EXPECT_EQ(Ini(L"settings", c.key), c.stored) << c.cmd << " " << asked;
        EXPECT_TRUE(c.state()) << c.cmd << " " << asked;
        if (c.cmd == kCmdAlpha) {
            EXPECT_EQ(asked, L"透明度 130");
        } else if (c.cmd == kCmdFontSize) {
            EXPECT_EQ(asked, L"字体大小 (8-40)");
            // The next start reads back what this run uses.
            EXPECT_EQ(FontSizeFromStored(IniGetInt(L"settings", L"fontSize", 13)), g_fontSize);
        }
    }
}

TEST_F(TrayWorld, ShellRestartAddsTheIconAgainAndRebuildsTheBoxes) {
    g_groups = {{L"文档", {Item{L"a.txt", g_desktop + L"\\a.txt", false, L".txt"}}}};
    CreateBox(g_groups[0].first, g_groups[0].second, 0);
    const HWND old = g_boxes.front()->hwnd;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &g_nid)); // the new shell's tray knows nothing of us
    ASSERT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &g_nid));
    SendMessageW(g_hMainWnd, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &g_nid)) << "the icon is back";
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_NE(g_boxes.front()->hwnd, old) << "boxes are made anew";
    EXPECT_FALSE(IsWindow(old));
}

// Reads the icon's pixels as 0xAARRGGBB.
std::vector<uint32_t> IconPixels(HICON icon) {
    ICONINFO info = {};
    std::vector<uint32_t> px(32 * 32);
    if (!GetIconInfo(icon, &info)) return {};
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 32;
    bi.bmiHeader.biHeight = -32;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmColor, 0, 32, px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return px;
}

TEST(TrayIcon, FourDrawings) {
    Gdiplus_ gdiplus;
    struct Probe {
        int style, x, y;
        uint32_t argb;
    } probes[] = {
        {0, 0, 0, 0x00000000},  {0, 16, 4, 0xFF3B82F6},  {0, 10, 10, 0xFFFFFFFF}, {0, 13, 13, 0xFF3B82F6},
        {1, 5, 8, 0xFFFAD25A},  {1, 15, 20, 0xFFF5B428}, {1, 20, 8, 0x00000000},  {1, 30, 30, 0x00000000},
        {2, 3, 3, 0xFF1E293B},  {2, 9, 9, 0xFF60A5FA},   {2, 0, 0, 0x00000000},   {3, 8, 16, 0xFF10B981},
        {3, 16, 16, 0xFFFFFFFF}, {3, 1, 1, 0x00000000},  {99, 16, 16, 0xFFFFFFFF}, {99, 8, 16, 0xFF10B981},
    };
    for (const auto& p : probes) {
        HICON icon = MakeTrayIcon(p.style);
        ASSERT_TRUE(icon) << p.style;
        const auto px = IconPixels(icon);
        DestroyIcon(icon);
        ASSERT_EQ(px.size(), 1024u);
        const uint32_t got = px[p.y * 32 + p.x];
        EXPECT_EQ(p.argb >> 24 ? got : got & 0xFF000000u, p.argb) << p.style << " at " << p.x << "," << p.y;
    }
}

TEST(AutoStart, RunValueWrittenReadAndDeleted) {
    SetAutoStart(false);
    EXPECT_FALSE(IsAutoStart());
    SetAutoStart(true);
    EXPECT_TRUE(IsAutoStart());
    wchar_t data[600] = {};
    DWORD size = sizeof data, type = 0;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Brindlecot",
                           RRF_RT_ANY, &type, data, &size),
              ERROR_SUCCESS);
    const std::wstring quoted = L"\"" + GetExePath() + L"\"";
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data, quoted);
    EXPECT_EQ(size, (quoted.size() + 1) * 2);
    SetAutoStart(false);
    EXPECT_FALSE(IsAutoStart());
}

TEST(IniFile, EmptyFileGetsTheByteOrderMarkAndKeepsChineseNames) {
    wt::TempDir tmp(L"ini");
    g_iniPath = tmp / L"brindlecot.ini";
    ASSERT_TRUE(wt::WriteBytes(g_iniPath, ""));
    IniWrite(L"文件夹", L"x", L"5");
    EXPECT_EQ(wt::ReadBytes(g_iniPath).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(IniGetInt(L"文件夹", L"x", -1), 5);
    g_iniPath.clear();
}

TEST(IniFile, AnExeFolderThatCannotBeWrittenUsesThePerUserFile) {
    wt::TempDir tmp(L"ini");
    InitIniPathFor(tmp / L"brindlecot.exe");
    EXPECT_EQ(g_iniPath, tmp / L"brindlecot.ini") << "a folder that can be written keeps the file beside the exe";
    EXPECT_TRUE(g_logPath.empty());
    EXPECT_FALSE(wt::Exists(g_iniPath)) << "the probe leaves nothing behind";

    InitIniPathFor(tmp / L"missing\\brindlecot.exe");
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    const std::wstring dir = std::wstring(appData) + L"\\Brindlecot";
    EXPECT_EQ(g_iniPath, dir + L"\\brindlecot.ini");
    EXPECT_EQ(g_logPath, dir + L"\\dbg.log");
    LogDbg(L"per-user log");
    EXPECT_EQ(wt::ReadBytes(g_logPath), "\xEF\xBB\xBFper-user log\r\n");
    wt::RemoveTree(dir);
    g_iniPath.clear();
    g_logPath.clear();
}

} // namespace

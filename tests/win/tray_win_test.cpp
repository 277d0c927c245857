// Tray and appearance commands with the dialogs answered by the test, the tray icons, the shell's
// restart, start with Windows, and the INI file's byte-order mark and place.
#include "app/autostart_win.h"
#include "app/startup_win.h"
#include "app/tray_win.h"
#include "base/log_win.h"
#include "base/process_win.h"
#include "boxes/box_win.h"
#include "boxes/drop_target_win.h"
#include "render/background_win.h"
#include "render/box_record_win.h"
#include "render/paint_win.h"
#include "ui/appearance_win.h"
#include "ui/dialogs_win.h"
#include "win/interaction_env.h"

#include "base/com_win.h"
#include "base/strutil.h"
#include "inventory/inventory_win.h"
#include "render/fallback_win.h"
#include "win/render_test_util.h"

#include <gdiplus.h>

#include "settings/settings_win.h"
#include "ui/menus.h"

namespace {

struct Gdip {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdip() { Gdiplus::GdiplusStartup(&token, &input, nullptr); }
    ~Gdip() { Gdiplus::GdiplusShutdown(token); }
};

class TrayWorld : public BoxWorld {
  protected:
    void SetUp() override {
        BoxWorld::SetUp();
        RegisterTestClass(kMainClass, MainProc);
        g_hMainWnd =
            CreateWindowExW(0, kMainClass, kMainTitle, 0, 0, 0, 0, 0, nullptr, nullptr, g_hInst, nullptr);
        SetupTray(g_hMainWnd);
        WriteFileText(g_desktop + L"\\a.txt", "a");
    }
    void TearDown() override {
        g_inputBoxAnswer = nullptr, g_sliderBoxAnswer = nullptr;
        Shell_NotifyIconW(NIM_DELETE, &g_nid);
        DestroyIcon(g_nid.hIcon);
        g_nid = {};
        DestroyWindow(std::exchange(g_hMainWnd, nullptr));
        MSG msg;
        PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        g_customBoxes.clear(), g_hiddenBoxes.clear();
        BoxWorld::TearDown();
    }
    Gdip gdip_;
};

TEST_F(TrayWorld, TrayCommandsAndTheShellsRestart) {
    for (const wchar_t* want : {L"0 off", L"1 on"}) {
        RunTrayCommand(kCmdNoOverlap, POINT{});
        EXPECT_EQ(Ini(L"settings", L"noOverlap") + (g_noOverlap ? L" on" : L" off"), want);
    }
    const HICON before = g_nid.hIcon;
    RunTrayCommand(kCmdTrayIconFirst + 2, POINT{});
    EXPECT_EQ(Ini(L"settings", L"trayIcon"), L"2");
    EXPECT_NE(g_nid.hIcon, before);

    // New box: cancel does nothing; a name un-hides a deleted box of that name and shows it.
    IniWrite(L"hiddenBoxes", L"工作", L"1");
    g_hiddenBoxes.insert(L"工作");
    std::wstring answer, asked;
    g_inputBoxAnswer = [&](const std::wstring& title, const std::wstring& initial) {
        asked = title + L"/" + initial;
        return answer;
    };
    RunTrayCommand(kCmdNewBox, POINT{});
    EXPECT_EQ(asked, L"新建盒子/新盒子");
    EXPECT_EQ(Ini(L"customBoxes", L"工作"), L"-");
    answer = L"工作";
    RunTrayCommand(kCmdNewBox, POINT{});
    EXPECT_EQ(Ini(L"customBoxes", L"工作") + Ini(L"hiddenBoxes", L"工作"), L"1-");
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(g_boxes[1]->key, L"工作");

    IniWrite(L"hiddenBoxes", L"文档", L"1");
    HWND old = g_boxes[0]->hwnd;
    RunTrayCommand(kCmdRestoreHidden, POINT{});
    EXPECT_EQ(IniGetSection(L"hiddenBoxes"), L"");
    EXPECT_EQ(wt::ReadDebugLog().back().rfind(L"REBUILD ", 0), 0u) << "boxes rebuilt";

    // A restarted shell's tray knows nothing of us: the icon is added again; boxes that live stay.
    ASSERT_FALSE(g_boxes.empty());
    old = g_boxes[0]->hwnd;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &g_nid));
    SendMessageW(g_hMainWnd, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &g_nid)) << "the icon is back";
    EXPECT_EQ(g_boxes[0]->hwnd, old) << "not made anew";
    EXPECT_EQ(g_boxes.size(), 2u);

    RunTrayCommand(kCmdExit, POINT{});
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &g_nid)) << "the icon is gone";
}

TEST_F(TrayWorld, AppearanceCommandsWriteTheIni) {
    // A picture, and a file named as one that is none.
    const std::wstring pic = dir_ + L"\\a b.bmp", junk = dir_ + L"\\junk.png";
    BoxSurface surface;
    ASSERT_TRUE(MakeSurfaceBitmap(&surface, 4, 3) && SaveSurfaceBmp(surface, pic) && wt::WriteBytes(junk, "no picture"));
    FreeSurface(&surface);
    OleInitialize(nullptr); // the picture decoder is a COM object, as at start-up
    std::wstring told;
    g_noticeShown = [&](const std::wstring& text) { told += text; };
    // answer: the text of the input dialog, or the slider's value; refused: a message, nothing stored
    struct { int cmd; std::wstring answer; const wchar_t *key, *stored; std::function<bool()> state; bool refused = false; } cases[] = {
        {kCmdAlpha, L"-1", L"alpha", L"-", [] { return g_alpha == 130; }},
        {kCmdAlpha, L"200", L"alpha", L"200", [] { return g_alpha == 200; }},
        {kCmdFontName, L"", L"fontName", L"-", [] { return g_fontName == L"Microsoft YaHei UI"; }},
        {kCmdFontName, L"Tahoma", L"fontName", L"Tahoma", [] { return g_fontName == L"Tahoma"; }},
        {kCmdFontName, L"No Such Font 7", L"fontName", L"Tahoma", [] { return g_fontName == L"Tahoma"; }, true},
        {kCmdFontSize, L" 12 ", L"fontSize", L"12", [] { return g_fontSize == 12; }},
        {kCmdFontSize, L"12abc", L"fontSize", L"12", [] { return g_fontSize == 12; }, true},
        {kCmdBgImage, L"C:\\x.png", L"bgImage", L"-", [] { return g_bgImage.empty(); }, true},
        {kCmdBgImage, junk, L"bgImage", L"-", [] { return g_bgImage.empty(); }, true},
        // As "Copy as path" gives it, padded: used as the next start reads it back.
        {kCmdBgImage, L" \"" + pic + L"\"\t", L"bgImage", pic.c_str(), [&] {
             const std::wstring used = g_bgImage, font = g_fontName;
             LoadStyle();
             return used == pic && g_bgImage == used && g_fontName == font;
         }},
        {kCmdClearBg, L"", L"bgImage", L"", [] { return g_bgImage.empty() && !g_bgBitmap; }},
        {kCmdSkinFirst + 7, L"", L"skin", L"7", [] { return g_skinIndex == 7; }},
        {kCmdIconSizeFirst + 2, L"", L"iconSize", L"48", [] { return g_iconSize == 48 && g_cellW == 94; }},
        {0, L"", L"skin", L"7", [] { return true; }},
    };
    for (auto& c : cases) {
        told.clear();
        g_inputBoxAnswer = [&](const std::wstring&, const std::wstring&) { return c.answer; };
        g_sliderBoxAnswer = [&](const std::wstring&, int) { return _wtoi(c.answer.c_str()); };
        RunAppearanceCommand(g_hMainWnd, c.cmd);
        EXPECT_TRUE(Ini(L"settings", c.key) == c.stored && c.state() && told.empty() == !c.refused) << WideToUtf8(c.answer);
    }
    g_noticeShown = nullptr;
    OleUninitialize();
    EXPECT_EQ(FontSizeFromStored(IniGetInt(L"settings", L"fontSize", 13)), 12) << "the next start agrees";
}

TEST(TrayIcon, FourDrawings) {
    Gdip gdip;
    const struct { int style, x, y; uint32_t argb; } probes[] = { // argb 0: only the alpha is compared
        {0, 0, 0, 0},           {0, 16, 4, 0xFF3B82F6},  {0, 10, 10, 0xFFFFFFFF}, {1, 5, 8, 0xFFFAD25A},
        {1, 15, 20, 0xFFF5B428}, {1, 20, 8, 0},          {2, 3, 3, 0xFF1E293B},   {2, 9, 9, 0xFF60A5FA},
        {3, 8, 16, 0xFF10B981}, {3, 16, 16, 0xFFFFFFFF}, {3, 1, 1, 0},           {99, 8, 16, 0xFF10B981}};
    for (const auto& p : probes) {
        HICON icon = MakeTrayIcon(p.style);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info)) << p.style;
        BITMAPINFO bi = {};
        bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<uint32_t> px(32 * 32);
        HDC dc = GetDC(nullptr);
        GetDIBits(dc, info.hbmColor, 0, 32, px.data(), &bi, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
        DeleteObject(info.hbmColor), DeleteObject(info.hbmMask), DestroyIcon(icon);
        const uint32_t got = px[p.y * 32 + p.x];
        EXPECT_EQ(p.argb ? got : got & 0xFF000000u, p.argb) << p.style << " at " << p.x << "," << p.y;
    }
}

TEST(AutoStart, RunValueWrittenReadAndDeleted) {
    SetAutoStart(true);
    EXPECT_TRUE(IsAutoStart());
    wchar_t data[600] = {};
    DWORD size = sizeof data, type = 0;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                           L"Brindlecot", RRF_RT_ANY, &type, data, &size),
              ERROR_SUCCESS);
    const std::wstring quoted = L"\"" + GetExePath() + L"\"";
    EXPECT_EQ(std::wstring(data) + L" " + std::to_wstring(type) + L" " + std::to_wstring(size),
              quoted + L" 1 " + std::to_wstring((quoted.size() + 1) * 2));
    // A program deep in the folder tree: the value is longer than a path buffer, and still set.
    const std::wstring deep = L"\"C:\\" + std::wstring(400, L'd') + L"\\brindlecot.exe\"";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Brindlecot",
                              REG_SZ, deep.c_str(), static_cast<DWORD>((deep.size() + 1) * 2)),
              ERROR_SUCCESS);
    EXPECT_TRUE(IsAutoStart());
    SetAutoStart(false);
    EXPECT_FALSE(IsAutoStart());
}

// The program's side of an end-to-end test: run from a copy of this executable deep in the folder
// tree (Wine starts a program from such a path only from outside, not through CreateProcess).
TEST(AutoStart, WrittenByACopyOfThisProgram) {
    if (!GetEnvironmentVariableW(L"BC_WRITE_RUN_VALUE", nullptr, 0)) GTEST_SKIP() << "only in the copy";
    SetAutoStart(true);
}

// A read-only program folder is tested end to end (it needs a read-only mount); here, a missing one.
TEST(IniFile, EmptyFileGetsTheByteOrderMarkAndAWritableExeFolderKeepsTheFile) {
    wt::TempDir tmp(L"ini");
    g_iniPath = tmp / L"brindlecot.ini";
    ASSERT_TRUE(wt::WriteBytes(g_iniPath, ""));
    IniWrite(L"文件夹", L"x", L"5");
    EXPECT_EQ(wt::ReadBytes(g_iniPath).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(IniGetInt(L"文件夹", L"x", -1), 5);
    InitIniPathFor(tmp / L"sub.exe"); // "<tmp>\brindlecot.ini" as before, probed and left alone
    EXPECT_EQ(g_iniPath + L"|" + g_logPath, tmp / L"brindlecot.ini|");
    DeleteFileW(g_iniPath.c_str());
    InitIniPathFor(tmp / L"sub.exe");
    EXPECT_FALSE(wt::Exists(g_iniPath)) << "the probe leaves nothing behind";
    InitIniPathFor(tmp / L"missing\\brindlecot.exe");
    EXPECT_EQ(g_iniPath.substr(g_iniPath.size() - 42) + L"|" + g_logPath.substr(g_logPath.size() - 19),
              L"\\AppData\\Roaming\\Brindlecot\\brindlecot.ini|\\Brindlecot\\dbg.log");
    wt::RemoveTree(g_iniPath.substr(0, g_iniPath.size() - 15));
    g_iniPath.clear(), g_logPath.clear();
}

// Start-up leaves the drop targets and the tray icon until its boxes are drawn: a drop meanwhile
// finds no target (the source keeps its files), and after WM_STARTUPDONE every box has its own.
TEST_F(TrayWorld, AfterStartUpEveryBoxHasItsDropTargetAndEveryIcon) {
    OleInitialize(nullptr);
    g_groups = {{L"文档", {DeskItem(g_desktop, L"a.txt"), DeskItem(g_desktop, L"b.docx")}},
                {L"压缩包", {DeskItem(g_desktop, L"c.zip")}}};
    DeferDropTargets();
    const unsigned long drawn = BoxDrawCount();
    RefreshBoxes();
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(BoxDrawCount() - drawn, 2u);
    EXPECT_EQ(RegisteredDropTargets(), 0u);
    EXPECT_EQ(g_nid.hIcon, nullptr) << "the tray icon comes after the pictures";
    PostMessageW(g_hMainWnd, WM_STARTUPDONE, 0, 0);
    MSG msg;
    for (DWORD end = GetTickCount() + 5000; RegisteredDropTargets() < 2 && GetTickCount() < end;)
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    ComPtr<DropTarget> probe;
    *probe.put() = new DropTarget(L"x");
    for (BoxWin* box : g_boxes) {
        EXPECT_EQ(RegisterDragDrop(box->hwnd, probe.get()), DRAGDROP_E_ALREADYREGISTERED) << "the box has its own";
        for (const Item& item : box->items) EXPECT_NE(GetFileIcon(item.path), nullptr) << WideToUtf8(item.name);
    }
    EXPECT_NE(g_nid.hIcon, nullptr);
    DestroyAllBoxes();
    OleUninitialize();
}

} // namespace

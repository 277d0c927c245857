#include <gtest/gtest.h>

#include "base/log_win.h"
#include "base/process_win.h"
#include "base/strutil.h"
#include "settings/ini_win.h"
#include "settings/metrics.h"
#include "settings/settings.h"
#include "settings/settings_win.h"
#include "win/fs_fixture.h"

namespace {

// Each test gets its own INI path in a throw-away folder and the settings' initial values.
class SettingsWin : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetSettingsToDefaults();
        g_iniPath = dir_ / L"brindlecot.ini";
    }
    void TearDown() override {
        IniFlush();
        g_iniPath.clear();
        ResetSettingsToDefaults();
    }
    void WriteIni(const std::string& ansiText) { ASSERT_TRUE(wt::WriteBytes(g_iniPath, ansiText)); }
    void LoadAll() {
        LoadSkin();
        LoadStyle();
        LoadIconSize();
    }
    wt::TempDir dir_{L"settings"};
};

TEST_F(SettingsWin, MissingFileGivesEveryDefault) {
    LoadAll();
    EXPECT_EQ(g_skinIndex, 2);
    EXPECT_EQ(g_alpha, 130);
    EXPECT_EQ(g_fontName, L"Microsoft YaHei UI");
    EXPECT_EQ(g_fontSize, 13);
    EXPECT_EQ(g_bgImage, L"");
    EXPECT_TRUE(g_noOverlap);
    EXPECT_EQ(g_trayIconStyle, 0);
    EXPECT_EQ(g_iconSize, 32);
    EXPECT_EQ(g_cellW, 78);
    EXPECT_EQ(g_cellH, 84);
    EXPECT_FALSE(wt::Exists(g_iniPath)) << "reading never creates the file";
}

TEST_F(SettingsWin, StoredValuesAreClampedOrIgnored) {
    struct Case {
        const char* ini;
        int skin, alpha, fontSize, tray, icon, cellW, cellH;
        bool noOverlap;
    };
    const Case cases[] = {
        {"skin=9\r\nalpha=10\r\nfontSize=5\r\ntrayIcon=4\r\niconSize=8\r\n", 2, 30, 8, 0, 32, 78, 84, true},
        {"skin=0\r\nalpha=999\r\nfontSize=100\r\ntrayIcon=3\r\niconSize=200\r\nnoOverlap=0\r\n", 0, 255, 40, 3, 32, 78,
         84, false},
        {"skin=abc\r\nalpha=abc\r\nfontSize=abc\r\niconSize=100\r\nnoOverlap=yes\r\n", 0, 30, 8, 0, 100, 146, 152, false},
        {"skin=7\r\nalpha=200\r\nfontSize=20\r\ntrayIcon=-1\r\niconSize=16\r\nnoOverlap=5\r\n", 7, 200, 20, 0, 16, 64, 68,
         true},
    };
    for (const auto& c : cases) {
        ResetSettingsToDefaults();
        IniFlush();
        WriteIni(std::string("[settings]\r\n") + c.ini);
        LoadAll();
        SCOPED_TRACE(c.ini);
        EXPECT_EQ(g_skinIndex, c.skin);
        EXPECT_EQ(g_alpha, c.alpha);
        EXPECT_EQ(g_fontSize, c.fontSize);
        EXPECT_EQ(g_trayIconStyle, c.tray);
        EXPECT_EQ(g_iconSize, c.icon);
        EXPECT_EQ(g_cellW, c.cellW);
        EXPECT_EQ(g_cellH, c.cellH);
        EXPECT_EQ(g_noOverlap, c.noOverlap);
    }
}

TEST_F(SettingsWin, EmptyValueIsNotTheDefault) {
    WriteIni("[settings]\r\nfontName=\r\nbgImage=\r\n");
    LoadAll();
    EXPECT_EQ(g_fontName, L"") << "a present key with an empty value reads as empty";
    EXPECT_EQ(g_bgImage, L"");
}

TEST_F(SettingsWin, LongStringsKeepWhatTheirBuffersHold) {
    WriteIni("[settings]\r\nfontName=" + std::string(200, 'f') + "\r\nbgImage=C:\\" + std::string(300, 'p') + "\r\n");
    LoadAll();
    EXPECT_EQ(g_fontName.size(), 127u);
    EXPECT_EQ(g_bgImage.size(), 259u);
}

TEST_F(SettingsWin, ChineseNamesRoundTripInANewFile) {
    // A read of the missing file first: the platform's profile cache must not keep it as ANSI.
    EXPECT_EQ(IniGetInt(L"文件夹", L"x", -1), -1);
    IniWrite(L"文件夹", L"x", L"40");
    IniWrite(L"boxNames", L"压缩包", L"我的压缩包");
    IniWrite(L"manualGroups", L"报告 2024.docx", L"工作");
    SaveStyleKey(L"fontName", L"微软雅黑");
    IniFlush();
    EXPECT_EQ(IniGetInt(L"文件夹", L"x", -1), 40);
    EXPECT_EQ(IniGetString(L"boxNames", L"压缩包", L"", 256), L"我的压缩包");
    EXPECT_EQ(IniGetString(L"manualGroups", L"报告 2024.docx", L"", 256), L"工作");
    LoadStyle();
    EXPECT_EQ(g_fontName, L"微软雅黑");
    const std::string bytes = wt::ReadBytes(g_iniPath);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE")) << "the file is UTF-16LE with its byte-order mark";
    EXPECT_EQ(bytes.find("???"), std::string::npos);
}

TEST_F(SettingsWin, DeletesNeverCreateTheFile) {
    IniDeleteKey(L"freedItems", L"a.txt");
    IniDeleteSection(L"manualGroups");
    IniFlush();
    EXPECT_FALSE(wt::Exists(g_iniPath)) << "a later start must still see its first run";
    IniWrite(L"freedItems", L"a.txt", L"1");
    IniDeleteKey(L"freedItems", L"a.txt");
    IniFlush();
    EXPECT_EQ(IniGetString(L"freedItems", L"a.txt", L"gone", 16), L"gone");
}

TEST_F(SettingsWin, ExistingAnsiFileKeepsWorkingConvertedBeforeTheFirstWrite) {
    WriteIni("[settings]\r\nalpha=200\r\n");
    IniWrite(L"settings", L"skin", L"4");
    IniFlush();
    LoadAll();
    EXPECT_EQ(g_alpha, 200);
    EXPECT_EQ(g_skinIndex, 4);
    EXPECT_EQ(wt::ReadBytes(g_iniPath).substr(0, 2), std::string("\xFF\xFE"));
    EXPECT_EQ(wt::ReadBytes(g_iniPath + L".bak"), "[settings]\r\nalpha=200\r\n") << "the original kept";
}

TEST_F(SettingsWin, NothingHappensWithoutAnIniPath) {
    WriteIni("[settings]\r\nskin=4\r\n");
    const std::wstring file = g_iniPath;
    g_iniPath.clear();
    SaveStyleKey(L"skin", L"5");
    IniDeleteSection(L"settings");
    LoadAll();
    EXPECT_EQ(g_skinIndex, 2) << "nothing is read without a path";
    EXPECT_EQ(wt::ReadBytes(file), "[settings]\r\nskin=4\r\n") << "nothing is written without a path";
}

TEST_F(SettingsWin, LongSectionsAreReadWhole) {
    std::string text = "[freedItems]\r\n";
    for (int i = 0; i < 1000; ++i) text += "file number " + std::to_string(i) + ".txt=1\r\n";
    WriteIni(text);
    const std::wstring block = IniGetSection(L"freedItems");
    EXPECT_GT(block.size(), 8192u);
    EXPECT_NE(block.find(L"file number 999.txt=1"), std::wstring::npos);
    EXPECT_EQ(block.back(), L'1') << "no trailing terminators and nothing cut";
}

TEST_F(SettingsWin, AFailedWriteIsLoggedOnceWithPathAndError) {
    // Locked by another program (the read-only attribute means nothing to Wine run as root).
    WriteIni("[settings]\r\nskin=4\r\n");
    HANDLE lock = CreateFileW(g_iniPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    IniForgetWriteFailure();
    SaveStyleKey(L"skin", L"5");
    IniDeleteKey(L"settings", L"skin");
    IniDeleteSection(L"settings");
    CloseHandle(lock);
    EXPECT_EQ(wt::ReadBytes(g_iniPath), "[settings]\r\nskin=4\r\n");
    int lines = 0;
    for (const auto& line : wt::ReadDebugLog())
        lines += line == L"INI write failed, ini=" + g_iniPath + L" error=32"; // sharing violation
    EXPECT_EQ(lines, 1);
    IniForgetWriteFailure();
}

// A batch of edits (a drop of many files) leaves the file that the same edits one by one leave, in
// every form the file may have; a file held by another program when the batch ends loses nothing.
TEST_F(SettingsWin, ABatchEndsInTheFileOfTheWritesOneByOne) {
    const std::wstring text = L"[manualGroups]\r\nb.txt=old\r\nc.txt=x\r\n[freedItems]\r\na.txt=1\r\n[customBoxes]\r\n旧=1\r\n";
    const auto edits = [] {
        IniWrite(L"manualGroups", L"a.txt", L"工作");
        IniWrite(L"manualGroups", L"B.TXT", L"new");
        IniDeleteKey(L"freedItems", L"a.txt");
        IniDeleteKey(L"freedItems", L"absent.txt");
        IniDeleteSection(L"customBoxes");
        IniWrite(L"新盒子", L"x", L"40");
        IniWrite(L"customBoxes", L"新", L"1");
        IniWrite(L"manualGroups", L"a.txt", L"再");
        IniDeleteKey(L"manualGroups", L"c.txt");
        IniDeleteSection(L"nowhere");
    };
    const struct { const char* what; std::string bytes; } starts[] = {
        {"no file", ""}, {"ANSI", "[manualGroups]\r\nb.txt=old\r\nc.txt=x\r\n[freedItems]\r\na.txt=1\r\n"}, {"UTF-16LE", "utf16"}};
    for (const auto& start : starts) {
        for (int i = 0; i < 3; ++i) { // one by one, in a batch, in a batch that meets a held file
            g_iniPath = dir_ / (L"b" + IntToW(i) + L".ini");
            if (start.bytes == "utf16") {
                ASSERT_TRUE(wt::WriteIniText(g_iniPath, text));
            } else if (!start.bytes.empty()) {
                ASSERT_TRUE(wt::WriteBytes(g_iniPath, start.bytes));
            }
            const std::string before = wt::ReadBytes(g_iniPath);
            if (i > 0) IniHoldFlushes();
            edits();
            if (i == 0) continue;
            EXPECT_EQ(IniGetString(L"manualGroups", L"a.txt", L"", 16) + IniGetSection(L"customBoxes"), L"再新=1");
            HANDLE lock = i == 2 ? CreateFileW(g_iniPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                 : INVALID_HANDLE_VALUE;
            IniReleaseFlushes();
            if (lock != INVALID_HANDLE_VALUE) {
                EXPECT_EQ(IniGetString(L"manualGroups", L"b.txt", L"", 16), L"new") << "reads see what waits";
                CloseHandle(lock);
                EXPECT_EQ(wt::ReadBytes(g_iniPath), before) << start.what;
                IniFlush();
            }
            EXPECT_EQ(wt::ReadBytes(g_iniPath), wt::ReadBytes(dir_ / L"b0.ini")) << start.what << " " << i;
        }
        for (int i = 0; i < 3; ++i) DeleteFileW((dir_ / (L"b" + IntToW(i) + L".ini")).c_str());
    }
    // Edits held for one file go to that file, also when the path changes before the batch ends.
    g_iniPath = dir_ / L"x.ini";
    IniHoldFlushes();
    IniWrite(L"s", L"k", L"v");
    g_iniPath = dir_ / L"y.ini";
    IniReleaseFlushes();
    EXPECT_FALSE(wt::Exists(g_iniPath));
    g_iniPath = dir_ / L"x.ini";
    EXPECT_EQ(IniGetString(L"s", L"k", L"", 8), L"v");
    IniForgetWriteFailure();
}

std::string Narrow(const std::wstring& text, UINT codePage) { // empty when the code page lacks a character
    BOOL lossy = FALSE;
    char buf[64] = {};
    const int n = WideCharToMultiByte(codePage, 0, text.c_str(), -1, buf, 64, nullptr, codePage == CP_UTF8 ? nullptr : &lossy);
    return n > 0 && !lossy ? std::string(buf, n - 1) : std::string();
}

std::string Swapped(std::string bytes) { // UTF-16LE bytes as UTF-16BE
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

// Another program saves the file in another form while the program runs: the next write, alone or
// in a batch, brings it back first, and no Chinese name becomes "??".
TEST(IniWin, AFileSavedInAnotherFormMeanwhileIsConvertedBeforeTheNextWrite) {
    wt::TempDir dir(L"reform");
    const std::wstring text = L"[文件夹]\r\nx=5\r\n[图片]\r\ny=1\r\n";
    const struct { const char* what; std::string bytes; bool batch; } rows[] = {
        {"UTF-8", Narrow(text, CP_UTF8), false}, {"UTF-8 with mark", "\xEF\xBB\xBF" + Narrow(text, CP_UTF8), true},
        {"UTF-16BE with mark", "\xFE\xFF" + Swapped(std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2)), true}};
    for (const auto& r : rows) {
        g_iniPath = dir / (IntToW(static_cast<int>(&r - rows)) + L".ini");
        ASSERT_TRUE(wt::WriteIniText(g_iniPath, text));
        IniWrite(L"文档", L"x", L"100");
        ASSERT_TRUE(wt::WriteBytes(g_iniPath, r.bytes)); // saved by another program: the section written is gone
        if (r.batch) IniHoldFlushes();
        IniWrite(L"图片", L"x", L"7");
        IniDeleteKey(L"图片", L"y");
        if (r.batch) IniReleaseFlushes();
        IniFlush();
        const std::string bytes = wt::ReadBytes(g_iniPath);
        const std::wstring now(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
        EXPECT_EQ(IniGetSection(L"文件夹") + L"|" + IniGetSection(L"图片"), L"x=5|x=7") << r.what;
        EXPECT_TRUE(now[0] == 0xFEFF && now.find(L'?') == std::wstring::npos) << r.what;
    }
    g_iniPath.clear();
}

// One start of each form of the file: what the user stored is read, a new Chinese name is kept.
TEST(InitIniPathWin, EveryEncodingIsConvertedOnceAndKeepsItsNames) {
    const std::wstring text = L"[文件夹]\r\nx=5\r\n", ansiName = Narrow(L"文件夹", CP_ACP).empty() ? L"Café" : L"文件夹";
    const std::string utf16(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    const struct { const char* what; std::string bytes; std::wstring section; } rows[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBF" + Narrow(text, CP_UTF8), L"文件夹"}, {"UTF-8", Narrow(text, CP_UTF8), L"文件夹"},
        {"ANSI", Narrow(L"[" + ansiName + L"]\r\nx=5\r\n", CP_ACP), ansiName}, {"UTF-16LE without mark", utf16, L"文件夹"},
        {"UTF-16LE with mark", "\xFF\xFE" + utf16, L"文件夹"}, {"UTF-16BE with mark", "\xFE\xFF" + Swapped(utf16), L"文件夹"}};
    for (const auto& r : rows) {
        const bool convert = r.bytes.compare(0, 2, "\xFF\xFE") != 0;
        wt::TempDir dir(L"enc");
        ASSERT_TRUE(wt::WriteBytes(dir / L"brindlecot.ini", r.bytes));
        ASSERT_TRUE(wt::WriteBytes(dir / L"brindlecot.ini.bak", "the user's own"));
        InitIniPathFor(dir / L"brindlecot.exe");
        const std::string started = wt::ReadBytes(g_iniPath);
        EXPECT_EQ(wt::ReadBytes(g_iniPath + L".bak") + "|" + wt::ReadBytes(g_iniPath + L".bak2"),
                  "the user's own|" + (convert ? r.bytes : "")) << r.what;
        EXPECT_EQ(started == r.bytes, !convert) << r.what;
        EXPECT_EQ(wt::ReadDebugLog().back().find(L"kept in " + g_iniPath + L".bak2") != std::wstring::npos, convert);
        InitIniPathFor(dir / L"brindlecot.exe");
        EXPECT_EQ(wt::ReadBytes(g_iniPath), started) << r.what << ": converted once";
        IniWrite(L"图片", L"名字", L"盒子");
        IniFlush();
        EXPECT_EQ(IniGetString(L"图片", L"名字", L"", 16) + IniGetString(r.section.c_str(), L"x", L"", 4), L"盒子5") << r.what;
    }
    g_iniPath.clear();
}

// Another program holds the file open without sharing while the program starts: let go of during
// the wait, then held for the whole start.
TEST(InitIniPathWin, ALockedFileIsNoMissingOne) {
    wt::TempDir dir(L"locked");
    const std::wstring ini = dir / L"brindlecot.ini";
    ASSERT_TRUE(wt::WriteIniText(ini, L"[customBoxes]\r\n工作=1\r\n"));
    const std::string bytes = wt::ReadBytes(ini);
    static HANDLE lock;
    lock = CreateFileW(ini.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE releaser = CreateThread(nullptr, 0, [](void*) -> DWORD { return Sleep(300), CloseHandle(lock), 0; }, nullptr, 0, nullptr);
    InitIniPathFor(dir / L"brindlecot.exe");
    WaitForSingleObject(releaser, INFINITE);
    CloseHandle(releaser);
    EXPECT_EQ(g_iniPath + L"|" + g_logPath + IniGetSection(L"customBoxes"), ini + L"|工作=1") << "no per-user file";
    EXPECT_FALSE(g_firstRun);

    lock = CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    IniForgetWriteFailure();
    InitIniPathFor(dir / L"brindlecot.exe");
    IniWrite(L"customBoxes", L"新", L"1");
    CloseHandle(lock);
    EXPECT_EQ(g_iniPath + L"|" + g_logPath, ini + L"|") << "no per-user file";
    EXPECT_FALSE(g_firstRun) << "not a first run: no arrangement over the user's positions";
    EXPECT_EQ(wt::ReadBytes(ini), bytes);
    EXPECT_EQ(wt::ReadDebugLog().back(), L"INI held by another program at start, read as far as it can be, ini=" + ini + L" error=32");
    ASSERT_TRUE(IniReadAgain()) << "let go of";
    IniWriteHeld();
    EXPECT_EQ(IniGetSection(L"customBoxes"), std::wstring(L"工作=1\0新=1", 8)) << "what waited, merged into what was read";
    IniForgetWriteFailure();
    g_iniPath.clear();
}

TEST(InitIniPathWin, FileAndLogLiveBesideTheExeWhateverTheWorkingDirectory) {
    wt::TempDir elsewhere(L"cwd");
    wchar_t old[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, old);
    SetCurrentDirectoryW(elsewhere.Path().c_str());
    g_firstRun = false;
    InitIniPath();
    SetCurrentDirectoryW(old);
    const std::wstring exe = GetExePath();
    EXPECT_EQ(g_iniPath, DirOfPath(exe) + L"\\brindlecot.ini");
    EXPECT_EQ(g_firstRun, !wt::Exists(g_iniPath));
    g_iniPath.clear();
    g_firstRun = false;
}

} // namespace

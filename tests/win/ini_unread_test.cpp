#include "app/ini_reread_win.h"
#include "base/strutil.h"
#include "inventory/inventory_win.h"
#include "settings/ini_win.h"
#include "settings/lists_win.h"
#include "settings/settings_win.h"
#include "win/box_env.h"

namespace {

// Another program holds the INI file from before the start until the boxes stand at default places
// and one was moved: once it lets go, the boxes go to the places the file keeps, the file keeps them,
// and what the user decided meanwhile is written into it.
TEST_F(BoxWorld, AnIniHeldAtStartKeepsItsPlacesAndTakesThemOnceFree) {
    const std::wstring ini = dir_ + L"\\brindlecot.ini";
    ASSERT_TRUE(wt::WriteIniText(ini, L"[文档]\r\nx=100\r\ny=500\r\n[boxNames]\r\n文档=工作\r\n"));
    WriteFileText(g_desktop + L"\\a.txt", "a");
    HANDLE lock = CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    InitIniPathFor(dir_ + L"\\brindlecot.exe");
    ScanAll();
    LoadPos({L"文档"});
    for (size_t i = 0; i < g_groups.size(); ++i) CreateBox(g_groups[i].first, g_groups[i].second, static_cast<int>(i));
    ASSERT_EQ(g_boxes.size(), 1u);
    SavePos(L"文档", 210, 8); // the end of a move
    SetManualGroup(L"a.txt", L"文档");
    EXPECT_FALSE(ReadIniOnceFree()) << "still held";
    CloseHandle(lock);

    ASSERT_TRUE(ReadIniOnceFree());
    ASSERT_EQ(g_boxes.size(), 1u);
    const Rect at = WindowRect(g_boxes[0]->hwnd);
    EXPECT_EQ(IntToW(at.left) + L"," + IntToW(at.top) + L" " + g_boxNames[L"文档"], L"100,500 工作");
    IniFlush();
    EXPECT_EQ(GetPrivateProfileIntW(L"文档", L"x", 0, ini.c_str()) + GetPrivateProfileIntW(L"文档", L"y", 0, ini.c_str()), 600);
    wchar_t group[16] = {};
    GetPrivateProfileStringW(L"manualGroups", L"a.txt", L"", group, 16, ini.c_str());
    EXPECT_STREQ(group, L"文档");
    EXPECT_FALSE(IniUnread());
    IniForgetWriteFailure();
    g_boxNames.clear(), g_manualGroups.clear(); // what the file held is not carried into later tests
}

} // namespace

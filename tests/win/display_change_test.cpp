// A change of monitors told through the monitor seam and the notices of the main window: boxes leave
// a monitor that goes, come back with it, and the INI file keeps both layouts; a restart finds each
// box where it was left, also low in a corner with only its title band on the screen.
#include <chrono>
#include <functional>

#include "app/display_change_win.h"
#include "base/screen_win.h"
#include "boxes/display_layouts_win.h"
#include "boxes/display_set.h"
#include "boxes/layout_win.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"
#include "settings/lists_win.h"
#include "win/box_env.h"

namespace {

std::vector<MonitorInfo> g_fakeMonitors;
std::vector<MonitorInfo> FakeMonitors() { return g_fakeMonitors; }

LRESULT CALLBACK NoticeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (IsDisplayNotice(msg, wParam)) return OnDisplayNotice(hwnd), 0;
    if (msg == WM_TIMER && wParam == kDisplayTimerId) return OnDisplayTimer(hwnd), 0;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool PumpUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

class DisplayChangeWin : public BoxWorld {
  protected:
    void TearDown() override {
        SetMonitorSource(nullptr);
        g_placeSuffix.clear();
        if (wnd_) DestroyWindow(wnd_);
        BoxWorld::TearDown();
    }
    HWND wnd_ = nullptr;
};

TEST_F(DisplayChangeWin, BoxesLeaveAMonitorThatGoesAndComeBackWithIt) {
    const MonitorInfo A{{0, 0, 1600, 900}, {0, 0, 1600, 900}, 96, true};
    const MonitorInfo B{{1600, 0, 3520, 1080}, {1600, 0, 3520, 1040}, 96, false};
    g_fakeMonitors = {A, B};
    SetMonitorSource(FakeMonitors);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = NoticeProc;
    wc.hInstance = g_hInst;
    wc.lpszClassName = L"DisplayNoticeTest";
    RegisterClassW(&wc);
    wnd_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, g_hInst, nullptr);
    ASSERT_TRUE(wnd_);

    const std::vector<std::wstring> keys{L"低角", L"文档", L"右屏"};
    const Point places[] = {{1276, 870}, {40, 40}, {3100, 500}}; // low in a corner; on A; on B
    StartDisplaySet(keys);
    for (size_t i = 0; i < keys.size(); ++i) {
        CreateBox(keys[i], {}, static_cast<int>(i));
        SetBoxPos(g_boxes[i]->hwnd, places[i].x, places[i].y, 0, 0, SWP_NOSIZE);
        SavePos(keys[i], places[i].x, places[i].y);
    }
    auto at = [&](size_t i) { return WindowRect(g_boxes[i]->hwnd); };
    auto where = [&](size_t i, Point p) { return at(i).left == p.x && at(i).top == p.y; };

    g_fakeMonitors = {A}; // the second monitor unplugged
    SendMessageW(wnd_, WM_DISPLAYCHANGE, 32, MAKELPARAM(1600, 900));
    ASSERT_TRUE(PumpUntil([&] { return at(2).right <= 1600; })) << "the box of the monitor that went stays there";
    EXPECT_TRUE(where(0, places[0]) && where(1, places[1])) << "boxes on the monitor that stayed keep their places";
    const Rect carried = at(2);
    EXPECT_GE(carried.left, 0);
    EXPECT_LE(carried.bottom, 900);

    g_fakeMonitors = {B, A}; // back after sleep, listed the other way round
    PostMessageW(wnd_, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    ASSERT_TRUE(PumpUntil([&] { return where(2, places[2]); })) << "the box goes back when its monitor returns";
    EXPECT_TRUE(where(0, places[0]) && where(1, places[1]));

    // Both layouts in the file: the first set under the plain keys, the one-monitor set beside them.
    const std::wstring one = L"x@" + SetName({A}), section = IniSectionFor(keys[2]);
    EXPECT_EQ(IniGetInt(section.c_str(), L"x", -1), places[2].x);
    EXPECT_EQ(IniGetInt(section.c_str(), one.c_str(), -1), carried.left);
    EXPECT_EQ(IniGetString(L"displaySets", L"current", L"", 64), SetName({A, B}));

    // A restart with both monitors: every box where it was left.
    DestroyAllBoxes();
    g_posCache.clear();
    StartDisplaySet(keys);
    LoadPos(keys);
    std::set<std::wstring> stored;
    for (const auto& [key, place] : g_posCache) stored.insert(key);
    for (size_t i = 0; i < keys.size(); ++i) CreateBox(keys[i], {}, static_cast<int>(i));
    SettleStartedBoxes(stored);
    for (size_t i = 0; i < keys.size(); ++i)
        EXPECT_TRUE(where(i, places[i])) << "box " << i << " at " << at(i).left << "," << at(i).top;
}

} // namespace

#include <gtest/gtest.h>

#include "boxes/desktop_host.h"

namespace {

constexpr std::uintptr_t kProgman = 1, kView = 2, kIcons = 3, kIconWorker = 4, kWallWorker = 5, kShownWorker = 6,
                         kTray = 7, kApp = 8, kBox = 9;
const Rect kScreen{0, 0, 1600, 900};
const Rect kBoxRect{100, 100, 400, 300};

const Rect kCorner{1500, 0, 1600, 60};
WinInfo W(std::uintptr_t id, const wchar_t* cls, std::uintptr_t parent = 0, bool visible = true, bool shell = true,
          Rect r = kScreen) {
    return {id, cls, parent, shell, visible, false, r};
}
WinInfo App(const Rect& r) { return {kApp, L"Notepad", 0, false, true, false, r}; }
const Rect kOverBox{50, 50, 700, 500}, kElsewhere{900, 500, 1500, 850};

// Each layout as the shell leaves it; `shown`: after Win+D or the Show desktop button.
std::vector<WinInfo> Layout(int layout, bool shown) {
    const WinInfo view = W(kView, L"SHELLDLL_DefView", kProgman), icons = W(kIcons, L"SysListView32", kView);
    const WinInfo app = App(shown ? kOverBox : kElsewhere), progman = W(kProgman, L"Progman");
    auto in = [](WinInfo w, std::uintptr_t parent) { return w.parent = parent, w; };
    switch (layout) {
    case 0: // Windows 10 before the private message; Show desktop moves the view into a raised worker
        if (shown) return {W(kShownWorker, L"WorkerW"), in(view, kShownWorker), icons, app, progman};
        return {app, progman, view, icons};
    case 1: // Windows 10 and 11 up to 23H2 after it: the icons' worker raised by Win+D
        if (shown) return {W(kIconWorker, L"WorkerW"), in(view, kIconWorker), icons, app, W(kWallWorker, L"WorkerW"), progman};
        return {app, W(kIconWorker, L"WorkerW"), in(view, kIconWorker), icons, W(kWallWorker, L"WorkerW"), progman};
    case 2: // 24H2: the view and the wallpaper's worker in Progman, which Win+D raises
        if (shown) return {progman, view, icons, W(kWallWorker, L"WorkerW", kProgman), app};
        return {app, progman, view, icons, W(kWallWorker, L"WorkerW", kProgman)};
    case 3: // icons hidden: the list is hidden, the view stays
        return {app, W(kIconWorker, L"WorkerW"), in(view, kIconWorker), W(kIcons, L"SysListView32", kView, false),
                W(kWallWorker, L"WorkerW"), progman};
    case 4: // the view itself hidden
        return {app, W(kIconWorker, L"WorkerW"), W(kView, L"SHELLDLL_DefView", kIconWorker, false), icons,
                W(kWallWorker, L"WorkerW"), progman};
    case 5: return {app, progman};                                          // a shell half restarted
    case 6: return {W(kTray, L"Shell_TrayWnd", 0, true, true, kCorner), app}; // a tray without a desktop
    default: return {app, W(kProgman, L"Progman", 0, true, false, kCorner)}; // a "Progman" of another program
    }
}

// The box at the top of `parent`'s children (or at the bottom of the top-level windows).
std::vector<WinInfo> WithBox(std::vector<WinInfo> s, std::uintptr_t parent) {
    const WinInfo box{kBox, L"BrindlecotClass", parent, false, true, true, kBoxRect};
    if (parent) s.insert(s.begin(), box);
    else s.push_back(box);
    return s;
}

TEST(DesktopHost, EveryLayoutWithAndWithoutShowDesktopGivesAParentWhereTheBoxIsSeen) {
    struct Case {
        const char* name;
        int layout;
        bool shown;
        HostKind kind;
        std::uintptr_t parent;
        bool covered;        // the box in the chosen parent
        int coveredInProgman; // the same box as a child of Progman; -1: no Progman
    } cases[] = {
        {"10 before", 0, false, HostKind::View, kView, false, 0},
        {"10 before, Win+D", 0, true, HostKind::View, kView, false, 1},
        {"10 after", 1, false, HostKind::View, kView, false, 1},
        {"10 after, Win+D", 1, true, HostKind::View, kView, false, 1},
        {"24H2", 2, false, HostKind::View, kView, false, 0},
        {"24H2, Win+D", 2, true, HostKind::View, kView, false, 0},
        {"icons hidden", 3, false, HostKind::View, kView, false, 1},
        {"view hidden", 4, false, HostKind::ViewHolder, kIconWorker, false, 1},
        {"half restarted", 5, false, HostKind::ShellWindow, kProgman, false, 0},
        {"half restarted, Win+D", 5, true, HostKind::ShellWindow, kProgman, true, 1},
        {"no shell", 6, false, HostKind::None, 0, false, -1},
        {"no shell, Win+D", 6, true, HostKind::None, 0, true, -1},
        {"not the shell's", 7, false, HostKind::None, 0, false, -1},
    };
    for (const Case& c : cases) {
        const std::vector<WinInfo> s = Layout(c.layout, c.shown);
        const DesktopHost host = ChooseDesktopHost(s);
        EXPECT_EQ(host.kind, c.kind) << c.name;
        EXPECT_EQ(host.parent, c.parent) << c.name;
        EXPECT_EQ(host.view, c.parent == kView || c.parent == kIconWorker ? kView : 0) << c.name;
        EXPECT_EQ(host.iconView, host.view ? kIcons : 0) << c.name;
        EXPECT_EQ(BoxCovered(WithBox(s, host.parent), kBox), c.covered) << c.name;
        if (c.coveredInProgman >= 0) {
            EXPECT_EQ(BoxCovered(WithBox(s, kProgman), kBox), c.coveredInProgman == 1) << c.name;
        }
    }
}

TEST(DesktopHost, TheSearchForADesktopDoublesItsDelayUpTo5sAndEndsAfter2Minutes) {
    const unsigned attempts[] = {0, 1, 2, 3, 4, 5, 30}, delays[] = {250, 500, 1000, 2000, 4000, 5000, 5000};
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(DesktopRetryDelayMs(attempts[i], 119999), delays[i]);
    EXPECT_EQ(DesktopRetryDelayMs(2, 120000), 0u);
}

} // namespace

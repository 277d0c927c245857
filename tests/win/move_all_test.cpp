// Collect-all in slices from a message loop: another thread's messages are answered while it runs,
// every entry moves once, a second start is refused, what waited runs in turn, and exit stops it
// with every entry whole in one place.
#include <atomic>
#include <chrono>
#include <thread>

#include "app/app_win.h"
#include "ui/menus.h"
#include "win/inventory_fixture.h"

namespace {

constexpr UINT kProbe = WM_APP + 77;
constexpr int kEntries = 400;

std::wstring g_lastProgress;
std::vector<std::wstring> g_seenByProbe; // the progress text at each answer to the probe

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg != kProbe) return DefWindowProcW(hwnd, msg, w, l);
    g_seenByProbe.push_back(g_lastProgress);
    return 1;
}

class MoveAllWin : public InventoryWin {
  protected:
    void SetUp() override {
        InventoryWin::SetUp();
        for (int i = 0; i < kEntries; ++i) ASSERT_TRUE(wt::WriteBytes(Name(desk, i), std::to_string(i)));
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ProbeProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"MoveAllProbe";
        RegisterClassW(&wc);
        probe_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(probe_);
        g_lastProgress.clear();
        g_seenByProbe.clear();
    }
    void TearDown() override {
        StopMoveAll();
        DestroyWindow(probe_);
        InventoryWin::TearDown();
    }
    static std::wstring Name(const std::wstring& folder, int i) { return folder + L"\\e" + std::to_wstring(i) + L".txt"; }

    // Runs a message loop (as the program's main loop does) until done() or WM_QUIT, with another
    // thread sending probe messages all the while; false when the deadline passed first.
    bool LoopWithProbe(const std::function<bool()>& done) {
        std::atomic<bool> stop{false}, stopped{false};
        std::thread sender([&] {
            while (!stop) {
                DWORD_PTR r = 0;
                if (!SendMessageTimeoutW(probe_, kProbe, 0, 0, SMTO_NORMAL, 10000, &r)) ++unanswered_;
            }
            stopped = true;
        });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        bool quit = false, reached = false;
        while (!quit && !(reached = done()) && std::chrono::steady_clock::now() < deadline) {
            MsgWaitForMultipleObjectsEx(0, nullptr, 100, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) quit = true;
                DispatchMessageW(&msg);
            }
        }
        stop = true;
        MSG msg;
        while (!stopped) // answers the last probe
            if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE))
                MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_SENDMESSAGE, 0);
        sender.join();
        return reached || quit;
    }

    HWND probe_ = nullptr;
    std::atomic<int> unanswered_{0};
};

TEST_F(MoveAllWin, CollectAnswersThroughoutMovesEachEntryOnceAndOthersWaitTheirTurn) {
    std::vector<std::wstring> order;
    const MoveAllHooks hooks = {[](const std::wstring& t) { g_lastProgress = t; },
                                [&] { order.push_back(L"collected " + std::to_wstring(wt::Snapshot(store).size())); }};
    SetManualGroup(L"e1.txt", L"Work");
    ASSERT_EQ(StartMoveAll(MoveCommand::CollectAll, hooks), CommandAnswer::Run);
    EXPECT_TRUE(g_manualGroups.empty()) << "choices are forgotten as the move starts";
    EXPECT_EQ(g_lastProgress, L"收纳中 0/400");
    EXPECT_EQ(StartMoveAll(MoveCommand::CollectAll, hooks), CommandAnswer::Refuse);
    RunWhenMovesIdle([&] { order.push_back(L"drop"); });
    const MoveAllHooks back = {nullptr, [&] { order.push_back(L"restored"); }};
    EXPECT_EQ(StartMoveAll(MoveCommand::RestoreAll, back), CommandAnswer::Wait);
    EXPECT_TRUE(order.empty()) << "nothing waiting runs before the move's end";

    ASSERT_TRUE(LoopWithProbe([&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<std::wstring>{L"collected 400", L"drop", L"restored"}));
    EXPECT_EQ(unanswered_, 0);
    int midRun = 0; // answers while some entries had moved and some not
    for (const auto& seen : g_seenByProbe) midRun += !seen.empty() && seen != L"收纳中 0/400"; // "" once it ended
    EXPECT_GT(midRun, 0) << "the probe was answered only before or after the move";
    EXPECT_FALSE(MoveAllRunning());
    for (int i = 0; i < kEntries; ++i) EXPECT_EQ(wt::ReadBytes(Name(desk, i)), std::to_string(i)) << i;
    EXPECT_TRUE(wt::Snapshot(store).empty());
}

TEST_F(MoveAllWin, ExitStopsAfterTheCurrentEntryAndLeavesTheRestWhereItIs) {
    bool ended = false;
    const MoveAllHooks hooks = {[](const std::wstring& t) {
                                    // The first progress after a slice: the user chooses exit.
                                    if (!t.empty() && t != L"收纳中 0/400" && g_lastProgress.empty())
                                        RunTrayCommand(kCmdExit, POINT{});
                                    if (!t.empty() && t != L"收纳中 0/400") g_lastProgress = t;
                                },
                                [&] { ended = true; }};
    ASSERT_EQ(StartMoveAll(MoveCommand::CollectAll, hooks), CommandAnswer::Run);
    RunWhenMovesIdle([&] { ended = true; });
    ASSERT_TRUE(LoopWithProbe([] { return false; })) << "no WM_QUIT";
    EXPECT_FALSE(MoveAllRunning());
    EXPECT_FALSE(ended) << "neither the rebuild nor what waited runs after exit";
    int moved = 0;
    for (int i = 0; i < kEntries; ++i) {
        const bool there = wt::Exists(Name(store, i));
        EXPECT_NE(there, wt::Exists(Name(desk, i))) << i;
        EXPECT_EQ(wt::ReadBytes(there ? Name(store, i) : Name(desk, i)), std::to_string(i)) << i;
        moved += there;
    }
    EXPECT_EQ(L"收纳中 " + std::to_wstring(moved) + L"/400", g_lastProgress) << "stopped where the tip said";
    EXPECT_GT(moved, 0);
    EXPECT_LT(moved, kEntries);
    EXPECT_EQ(StartMoveAll(MoveCommand::CollectAll, {}), CommandAnswer::Run) << "a new run may start";
}

} // namespace

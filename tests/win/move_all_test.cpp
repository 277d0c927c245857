// Collect-all in slices from a message loop: another thread's messages are answered while it runs,
// every entry moves once, a second start is refused, what waited runs in turn, and exit stops it
// with every entry whole in one place.
#include <atomic>
#include <chrono>
#include <thread>

#include "app/tray_win.h"
#include "ui/menus.h"
#include "win/inventory_fixture.h"

namespace {

constexpr int kEntries = 400;
std::atomic<int> g_phase{0}; // of the collect-all: 0 not begun, 1 some entries moved, 2 ended
std::wstring g_lastProgress;

void NoteProgress(const std::wstring& t) {
    g_phase = t.empty() ? 2 : t == L"收纳中 0/400" ? 0 : 1;
    g_lastProgress = t;
}

class MoveAllWin : public InventoryWin {
  protected:
    void SetUp() override {
        InventoryWin::SetUp();
        for (int i = 0; i < kEntries; ++i) ASSERT_TRUE(wt::WriteBytes(Name(desk, i), std::to_string(i)));
        g_phase = 0;
        g_lastProgress.clear();
    }
    void TearDown() override { StopMoveAll(), InventoryWin::TearDown(); }
    static std::wstring Name(const std::wstring& folder, int i) { return folder + L"\\e" + std::to_wstring(i) + L".txt"; }

    // Runs a message loop like the program's until done() or WM_QUIT, while another thread sends
    // a window of this thread one message after another; false when the deadline passed first.
    bool LoopWithProbe(const std::function<bool()>& done) {
        HWND probe = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        std::atomic<bool> stop{false}, stopped{false};
        std::thread sender([&] {
            for (DWORD_PTR r = 0; !stop;) {
                if (!SendMessageTimeoutW(probe, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &r)) ++unanswered_;
                midRunAnswers_ += g_phase == 1; // answered between two slices
            }
            stopped = true;
        });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        bool quit = false, reached = false;
        MSG msg;
        while (!quit && !(reached = done()) && std::chrono::steady_clock::now() < deadline) {
            MsgWaitForMultipleObjectsEx(0, nullptr, 100, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) quit |= msg.message == WM_QUIT, DispatchMessageW(&msg);
        }
        stop = true;
        while (!stopped) PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE); // the last probe
        sender.join();
        DestroyWindow(probe);
        return reached || quit;
    }

    std::atomic<int> unanswered_{0}, midRunAnswers_{0};
};

TEST_F(MoveAllWin, CollectAnswersThroughoutMovesEachEntryOnceAndOthersWaitTheirTurn) {
    std::vector<std::wstring> order;
    const MoveAllHooks hooks = {NoteProgress, [&] { order.push_back(L"collected " + std::to_wstring(wt::Snapshot(store).size())); }};
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
    EXPECT_GT(midRunAnswers_, 0) << "the probe was answered only before or after the move";
    for (int i = 0; i < kEntries; ++i) EXPECT_EQ(wt::ReadBytes(Name(desk, i)), std::to_string(i)) << i;
    EXPECT_TRUE(wt::Snapshot(store).empty());
}

TEST_F(MoveAllWin, ExitStopsAfterTheCurrentEntryAndLeavesTheRestWhereItIs) {
    bool ended = false;
    const MoveAllHooks hooks = {[](const std::wstring& t) {
                                    const bool first = g_phase == 0;
                                    NoteProgress(t);
                                    if (first && g_phase == 1) RunTrayCommand(kCmdExit, POINT{}); // mid-run
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
    EXPECT_TRUE(moved > 0 && moved < kEntries) << moved;
    EXPECT_EQ(StartMoveAll(MoveCommand::CollectAll, {}), CommandAnswer::Run) << "a new run may start";
}

} // namespace

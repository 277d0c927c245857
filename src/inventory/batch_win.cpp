// Collect-all and restore-all in slices: a slice moves entries for about 20 ms; while nothing waits
// for the thread, slices follow one another without a pause, and when something waits, the message
// loop has its turn and a posted message (or, behind input, a timer) brings the next slice. The
// rebuild comes once at the end.
#include <deque>
#include <memory>

#include "base/log_win.h"
#include "inventory/inventory_win.h"
#include "settings/ini_win.h"

namespace {

MoveSchedule g_schedule;
std::deque<std::function<void()>> g_waiting; // the commands that wait, in the schedule's order

struct LongMove {
    MoveAllPlan plan;
    MoveAllHooks hooks;
    size_t next = 0;
    std::unique_ptr<QuietMoves> quiet; // the shell hears at most once a second, and at the end
};
std::unique_ptr<LongMove> g_move;
UINT_PTR g_timer = 0;
HWND g_sliceWnd = nullptr; // message-only window that takes the posted "next slice"
bool g_nextPosted = false;
bool g_inSlice = false;
constexpr UINT kNextSlice = WM_APP + 50;

long long NowMs() { return static_cast<long long>(GetTickCount64()); }

void RunSlices();

void CALLBACK OnSliceTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_timer) KillTimer(nullptr, g_timer);
    g_timer = 0;
    RunSlices();
}

LRESULT CALLBACK SliceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != kNextSlice) return DefWindowProcW(hwnd, msg, wParam, lParam);
    g_nextPosted = false;
    RunSlices();
    return 0;
}

bool MakeSliceWindow() {
    if (g_sliceWnd) return true;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = SliceProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BrindlecotSlices";
    RegisterClassW(&wc); // fails harmlessly when registered before
    g_sliceWnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    return g_sliceWnd != nullptr;
}

// The next slice. Posted, it comes right after the messages that wait now, sent or posted. The
// user's input comes after every posted message, though: while input waits, the next slice waits
// for the queue to be empty (a timer, the lowest of all messages).
void ScheduleNextSlice(bool inputWaits) {
    if (g_nextPosted || g_timer) return;
    if (!inputWaits && MakeSliceWindow() && PostMessageW(g_sliceWnd, kNextSlice, 0, 0)) {
        g_nextPosted = true;
        return;
    }
    g_timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, OnSliceTimer);
}

void CancelNextSlice() {
    if (g_timer) KillTimer(nullptr, g_timer);
    g_timer = 0;
    // A posted "next slice" that comes after the end finds no move and does nothing.
}

// What waits for this thread: 0 (nothing), else the queue-status bits of what waits.
UINT WaitingMessages() { return HIWORD(GetQueueStatus(QS_ALLINPUT)); }

void RunNextWaiting();

void BeginLongMove(MoveCommand command, const MoveAllHooks& hooks) {
    auto move = std::make_unique<LongMove>();
    move->hooks = hooks;
    if (!PrepareMoveAll(command, move->plan)) move->plan.names.clear(); // ends at the first slice
    g_schedule.Begin(move->plan.names.size(), NowMs());
    move->quiet = std::make_unique<QuietMoves>();
    g_move = std::move(move);
    if (g_move->hooks.progress) g_move->hooks.progress(g_schedule.ProgressText());
    ScheduleNextSlice(false);
}

void EndLongMove() {
    std::unique_ptr<LongMove> move = std::move(g_move);
    move->quiet.reset(); // the shell hears of the last moves
    if (move->hooks.progress) move->hooks.progress(L"");
    if (move->hooks.done) move->hooks.done();
    RunNextWaiting();
}

// One slice; false when the move has ended (or was stopped).
bool RunSlice() {
    LongMove& m = *g_move;
    const long long start = NowMs();
    size_t moved = 0;
    while (g_move && m.next < m.plan.names.size() && g_schedule.SliceTakesMore(moved, start, NowMs())) {
        MoveOneOf(m.plan, m.next++);
        g_schedule.Handled();
        ++moved;
    }
    if (!g_move) return false; // stopped while the shell was told something
    if (m.next >= m.plan.names.size()) {
        EndLongMove();
        return false;
    }
    if (g_schedule.ShellNoticeDue(NowMs())) FlushShellNotices(), IniWriteHeld();
    // A copy: the hook may end the program, and with it this move.
    const auto progress = m.hooks.progress;
    if (progress) progress(g_schedule.ProgressText());
    return g_move != nullptr;
}

void RunSlices() {
    if (!g_move) return;
    if (g_inSlice) return ScheduleNextSlice(true); // a nested message loop inside a slice: the outer one goes on
    g_inSlice = true;
    bool more = true;
    UINT waiting = 0;
    do {
        more = RunSlice();
    } while (more && (waiting = WaitingMessages()) == 0);
    g_inSlice = false;
    if (more) ScheduleNextSlice((waiting & ~(QS_SENDMESSAGE | QS_POSTMESSAGE)) != 0);
}

// The running move ended: the commands that waited run in their turn, up to the next long move.
void RunNextWaiting() {
    for (;;) {
        const MoveCommand next = g_schedule.Finish();
        if (next == MoveCommand::None || g_waiting.empty()) return;
        std::function<void()> command = std::move(g_waiting.front());
        g_waiting.pop_front();
        command();
        if (next != MoveCommand::Other) return; // a long move began: the others wait for its end
    }
}

} // namespace

CommandAnswer StartMoveAll(MoveCommand command, const MoveAllHooks& hooks) {
    const CommandAnswer answer = g_schedule.Ask(command);
    if (answer == CommandAnswer::Run) BeginLongMove(command, hooks);
    if (answer == CommandAnswer::Wait) g_waiting.push_back([command, hooks] { BeginLongMove(command, hooks); });
    if (answer == CommandAnswer::Refuse) LogDbg(L"MoveAll: refused, the same move runs or waits already");
    return answer;
}

void RunWhenMovesIdle(std::function<void()> command) {
    const CommandAnswer answer = g_schedule.Ask(MoveCommand::Other);
    if (answer == CommandAnswer::Run) return command();
    if (answer == CommandAnswer::Wait) g_waiting.push_back(std::move(command));
}

bool MoveAllRunning() { return g_move != nullptr; }

void StopMoveAll() {
    CancelNextSlice();
    g_schedule.Stop();
    g_waiting.clear();
    if (!g_move) return;
    LogDbg(L"MoveAll: stopped at " + std::to_wstring(g_move->next) + L" of " +
           std::to_wstring(g_move->plan.names.size()) + L"; the rest stays where it is");
    g_move.reset(); // its QuietMoves tells the shell of what moved
}

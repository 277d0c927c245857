// Long moves (collect-all, restore-all) run in short slices on the one thread, so the program keeps
// answering while they run. This decides what a slice may do, what the user sees of the progress,
// which commands may start, which wait and which are refused, and what exit leaves behind; the
// Windows side lists, moves and returns to its message loop between slices.
#pragma once
#include <cstddef>
#include <deque>
#include <string>

enum class MoveCommand {
    None,
    CollectAll, // every desktop entry into the hidden store
    RestoreAll, // every stored entry back onto the desktop
    Other,      // any other command that moves files (a drop): short, runs whole
};

enum class CommandAnswer {
    Run,    // nothing moves files now: it runs at once
    Wait,   // a long move runs: it runs after it (and after what waited before it)
    Refuse, // the same long move runs or waits already
};

constexpr long long kSliceMs = 20;         // work of one slice before the message loop has its turn
constexpr long long kShellNoticeMs = 1000; // while a long move runs, the shell hears of it at most this often

// Tray tip while a long move runs: "收纳中 1234/3000" or "还原中 12/40".
std::wstring MoveProgressText(MoveCommand command, size_t done, size_t total);

class MoveSchedule {
  public:
    // A command that moves files asks to start. Run: a long one becomes the running move (see
    // Begin); Wait: it is queued and comes back from Finish in its turn.
    CommandAnswer Ask(MoveCommand command);

    // The running long move has listed its entries (at ms on a steady clock).
    void Begin(size_t total, long long ms);
    // Whether the current slice, started at sliceStartMs, takes one more entry at nowMs. A slice
    // always takes its first entry, so every slice makes progress.
    bool SliceTakesMore(size_t movedInSlice, long long sliceStartMs, long long nowMs) const;
    // One entry was handled (moved or left where it is); each entry is handled once.
    void Handled() { if (done_ < total_) ++done_; }
    bool AllHandled() const { return done_ >= total_; }
    size_t Done() const { return done_; }
    size_t Total() const { return total_; }
    MoveCommand Running() const { return running_; }
    std::wstring ProgressText() const { return MoveProgressText(running_, done_, total_); }

    // After a slice: whether the shell hears now of what has moved since it last heard (at most
    // once every kShellNoticeMs while the move runs). The end of a move always tells it.
    bool ShellNoticeDue(long long nowMs);

    // The running move ended (every entry handled): the next command that waited, which runs now
    // (a long one becomes the running move), or None.
    MoveCommand Finish();

    // The program ends: the running move stops after the entry it is on, what is left stays
    // where it is, and what waited does not run. Returns whether a long move was running.
    bool Stop();

  private:
    MoveCommand running_ = MoveCommand::None;
    std::deque<MoveCommand> waiting_;
    size_t total_ = 0;
    size_t done_ = 0;
    long long lastNoticeMs_ = 0;
};

#include "inventory/batch.h"

#include <algorithm>

#include "base/strutil.h"

std::wstring MoveProgressText(MoveCommand command, size_t done, size_t total) {
    const wchar_t* what = command == MoveCommand::RestoreAll ? L"还原中 " : L"收纳中 ";
    return what + IntToW(static_cast<int>(done)) + L"/" + IntToW(static_cast<int>(total));
}

namespace {
bool IsLong(MoveCommand c) { return c == MoveCommand::CollectAll || c == MoveCommand::RestoreAll; }
} // namespace

CommandAnswer MoveSchedule::Ask(MoveCommand command) {
    if (command == MoveCommand::None) return CommandAnswer::Refuse;
    if (IsLong(command) &&
        (running_ == command || std::find(waiting_.begin(), waiting_.end(), command) != waiting_.end()))
        return CommandAnswer::Refuse;
    // What waits keeps its turn: nothing overtakes it, even once the running move has ended.
    if (running_ != MoveCommand::None || !waiting_.empty()) {
        waiting_.push_back(command);
        return CommandAnswer::Wait;
    }
    if (IsLong(command)) {
        running_ = command;
        total_ = done_ = 0;
    }
    return CommandAnswer::Run;
}

void MoveSchedule::Begin(size_t total, long long ms) {
    total_ = total;
    done_ = 0;
    lastNoticeMs_ = ms;
}

bool MoveSchedule::SliceTakesMore(size_t movedInSlice, long long sliceStartMs, long long nowMs) const {
    return movedInSlice == 0 || nowMs - sliceStartMs < kSliceMs;
}

bool MoveSchedule::ShellNoticeDue(long long nowMs) {
    if (running_ == MoveCommand::None) return false;
    if (AllHandled() || nowMs - lastNoticeMs_ >= kShellNoticeMs) {
        lastNoticeMs_ = nowMs;
        return true;
    }
    return false;
}

MoveCommand MoveSchedule::Finish() {
    running_ = MoveCommand::None;
    total_ = done_ = 0;
    if (waiting_.empty()) return MoveCommand::None;
    const MoveCommand next = waiting_.front();
    waiting_.pop_front();
    if (IsLong(next)) running_ = next;
    return next;
}

bool MoveSchedule::Stop() {
    const bool wasRunning = running_ != MoveCommand::None;
    running_ = MoveCommand::None;
    waiting_.clear();
    total_ = done_ = 0;
    return wasRunning;
}

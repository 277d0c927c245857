// Which file-moving commands run, wait or are refused around a long move, what exit leaves, how
// slices end and when the shell hears of the moves.
#include <gtest/gtest.h>

#include <tuple>

#include "inventory/batch.h"

namespace {

using C = MoveCommand;
using A = CommandAnswer;

TEST(MoveSchedule, CommandsRunWaitOrAreRefusedInTurn) {
    // op: 'a' asks for `command` (answer expected), 'f' ends the running move (`next` runs), 's' exit.
    struct Step { char op; C command; A answer; C next; C runningAfter; };
    const Step steps[] = {
        {'a', C::Other, A::Run, C::None, C::None},              // idle: a drop runs at once
        {'a', C::CollectAll, A::Run, C::None, C::CollectAll},
        {'a', C::CollectAll, A::Refuse, C::None, C::CollectAll}, // never twice
        {'a', C::Other, A::Wait, C::None, C::CollectAll},       // drops wait for the end
        {'a', C::RestoreAll, A::Wait, C::None, C::CollectAll},
        {'a', C::RestoreAll, A::Refuse, C::None, C::CollectAll}, // already waits
        {'a', C::Other, A::Wait, C::None, C::CollectAll},
        {'f', C::None, A::Run, C::Other, C::None},               // the first drop's turn
        {'a', C::Other, A::Wait, C::None, C::None},              // what waits keeps its turn
        {'f', C::None, A::Run, C::RestoreAll, C::RestoreAll},
        {'a', C::CollectAll, A::Wait, C::None, C::RestoreAll},
        {'f', C::None, A::Run, C::Other, C::None},
        {'f', C::None, A::Run, C::Other, C::None},
        {'f', C::None, A::Run, C::CollectAll, C::CollectAll},
        {'a', C::RestoreAll, A::Wait, C::None, C::CollectAll},
        {'s', C::None, A::Run, C::None, C::None},                // exit: nothing that waited runs
        {'f', C::None, A::Run, C::None, C::None},
        {'a', C::RestoreAll, A::Run, C::None, C::RestoreAll},    // a new run starts afresh
        {'a', C::None, A::Refuse, C::None, C::RestoreAll},
    };
    MoveSchedule s;
    int i = 0;
    for (const Step& st : steps) {
        const A answer = st.op == 'a' ? s.Ask(st.command) : A::Run;
        const C next = st.op == 'f' ? s.Finish() : C::None;
        if (st.op == 's') s.Stop();
        EXPECT_EQ(answer, st.answer) << "step " << i;
        EXPECT_EQ(next, st.next) << "step " << i;
        EXPECT_EQ(s.Running(), st.runningAfter) << "step " << i;
        ++i;
    }
}

TEST(MoveSchedule, SlicesProgressAndShellNotices) {
    MoveSchedule s;
    ASSERT_EQ(s.Ask(C::CollectAll), A::Run);
    s.Begin(3000, 5000);
    // A slice always takes its first entry, however late, and no more once its time is used.
    EXPECT_EQ(std::make_tuple(s.SliceTakesMore(0, 5000, 9000), s.SliceTakesMore(7, 5000, 5000 + kSliceMs - 1),
                              s.SliceTakesMore(7, 5000, 5000 + kSliceMs)),
              std::make_tuple(true, true, false));
    // The shell hears at most once a second, counted from the start.
    const bool early = s.ShellNoticeDue(5999), second = s.ShellNoticeDue(6000), again = s.ShellNoticeDue(6500);
    EXPECT_EQ(std::make_tuple(early, second, again), std::make_tuple(false, true, false));
    for (int k = 0; k < 1234; ++k) s.Handled();
    EXPECT_EQ(s.ProgressText(), L"收纳中 1234/3000");
    for (int k = 0; k < 5000; ++k) s.Handled();
    EXPECT_EQ(s.Done(), 3000u) << "an entry is never counted twice";
    EXPECT_TRUE(s.ShellNoticeDue(6501)) << "the end always tells the shell";
    EXPECT_EQ(MoveProgressText(C::RestoreAll, 12, 40), L"还原中 12/40");
    EXPECT_EQ(s.Finish(), C::None);
    EXPECT_FALSE(s.ShellNoticeDue(99999)) << "nothing runs, nothing to tell";
}

} // namespace

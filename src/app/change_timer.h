// When the boxes follow changes of the desktop folder: a burst of changes (a copy of many files,
// our own moves, a collect-all) waits for a quiet moment and is taken up once; a burst that never
// quiets is taken up after a longest wait; nothing is taken up while the user is in the middle of
// something (a resize, an item drag, a rebuild that holds the boxes). Times are milliseconds of any
// steadily rising clock.
#pragma once
#include <cstdint>

class ChangeTimer {
  public:
    static constexpr uint32_t kForever = 0xFFFFFFFF; // the platform's INFINITE
    static constexpr uint64_t kQuietMs = 200;       // no change for this long ends a burst
    static constexpr uint64_t kLongestMs = 2000;    // a burst that goes on is taken up after this
    static constexpr uint64_t kDeafMs = 50;         // after a change the folders are not listened to

    // A change notification arrived.
    void Changed(uint64_t now);
    bool Pending() const { return pending_; }
    // Whether the loop listens to the folders now: not for a moment after each change, so that a
    // storm of changes (or a folder that signals without end) wakes it at most every kDeafMs; the
    // changes meanwhile wait in their notifications.
    bool Listening(uint64_t now) const { return !pending_ || now >= last_ + kDeafMs; }
    // How long the loop may wait before it must look again: kForever when nothing is pending or
    // while the user is busy (the end of what keeps them busy comes as a message); else until the
    // changes are due or, sooner, until it listens again.
    uint32_t WaitMs(uint64_t now, bool busy) const;
    // True when the changes are to be taken up now; they are then forgotten.
    bool Due(uint64_t now, bool busy);

  private:
    uint64_t DueAt() const;
    bool pending_ = false;
    uint64_t first_ = 0; // first change of the burst
    uint64_t last_ = 0;  // latest change
};

// A cache that keeps what is in use and lets go of the rest: entries live in a current and a previous
// generation; a hit in the previous one moves back to the current one, and when the current one is
// full it becomes the previous one and the old previous one goes. So it never holds more than twice
// its limit, and an entry not asked for while a whole generation filled up is gone.
#pragma once
#include <cstddef>
#include <map>
#include <utility>

template <class Key, class Value> class RecentCache {
  public:
    explicit RecentCache(size_t limit) : limit_(limit > 0 ? limit : 1) {}

    // The entry of key, or null; valid until the next Find, Put or Clear.
    Value* Find(const Key& key) {
        const auto it = current_.find(key);
        if (it != current_.end()) return &it->second;
        const auto old = previous_.find(key);
        if (old == previous_.end()) return nullptr;
        Value& kept = current_.emplace(key, std::move(old->second)).first->second;
        previous_.erase(old);
        Roll();
        return &kept;
    }

    // Stores value under key (replacing what was there) and returns it.
    Value& Put(const Key& key, Value value) {
        previous_.erase(key);
        auto it = current_.find(key);
        if (it != current_.end()) {
            it->second = std::move(value);
        } else {
            it = current_.emplace(key, std::move(value)).first;
        }
        Value& stored = it->second;
        Roll();
        return stored;
    }

    void Clear() {
        current_.clear();
        previous_.clear();
    }

    size_t Size() const { return current_.size() + previous_.size(); }

  private:
    // A full current generation becomes the previous one (map nodes move, so pointers stay valid).
    void Roll() {
        if (current_.size() < limit_) return;
        previous_ = std::move(current_);
        current_.clear();
    }

    size_t limit_;
    std::map<Key, Value> current_, previous_;
};

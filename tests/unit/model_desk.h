// A desk of boxes held in memory: rectangles, a screen, and the record of every move.
#pragma once
#include <vector>

#include "boxes/layout.h"

struct DeskMove {
    int box;
    int x;
    int y;
    bool operator==(const DeskMove& o) const { return box == o.box && x == o.x && y == o.y; }
};

class ModelDesk : public BoxDesk {
  public:
    ModelDesk(Size screen, std::vector<Rect> rects) : screen_(screen), rects(std::move(rects)) {}
    int Count() const override { return static_cast<int>(rects.size()); }
    Rect RectOf(int i) const override {
        ++reads;
        return rects[static_cast<size_t>(i)];
    }
    void Move(int i, int x, int y) override {
        Rect& r = rects[static_cast<size_t>(i)];
        r = {x, y, x + r.Width(), y + r.Height()};
        moves.push_back({i, x, y});
    }
    void Place(int i, const Rect& r) override {
        rects[static_cast<size_t>(i)] = r;
        moves.push_back({i, r.left, r.top});
    }
    Size Screen() const override { return screen_; }

    Size screen_;
    std::vector<Rect> rects;
    std::vector<DeskMove> moves; // every move, each of which also saved the position
    mutable long long reads = 0;
};

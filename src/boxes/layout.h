// Keeping boxes apart and arranging them: the decisions over "the boxes on one screen".
// The Windows side adapts the live box windows to BoxDesk; tests use a model desk.
#pragma once
#include <optional>
#include <vector>

#include "base/geom.h"

// The boxes on the primary screen, in creation order. Rectangles are screen coordinates.
class BoxDesk {
  public:
    virtual ~BoxDesk() = default;
    virtual int Count() const = 0;
    virtual Rect RectOf(int i) const = 0;
    // Moves box i so that its top-left corner is (x, y), keeping its size, and remembers the
    // position (the INI file on Windows).
    virtual void Move(int i, int x, int y) = 0;
    // Gives box i the rectangle r (a new height where the box did not fit), remembering the
    // position; a size changed so is not remembered (a stored size stays as the user made it).
    virtual void Place(int i, const Rect& r) = 0;
    virtual Size Screen() const = 0;
};

// True when a and b intersect with positive extent; rectangles that only touch do not overlap.
bool RectsOverlap(const Rect& a, const Rect& b);
// The area two rectangles share; 0 when they do not meet.
long long OverlapArea(const Rect& a, const Rect& b);
// The same test with every side of a widened by m.
bool RectsOverlapGap(const Rect& a, const Rect& b, int m);
int AbsI(int v);

// r overlaps a box other than box `except`.
bool OverlapsAnyExcept(const BoxDesk& desk, const Rect& r, int except);
// r overlaps (with margin m) a box other than b1 and b2.
bool OverlapsAnyExcept2(const BoxDesk& desk, const Rect& r, int b1, int b2, int m);

// Moves box i to the first free place on 16-pixel square rings around its corner; false if none.
bool FindFreeSpot(BoxDesk& desk, int i);
// Slides box i straight away from box `anchor` until the screen edge or a third box stops it,
// else tries the top edge of the screen beside the anchor; false if the box did not move.
bool PushBoxAway(BoxDesk& desk, int i, int anchor);
// Clears overlaps, one box per pass, at most 200 passes. anchor < 0: none.
void ResolveOverlaps(BoxDesk& desk, int anchor);
// Shoves boxes out of the way of box `resized`, at most 100 passes, each kept on the screen.
void PushBoxesLive(BoxDesk& desk, int resized);
// The same with several monitors (`screens`, their rectangles, the primary one first): a pushed box is
// kept on the monitor that holds most of it.
void PushBoxesLive(BoxDesk& desk, int resized, const std::vector<Rect>& screens);
// Stacks the boxes (ordered by top, then left) in columns from the top-right corner.
void AutoArrange(BoxDesk& desk);

// What InReach secures. Either way the top of the box's title band comes inside the work area that
// holds most of the band (the primary one where none holds any of it).
enum ReachRule : unsigned {
    kReachBand = 1,   // the whole title band: the box also moves sideways (the end of a move or resize)
    kReachBottom = 2, // the bottom edge: the height is cut to what fits below the top, never below
                      // the minimum (a lower box keeps its height); where even that does not fit, the
                      // box moves up (after start, a rebuild, a new box, auto-arrange)
};
// Where a box must lie to be within reach, moved the least distance. `areas` are the monitors'
// work areas, the primary one first; `rules` a set of ReachRule.
Rect InReach(const Rect& box, const std::vector<Rect>& areas, unsigned rules, int minHeight);

// The highest, then leftmost corner in `home` at which a box of `size` overlaps none of `others`.
std::optional<Point> FreePlaceIn(const std::vector<Rect>& others, Size size, const Rect& home);

constexpr int kResolvePasses = 200;
constexpr int kLivePushPasses = 100;
constexpr int kRingStep = 16;

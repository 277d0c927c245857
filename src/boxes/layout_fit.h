// Boxes wholly on the screens and, where they must not overlap, none over another: where they do not
// all fit at their sizes they get shorter (their entries scroll), then narrower, before any is left
// off a screen or over another box. Rectangles are screen coordinates; `areas` are the monitors' work
// areas, the primary one first. A box belongs to the work area that holds most of it.
#pragma once
#include <optional>
#include <vector>

#include "base/geom.h"
#include "boxes/layout.h"

// The work area that holds most of r; the primary one (the first) where none holds any of it.
Rect AreaOf(const Rect& r, const std::vector<Rect>& areas);
// r moved the least distance into `area`, cut to the area's width and height where it is larger.
Rect IntoArea(const Rect& r, const Rect& area);
// The free corner nearest to `from` at which a box of `size` lies wholly in one of `areas` and
// overlaps none of `others`; none when no such place exists.
std::optional<Point> NearestFreePlace(const std::vector<Rect>& others, Size size, Point from,
                                      const std::vector<Rect>& areas);

// Brings every box wholly into its work area and, with noOverlap, clears every overlap. Boxes are
// visited in the order `first`, then the rest in creation order; the first `staying` boxes of `first`
// keep their rectangles whatever they are (boxes kept through a rebuild). A visited box that overlaps
// one visited before it goes to the nearest free place at its size; where there is none, at the
// greatest height that has one (not below the minimum), then the greatest width. When a box finds no
// place even so, every box is arranged anew (ArrangeToFit). Unchanged boxes are not touched. A box
// looks for a free place on its own work area first. Boxes of `ownPlaces` are where the user's hand put
// them: like the end of a move, they stay where their whole title band is within reach (InReach with
// kReachBand) instead of being brought wholly onto their work area.
void SettleBoxes(BoxDesk& desk, const std::vector<Rect>& areas, bool noOverlap, const std::vector<int>& first,
                 size_t staying = 0, const std::vector<int>& ownPlaces = {});

// Stacks the boxes of each work area (ordered by top, then left) in columns from its top-right corner,
// as AutoArrange does on the screen: every box stays on the work area that holds most of it (a box on
// none counts as the primary's). Where a work area's boxes do not all fit, every one taller than a
// common height is cut to it (the largest height at which all fit, not below the minimum), then
// likewise narrowed; boxes that find no place even at the minimum size are put in a cascade on it.
void ArrangeToFit(BoxDesk& desk, const std::vector<Rect>& areas);

// Box i has just been expanded at its corner: it is cut to the room below its top (in its work area
// and, with noOverlap, above the boxes under it) where that leaves it the minimum height or more;
// otherwise it is settled after every other box (SettleBoxes), which keep their places.
void FitExpanded(BoxDesk& desk, int i, const std::vector<Rect>& areas, bool noOverlap);

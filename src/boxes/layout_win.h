// The live box windows laid out: free places, pushing apart, arranging, keeping titles reachable.
#pragma once
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/geom.h"
#include "base/monitors.h"
#include "base/win.h"

struct BoxWin;

// Brings a box window's whole title band inside the work area that holds most of it, the least
// distance (the end of a move or a resize). True when it moved; the caller saves the position.
bool KeepTitleInReach(HWND hwnd);
// A box about to be made for `key` without a remembered place gets the highest, then leftmost free
// place wholly on the primary work area, where there is one.
void PlaceNewBox(const std::wstring& key);

bool FindFreeSpot(BoxWin* box);
bool PushBoxAway(BoxWin* box, BoxWin* anchor);
bool OverlapsAnyExcept(const RECT& r, BoxWin* box);
bool OverlapsAnyExcept2(const RECT& r, BoxWin* b1, BoxWin* b2, int margin);
// With no-overlap on: clears overlaps (nullptr: no anchor), then settles the boxes (SettleBoxes) with
// the anchor keeping its place where it can: where the user's hand left it, with its title band
// within reach. The pushes and free-spot search that know only the primary screen run only while
// there is one monitor; with more, the settling alone keeps every box on its own work area.
void ResolveOverlaps(BoxWin* anchor);
// Columns from the top-right corner of the primary work area; where they do not fit, shorter boxes.
void AutoArrange();
// Every box wholly on a work area and, with no-overlap on, none over another; where they do not all
// fit, boxes get shorter. The boxes of `staying` keep their places and sizes (those kept by a rebuild).
// Boxes of `own` are where the user put them: they stay where their title band is within reach.
void SettleBoxes(const std::vector<BoxWin*>& staying = {}, const std::vector<BoxWin*>& own = {});
// After start: overlaps cleared as ResolveOverlaps(nullptr) does and every box settled; the boxes of
// `storedKeys` start at the places stored for them, where their title band is within reach, as a
// move's end leaves a box.
void SettleStartedBoxes(const std::set<std::wstring>& storedKeys);
// The monitors changed from `from` to `to`: boxes go to `saved` (by box, in g_boxes order) where it
// has a place, the others are carried over from monitors that are gone; then settled.
void ChangeDisplaysLive(const std::vector<std::optional<Point>>& saved, const std::vector<MonitorInfo>& from,
                        const std::vector<MonitorInfo>& to);
// A box just expanded: cut to the room below it, or settled after all others, which stay.
void FitExpandedBox(BoxWin* box);
void PushBoxesLive(BoxWin* box);

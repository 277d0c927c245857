// Layouts per set of monitors. A set is named by how many monitors there are and each one's
// rectangle and DPI, in a sorted order: never by device names or the order the system lists them in,
// which change after sleep. Each set keeps its own places of the boxes; the set seen first keeps them
// under the plain position keys.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "base/geom.h"
#include "base/monitors.h"
#include "boxes/layout.h"

// The monitors sorted by rectangle, then DPI (the primary flag and work areas are kept, not compared).
std::vector<MonitorInfo> SortedSet(std::vector<MonitorInfo> monitors);
// The same monitors: count, rectangles and DPIs, in any order.
bool SameSet(const std::vector<MonitorInfo>& a, const std::vector<MonitorInfo>& b);
// Eight hex digits naming the set (a hash of its sorted rectangles and DPIs).
std::wstring SetName(const std::vector<MonitorInfo>& monitors);
// The set written out, each monitor's rectangle, DPI, work area and primary flag:
// "l,t,r,b,dpi,wl,wt,wr,wb,p;..." sorted; ParseSet reads it back (none for text it does not know).
std::wstring DescribeSet(const std::vector<MonitorInfo>& monitors);
std::optional<std::vector<MonitorInfo>> ParseSet(const std::wstring& text);

// Where a box at `box` goes when the monitors change from `from` to `to` and the new set has no place
// of its own for it: on a monitor that is still there (the same rectangle) it stays; on one that is
// gone it goes to the remaining monitor nearest to that one, at the same relative place in its work
// area (the share of the room left and above the box).
Rect CarryOver(const Rect& box, const std::vector<MonitorInfo>& from, const std::vector<MonitorInfo>& to);

// The boxes once the monitors are `to` (they were `from`): a box with a place in `saved` (this set's
// layout, by box; none where it has none) goes there, every other one is carried over. Then every box
// is settled on the new work areas: a saved place, and the place of a box whose monitor stayed, is
// kept where its title band is within reach (it is where the user left it); a carried box lies wholly
// on a work area. With noOverlap none lies over another; without, a carried box does not come to
// cover a box it did not cover before.
void ChangeDisplays(BoxDesk& desk, const std::vector<std::optional<Point>>& saved,
                    const std::vector<MonitorInfo>& from, const std::vector<MonitorInfo>& to, bool noOverlap);

// Each set of monitors keeps its own layout of the boxes in the INI file. The section "displaySets"
// names the set that keeps the plain position keys ("home"), the set shown last ("current"), and
// describes every set seen ("<name>=<monitors>", DescribeSet). Places of the other sets are the keys
// "x@<name>" and "y@<name>" beside "x" and "y" in the box's section.
#pragma once
#include <set>
#include <string>
#include <vector>

#include "base/monitors.h"

// Before the stored places are read at start: which set is shown, and the keys of its places
// (g_placeSuffix). When it has no place for any of `keys` but the set shown last has, those places
// are carried over into g_posCache (from monitors that are gone to the nearest that remains).
void StartDisplaySet(const std::vector<std::wstring>& keys);
// After the boxes of the start are settled: a layout carried over becomes this set's.
void FinishStartDisplaySet();
// The monitors now, once they have stopped changing: every box to its place in this set's layout
// where it has one, else carried over; the result is saved as this set's layout.
void ShowDisplaySet(const std::vector<MonitorInfo>& now);
// The set the boxes are laid out for.
const std::vector<MonitorInfo>& ShownDisplaySet();

// Size and place of a new box.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "base/geom.h"
#include "settings/metrics.h"

constexpr int kDefaultColumns = 4;

// (cellW and cellH at `dpi`, the margins scaled to it.)
// Four cells plus the margin wide, as many rows of four as the items need (at least one) high.
Size DefaultBoxSize(int cellW, int cellH, size_t itemCount, int dpi = kBaseDpi);
// A computed default height no taller than the work area (at least the minimum height), so a box
// of many items scrolls instead of running off the screen. Stored sizes are not capped.
int CapDefaultHeight(int computed, int workAreaHeight, int minimum = kMinBoxHeight);
// The corner of box number `index` before any remembered position: a row along the top.
Point DefaultBoxPos(int index);
// A stored "_size" value replaces the computed one only from the minimum up.
int StoredOrComputed(int stored, int minimum, int computed);
// The same for a length read from the file, which may be any int: a stored value from the minimum
// up is used, but never longer than `most` (the virtual screen's extent on that axis), so no stored
// number makes a box larger than every screen together; `most` below the minimum counts as the minimum.
int StoredLength(int stored, int minimum, int computed, int most);

// The shell's process: its image name contains "explorer.exe" (letter case as written).
bool IsShellImageName(const std::wstring& imageName);

// How far the item grid of a box may scroll down: rows of `cellH` pixels in as many columns as
// the client width holds (at least one), less the client height under the title and margins;
// never below 0. The wheel clamps to it, and a box whose rows do not fit can reach its last row.
int MaxScrollY(size_t itemCount, int clientW, int clientH, int cellW, int cellH, int dpi = kBaseDpi);
// The scroll offset nearest to `scrollY` at which item `index` shows whole below the title bar.
int ScrollToShow(int index, int scrollY, size_t itemCount, int clientW, int clientH, int cellW, int cellH,
                 int dpi = kBaseDpi);

// The key a new box gets when the user names it `name`, given the keys that exist already. The INI
// file compares section and key names without regard to letter case, so a name that equals an
// existing key except for case is that box: its key comes back, spelled as it exists (an exact match
// first). Case is folded as file names fold it (SameNameIgnoreCase), which covers at least the
// ASCII letters that every profile implementation folds.
std::wstring NewBoxKey(const std::wstring& name, const std::vector<std::wstring>& existingKeys);

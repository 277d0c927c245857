// Reading the list sections of the INI file and the remembered positions, apart from the platform.
#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/geom.h"

// The lines of a section block as the platform returns it ("line\0line\0...", the final NULs
// optional) split at each line's first "=": (stored key, stored value). Lines without "=" are left out.
std::vector<std::pair<std::wstring, std::wstring>> SplitSectionLines(const std::wstring& block);

// A map section (manualGroups, boxNames): decoded name -> decoded value; a later line replaces an
// earlier one with the same name.
std::map<std::wstring, std::wstring> ParseMapSection(const std::wstring& block);

// A set section (freedItems, hiddenBoxes, customBoxes): the decoded names, in file order, duplicates
// kept. Only the presence of a key counts; its value (even "0") does not.
std::vector<std::wstring> ParseSetSectionKeys(const std::wstring& block);

// The log lines of loading the hidden boxes.
std::vector<std::wstring> HiddenBoxesLoadLog(const std::wstring& iniPath,
                                             const std::vector<std::wstring>& keys, size_t total);

// A stored position: both coordinates 0 or more give the box rectangle (x, y, x + 240, y + 360).
// The file may hold any int: a corner at or beyond the right or bottom edge of the virtual screen
// (all monitors together) counts as absent like a negative one, so the rectangle never overflows
// and no box starts where no screen can show it.
std::optional<Rect> PosFromStored(int x, int y, const Rect& virtualScreen);

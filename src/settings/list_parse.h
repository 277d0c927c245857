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

// A stored position gives the box rectangle (x, y, x + 240, y + 360) when the title band of a box
// there lies on some monitor's work area (`workAreas`), also left of or above the primary monitor
// (negative corners). Elsewhere it counts as absent, so no box starts where no screen shows it and
// any int the file holds (INT_MIN stands for a missing key) is safe.
std::optional<Rect> PosFromStored(int x, int y, const std::vector<Rect>& workAreas);

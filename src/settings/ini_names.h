// Names stored in the INI file: item names and group keys used as keys, section names and values.
//
// The profile format cannot hold every name: a key is cut at its first "=", a line that starts with
// ";" is a comment, one that starts with "[" may open a section, white space around keys, values and
// section names is trimmed, and a line break ends the line. Such names are stored in an escaped form
// that begins with "~%" and writes the troublesome characters as "%XXXX" (four hex digits of the
// UTF-16 code unit). Every other name is stored exactly as it is, so files written before keep
// working. A name that itself begins with "~%" is escaped too, so the mapping stays one-to-one.
#pragma once
#include <string>

// Item name or group key -> INI key (manualGroups, freedItems, boxNames, hiddenBoxes, customBoxes).
std::wstring IniKeyFor(const std::wstring& name);
// INI key as read back -> the name. Text that is not a well-formed escaped form comes back as it is.
std::wstring NameFromIniKey(const std::wstring& key);

// Group key -> name of its position section (keys "x" and "y"). A key that names one of the
// program's own sections ("settings", the list sections; in any ASCII letter case) is escaped.
std::wstring IniSectionFor(const std::wstring& key);
// Group key -> name of its size section (keys "w" and "h"): the key followed by "_size".
std::wstring SizeSectionFor(const std::wstring& key);
// Section name as listed by the platform -> the group key (or size-section text) it stands for.
std::wstring NameFromIniSection(const std::wstring& section);

// Text stored as a value (the group key of a manual choice, a box's display name) and back.
std::wstring IniValueFor(const std::wstring& value);
std::wstring ValueFromIni(const std::wstring& stored);

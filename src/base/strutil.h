// String helpers of the core: number formatting, UTF-8 conversion, paths beside the executable.
#pragma once
#include <string>

// Decimal text of an int, as "%d" writes it.
std::wstring IntToW(int v);

// The folder of a file path: everything before its last backslash; a path without one is kept whole.
std::wstring DirOfPath(const std::wstring& path);

// A file beside the executable: the executable's folder, a backslash, then the file name.
std::wstring PathBesideExe(const std::wstring& exePath, const std::wstring& fileName);

// UTF-16 (or UTF-32 where wchar_t is 4 bytes) to UTF-8 and back. Unpaired surrogates become U+FFFD.
std::string WideToUtf8(const std::wstring& w);
std::wstring Utf8ToWide(const std::string& s);

// Reads a decimal integer the way the C runtime's wcstol/_wtoi does for the settings dialogs:
// leading white space, an optional sign, digits up to the first non-digit; no digits gives 0.
int ParseLeadingInt(const std::wstring& text);

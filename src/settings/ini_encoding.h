// What encoding a settings file was saved in, and its text as UTF-16LE with the byte-order mark,
// the one form in which the platform's profile functions keep every name whatever the code page.
#pragma once
#include <functional>
#include <string>

enum class IniEncoding {
    Empty,     // no bytes: nothing to convert
    Utf16Bom,  // already right: never rewritten
    Utf16,     // UTF-16LE without its mark
    Utf16BeBom, // UTF-16 big-endian with its mark (FE FF)
    Utf8Bom,   // UTF-8 with its mark
    Utf8,      // valid UTF-8 without a mark (plain ASCII included)
    Ansi,      // anything else: the system's ANSI code page
};

IniEncoding DetectIniEncoding(const std::string& bytes);
const wchar_t* IniEncodingName(IniEncoding encoding);

// The file's text as UTF-16LE bytes with the mark. ANSI text goes through `ansi`, the platform's
// conversion of the code page into UTF-16 code units. Empty for Empty and Utf16Bom (nothing to do).
std::string IniAsUtf16(const std::string& bytes, IniEncoding encoding,
                       const std::function<std::u16string(const std::string&)>& ansi);

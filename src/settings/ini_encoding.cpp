#include "settings/ini_encoding.h"

namespace {

bool StartsWith(const std::string& bytes, const char* prefix, size_t n) {
    return bytes.size() >= n && bytes.compare(0, n, prefix, n) == 0;
}

// Decodes strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF) into UTF-16 code
// units; false at the first byte that is not part of such a sequence.
bool DecodeUtf8(const std::string& bytes, size_t from, std::u16string* out) {
    for (size_t i = from; i < bytes.size();) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        size_t len = 0;
        char32_t cp = 0, min = 0;
        if (b < 0x80) len = 1, cp = b;
        else if ((b & 0xE0) == 0xC0) len = 2, cp = b & 0x1F, min = 0x80;
        else if ((b & 0xF0) == 0xE0) len = 3, cp = b & 0x0F, min = 0x800;
        else if ((b & 0xF8) == 0xF0) len = 4, cp = b & 0x07, min = 0x10000;
        else return false;
        if (i + len > bytes.size()) return false;
        for (size_t k = 1; k < len; ++k) {
            const unsigned char c = static_cast<unsigned char>(bytes[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        if (out) {
            if (cp >= 0x10000) {
                out->push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
                out->push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
            } else {
                out->push_back(static_cast<char16_t>(cp));
            }
        }
        i += len;
    }
    return true;
}

// A settings file is text: a NUL byte only comes from UTF-16, where the text's many ASCII
// characters (brackets, "=", digits, line ends) put it at the odd offsets.
bool LooksLikeUtf16Le(const std::string& bytes) {
    size_t odd = 0, even = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\0') ++(i % 2 ? odd : even);
    return odd > even;
}

} // namespace

IniEncoding DetectIniEncoding(const std::string& bytes) {
    if (bytes.empty()) return IniEncoding::Empty;
    if (StartsWith(bytes, "\xFF\xFE", 2)) return IniEncoding::Utf16Bom;
    if (StartsWith(bytes, "\xFE\xFF", 2)) return IniEncoding::Utf16BeBom;
    if (StartsWith(bytes, "\xEF\xBB\xBF", 3)) return IniEncoding::Utf8Bom;
    if (LooksLikeUtf16Le(bytes)) return IniEncoding::Utf16;
    return DecodeUtf8(bytes, 0, nullptr) ? IniEncoding::Utf8 : IniEncoding::Ansi;
}

const wchar_t* IniEncodingName(IniEncoding encoding) {
    switch (encoding) {
    case IniEncoding::Empty: return L"empty";
    case IniEncoding::Utf16Bom: return L"UTF-16LE with mark";
    case IniEncoding::Utf16: return L"UTF-16LE without mark";
    case IniEncoding::Utf16BeBom: return L"UTF-16BE with mark";
    case IniEncoding::Utf8Bom: return L"UTF-8 with mark";
    case IniEncoding::Utf8: return L"UTF-8";
    case IniEncoding::Ansi: return L"ANSI";
    }
    return L"";
}

std::string IniAsUtf16(const std::string& bytes, IniEncoding encoding,
                       const std::function<std::u16string(const std::string&)>& ansi) {
    std::string out = "\xFF\xFE";
    if (encoding == IniEncoding::Utf16) return out + bytes.substr(0, bytes.size() & ~size_t(1));
    if (encoding == IniEncoding::Utf16BeBom) {
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) out += {bytes[i + 1], bytes[i]};
        return out;
    }
    std::u16string units;
    switch (encoding) {
    case IniEncoding::Utf8Bom:
        if (!DecodeUtf8(bytes, 3, &units)) units = ansi(bytes.substr(3)); // a mark on text that is not UTF-8
        break;
    case IniEncoding::Utf8: DecodeUtf8(bytes, 0, &units); break;
    case IniEncoding::Ansi: units = ansi(bytes); break;
    default: return std::string();
    }
    for (char16_t u : units) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    }
    return out;
}

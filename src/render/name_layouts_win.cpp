#include "render/name_layouts_win.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/com_win.h"
#include "render/devices_win.h"
#include "render/recent_cache.h"

namespace {

enum class Kind : wchar_t { Plain = L'P', Fitted = L'F', OneLine = L'O' };

struct Laid {
    ComPtr<IDWriteTextLayout> layout; // Plain and OneLine: the layout; Fitted: its head
    ComPtr<IDWriteTextLayout> last;   // Fitted and cut: the trimmed last line
    float lastTop = 0;
    int lines = 0;
    bool cut = false;
    bool inked = false;
    RectF ink;
};

// Twice this many layouts at most: far more than the names every box shows at once.
RecentCache<std::wstring, Laid> g_layouts(2048);

void Append(std::wstring& key, float v) {
    uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    key += std::to_wstring(bits);
    key += L'|';
}

// What makes one layout differ from another: the kind, the text, what of the format a layout takes,
// the box.
std::wstring KeyOf(Kind kind, IDWriteTextFormat* format, const std::wstring& text, float w, float h) {
    wchar_t family[256] = {};
    if (FAILED(format->GetFontFamilyName(family, 256))) family[0] = 0;
    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
    if (FAILED(format->GetLocaleName(locale, LOCALE_NAME_MAX_LENGTH))) locale[0] = 0;
    std::wstring key(1, static_cast<wchar_t>(kind));
    key += text;
    key += L'\x1';
    key += family;
    key += L'|';
    key += locale;
    key += L'|';
    Append(key, format->GetFontSize());
    Append(key, w);
    Append(key, h);
    for (int v : {static_cast<int>(format->GetFontWeight()), static_cast<int>(format->GetFontStyle()),
                  static_cast<int>(format->GetFontStretch()), static_cast<int>(format->GetTextAlignment()),
                  static_cast<int>(format->GetParagraphAlignment()), static_cast<int>(format->GetWordWrapping()),
                  static_cast<int>(format->GetReadingDirection()), static_cast<int>(format->GetFlowDirection())}) {
        key += std::to_wstring(v);
        key += L'|';
    }
    return key;
}

ComPtr<IDWriteTextLayout> MakeLayout(IDWriteTextFormat* format, const std::wstring& text, float w, float h) {
    ComPtr<IDWriteTextLayout> layout;
    if (FAILED(g_dw->CreateTextLayout(text.c_str(), static_cast<UINT32>(text.size()), format, w, h, layout.put())))
        return ComPtr<IDWriteTextLayout>();
    return layout;
}

std::vector<DWRITE_LINE_METRICS> LinesOf(IDWriteTextLayout* layout) {
    UINT32 n = 0;
    layout->GetLineMetrics(nullptr, 0, &n); // the count, with E_NOT_SUFFICIENT_BUFFER
    std::vector<DWRITE_LINE_METRICS> lines(n);
    if (n == 0 || FAILED(layout->GetLineMetrics(lines.data(), n, &n))) lines.clear();
    lines.resize(std::min<size_t>(lines.size(), n));
    return lines;
}

// The layout, on one line, cut with "…" (the sign in the format's font) where it is wider than its box.
void OneLineWithEllipsis(IDWriteTextLayout* layout, IDWriteTextFormat* format) {
    layout->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
    ComPtr<IDWriteInlineObject> sign;
    if (FAILED(g_dw->CreateEllipsisTrimmingSign(format, sign.put()))) return;
    const DWRITE_TRIMMING trimming = {DWRITE_TRIMMING_GRANULARITY_CHARACTER, 0, 0};
    layout->SetTrimming(&trimming, sign.get());
}

// A copy of the format at another size (alignment, wrapping and font kept).
ComPtr<IDWriteTextFormat> Resized(IDWriteTextFormat* format, float size) {
    wchar_t family[256] = {};
    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
    ComPtr<IDWriteFontCollection> fonts;
    ComPtr<IDWriteTextFormat> f;
    if (FAILED(format->GetFontFamilyName(family, 256)) || FAILED(format->GetLocaleName(locale, LOCALE_NAME_MAX_LENGTH)) ||
        FAILED(format->GetFontCollection(fonts.put())) ||
        FAILED(g_dw->CreateTextFormat(family, fonts.get(), format->GetFontWeight(), format->GetFontStyle(),
                                      format->GetFontStretch(), size, locale, f.put())))
        return ComPtr<IDWriteTextFormat>();
    f->SetTextAlignment(format->GetTextAlignment());
    f->SetParagraphAlignment(format->GetParagraphAlignment());
    f->SetWordWrapping(format->GetWordWrapping());
    return f;
}

bool Fit(IDWriteTextFormat* format, const std::wstring& text, float w, float h, Laid& laid) {
    ComPtr<IDWriteTextLayout> whole = MakeLayout(format, text, w, h);
    if (!whole) return false;
    // Between words; a word wider than the box between its characters. Where the system does not
    // break such a word by itself, every line breaks between characters.
    whole->SetWordWrapping(DWRITE_WORD_WRAPPING_EMERGENCY_BREAK);
    DWRITE_TEXT_METRICS m = {};
    if (SUCCEEDED(whole->GetMetrics(&m)) && m.width > w + 0.5f) whole->SetWordWrapping(DWRITE_WORD_WRAPPING_CHARACTER);
    const std::vector<DWRITE_LINE_METRICS> lines = LinesOf(whole.get());
    size_t fit = 0;
    float used = 0;
    for (const DWRITE_LINE_METRICS& line : lines) {
        if (fit > 0 && used + line.height > h + 0.5f) break;
        used += line.height;
        ++fit;
    }
    if (fit >= lines.size()) {
        laid.layout = std::move(whole);
        laid.lines = static_cast<int>(lines.size());
        return true;
    }
    // Cut: the lines before the last shown as they are, the rest of the text on the last one.
    size_t start = 0;
    for (size_t i = 0; i + 1 < fit; ++i) {
        start += lines[i].length;
        laid.lastTop += lines[i].height;
    }
    if (start > 0) {
        laid.layout = MakeLayout(format, text.substr(0, start), w, laid.lastTop);
        if (!laid.layout) return false;
        laid.layout->SetWordWrapping(fit == 2 ? DWRITE_WORD_WRAPPING_NO_WRAP : whole->GetWordWrapping());
    }
    laid.last = MakeLayout(format, text.substr(start), w, lines[fit - 1].height);
    if (!laid.last) return false;
    OneLineWithEllipsis(laid.last.get(), format);
    laid.lines = static_cast<int>(fit);
    laid.cut = true;
    return true;
}

bool OneLine(IDWriteTextFormat* format, const std::wstring& text, float w, float h, Laid& laid) {
    ComPtr<IDWriteTextFormat> smaller;
    for (int attempt = 0; attempt < 2; ++attempt) {
        IDWriteTextFormat* f = smaller ? smaller.get() : format;
        laid.layout = MakeLayout(f, text, w, h);
        if (!laid.layout) return false;
        OneLineWithEllipsis(laid.layout.get(), f);
        const std::vector<DWRITE_LINE_METRICS> lines = LinesOf(laid.layout.get());
        if (attempt > 0 || lines.empty() || lines[0].height <= h + 0.5f || h <= 0) break;
        // A line taller than the box: the font shrinks by as much.
        smaller = Resized(format, format->GetFontSize() * h / lines[0].height);
        if (!smaller) break;
    }
    laid.lines = 1;
    return true;
}

Laid* LaidOut(Kind kind, IDWriteTextFormat* format, const std::wstring& text, float w, float h) {
    if (!format || !g_dw || !(w >= 0) || !(h >= 0)) return nullptr;
    const std::wstring key = KeyOf(kind, format, text, w, h);
    if (Laid* found = g_layouts.Find(key)) return found;
    Laid laid;
    bool made = false;
    switch (kind) {
    case Kind::Plain:
        laid.layout = MakeLayout(format, text, w, h);
        made = static_cast<bool>(laid.layout);
        break;
    case Kind::Fitted:
        made = Fit(format, text, w, h, laid);
        break;
    case Kind::OneLine:
        made = OneLine(format, text, w, h, laid);
        break;
    }
    return made ? &g_layouts.Put(key, std::move(laid)) : nullptr;
}

// The ink of a layout drawn at (0, top), grown onto `ink`.
void GrowInk(IDWriteTextLayout* layout, float top, RectF& ink) {
    DWRITE_OVERHANG_METRICS over = {};
    if (!layout || FAILED(layout->GetOverhangMetrics(&over))) return;
    // Overhangs count outwards from the layout box.
    const float w = layout->GetMaxWidth(), h = layout->GetMaxHeight();
    ink.left = std::min(ink.left, -std::max(over.left, 0.0f) - 1);
    ink.top = std::min(ink.top, top - std::max(over.top, 0.0f) - 1);
    ink.right = std::max(ink.right, w + std::max(over.right, 0.0f) + 1);
    ink.bottom = std::max(ink.bottom, top + h + std::max(over.bottom, 0.0f) + 1);
}

} // namespace

IDWriteTextLayout* TextLayoutFor(IDWriteTextFormat* format, const std::wstring& text, float w, float h) {
    Laid* laid = LaidOut(Kind::Plain, format, text, w, h);
    return laid ? laid->layout.get() : nullptr;
}

FittedText FittedTextFor(IDWriteTextFormat* format, const std::wstring& text, float w, float h) {
    FittedText f;
    if (Laid* laid = LaidOut(Kind::Fitted, format, text, w, h)) {
        f.head = laid->layout.get();
        f.last = laid->last.get();
        f.lastTop = laid->lastTop;
        f.lines = laid->lines;
        f.cut = laid->cut;
    }
    return f;
}

IDWriteTextLayout* OneLineLayoutFor(IDWriteTextFormat* format, const std::wstring& text, float w, float h) {
    Laid* laid = LaidOut(Kind::OneLine, format, text, w, h);
    return laid ? laid->layout.get() : nullptr;
}

float LineHeightOf(IDWriteTextFormat* format) {
    if (!format || !g_dw) return 0;
    ComPtr<IDWriteTextLayout> layout = MakeLayout(format, L"国Ag", 1.0e4f, 1.0e4f);
    if (!layout) return 0;
    const std::vector<DWRITE_LINE_METRICS> lines = LinesOf(layout.get());
    return lines.empty() ? 0 : lines[0].height;
}

RectF TextInkFor(IDWriteTextFormat* format, const std::wstring& text, float w, float h) {
    Laid* laid = LaidOut(Kind::Fitted, format, text, w, h);
    if (!laid) return RectF{0, 0, w, h};
    if (!laid->inked) {
        laid->ink = RectF{0, 0, w, h};
        GrowInk(laid->layout.get(), 0, laid->ink);
        GrowInk(laid->last.get(), laid->lastTop, laid->ink);
        laid->inked = true;
    }
    return laid->ink;
}

void ForgetTextLayouts() { g_layouts.Clear(); }

size_t TextLayoutCount() { return g_layouts.Size(); }

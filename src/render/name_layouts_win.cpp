#include "render/name_layouts_win.h"

#include <algorithm>
#include <cstring>

#include "base/com_win.h"
#include "render/devices_win.h"
#include "render/recent_cache.h"

namespace {

struct Laid {
    ComPtr<IDWriteTextLayout> layout;
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

// What makes one layout differ from another: the text, what of the format a layout takes, the box.
std::wstring KeyOf(IDWriteTextFormat* format, const std::wstring& text, float w, float h) {
    wchar_t family[256] = {};
    if (FAILED(format->GetFontFamilyName(family, 256))) family[0] = 0;
    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
    if (FAILED(format->GetLocaleName(locale, LOCALE_NAME_MAX_LENGTH))) locale[0] = 0;
    std::wstring key = text;
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

Laid* LaidOut(IDWriteTextFormat* format, const std::wstring& text, float w, float h) {
    if (!format || !g_dw || !(w >= 0) || !(h >= 0)) return nullptr;
    const std::wstring key = KeyOf(format, text, w, h);
    if (Laid* found = g_layouts.Find(key)) return found;
    Laid laid;
    if (FAILED(g_dw->CreateTextLayout(text.c_str(), static_cast<UINT32>(text.size()), format, w, h,
                                      laid.layout.put())))
        return nullptr;
    return &g_layouts.Put(key, std::move(laid));
}

} // namespace

IDWriteTextLayout* TextLayoutFor(IDWriteTextFormat* format, const std::wstring& text, float w, float h) {
    Laid* laid = LaidOut(format, text, w, h);
    return laid ? laid->layout.get() : nullptr;
}

RectF TextInkFor(IDWriteTextFormat* format, const std::wstring& text, float w, float h) {
    Laid* laid = LaidOut(format, text, w, h);
    if (!laid) return RectF{0, 0, w, h};
    if (!laid->inked) {
        laid->ink = RectF{0, 0, w, h};
        DWRITE_OVERHANG_METRICS over = {};
        if (SUCCEEDED(laid->layout->GetOverhangMetrics(&over))) {
            // Overhangs count outwards from the layout box.
            laid->ink = {-std::max(over.left, 0.0f) - 1, -std::max(over.top, 0.0f) - 1,
                         w + std::max(over.right, 0.0f) + 1, h + std::max(over.bottom, 0.0f) + 1};
        }
        laid->inked = true;
    }
    return laid->ink;
}

void ForgetTextLayouts() { g_layouts.Clear(); }

size_t TextLayoutCount() { return g_layouts.Size(); }

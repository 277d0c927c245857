// Skins, the accent palette of the box outlines, and the colour conversion used for drawing.
#pragma once
#include <cstdint>

#include "settings/settings.h"

// A stored colour as the platform keeps it: 0x00BBGGRR (red in the lowest byte).
using ColorRef = uint32_t;

constexpr ColorRef RgbColor(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

// A drawing colour with channels from 0 to 1 (not premultiplied).
struct ColorF {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 0;
};

struct Skin {
    const wchar_t* name;
    ColorRef background; // box body, dialog background
    ColorRef accent;     // top of the title bar gradient, button face
    ColorRef accentDark; // bottom of the title bar gradient, pressed button face
    ColorRef text;       // every text
    ColorRef highlight;  // the cell under the mouse
};

constexpr int kSkinRows = g_skinCount;
constexpr int kAccentColors = 8;
extern const Skin g_skins[kSkinRows];
extern const ColorRef g_colors[kAccentColors]; // outline of box n is g_colors[n mod 8]

// The stored colour with the given opacity; channel divisions in single precision.
ColorF ColF(ColorRef c, float alpha);

// The skin row for an index, the default row 2 for one outside the table.
const Skin& SkinAt(int index);
// The outline colour for a creation index (taken modulo the palette, never out of range).
ColorRef AccentAt(int colorIdx);

// Helpers of the rendering tests under Wine: a box window, pixel reads, and saving pictures.
#pragma once
#include <cstdint>
#include <string>

#include "base/win.h"
#include "render/fallback_win.h"

struct BoxSurface;

struct Bgra {
    int b = 0, g = 0, r = 0, a = 0;
};

Bgra PixelAt(const BoxSurface& s, int x, int y);
// Writes the surface as a 32-bit BMP file.
bool SaveSurfaceBmp(const BoxSurface& s, const std::wstring& path);
// A box window (the program's own class and procedure) at (x, y), w x h, not shown; its WM_PAINT
// calls PaintBoxWindow with the BoxWin pointer kept in GWLP_USERDATA.
HWND MakeTestBoxWindow(int x, int y, int w, int h);

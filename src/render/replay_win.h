// The one drawing routine: replays the scene of a box onto any Direct2D render target.
#pragma once
#include <functional>
#include <vector>

#include "base/win.h"
#include "render/scene.h"

#include <d2d1.h>
#include <dwrite.h>

struct ReplayContext {
    ID2D1RenderTarget* rt = nullptr;
    ID2D1SolidColorBrush* brush = nullptr; // made by rt; recoloured before every use
    IDWriteTextFormat* titleFormat = nullptr; // null: the title is left out
    IDWriteTextFormat* nameFormat = nullptr;  // null: item names are left out
    std::function<ID2D1Bitmap*(int item)> icon; // bitmap of an item's icon (usable on rt), or null
    const Rect* clip = nullptr; // when set, nothing outside it is touched
};

D2D1_COLOR_F ToD2D(const ColorF& c);

// Draws every operation between BeginDraw and EndDraw; returns what EndDraw said.
HRESULT ReplayScene(const std::vector<DrawOp>& ops, const ReplayContext& ctx);

// A 32-bit top-down DIB section of w x h pixels (bits receives its pixels); null when it cannot be made.
HBITMAP MakeDib32(HDC dc, int w, int h, void** bits);

// An icon as a premultiplied size x size bitmap of rt; null when it cannot be made.
ID2D1Bitmap* IconToBitmap(ID2D1RenderTarget* rt, HICON icon, int size);

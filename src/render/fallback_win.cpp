#include "render/fallback_win.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "base/com_win.h"
#include "render/box_record_win.h"
#include "render/devices_win.h"
#include "render/name_layouts_win.h"
#include "render/replay_win.h"
#include "settings/settings.h"

namespace {

unsigned long g_cellsDrawn = 0; // cells drawn into bitmaps so far, whole pictures and parts

// One render target serves every such box: it is bound to the box's bitmap before each paint, so
// its brush and icon bitmaps are shared like those of the composition path.
ID2D1DCRenderTarget* g_surfaceRT = nullptr;
ID2D1SolidColorBrush* g_surfaceBrush = nullptr;
std::map<std::pair<HICON, int>, ID2D1Bitmap*> g_surfaceIcons; // by icon and size

void DropSurfaceTarget() {
    FlushFallbackIcons();
    SafeRelease(g_surfaceBrush);
    SafeRelease(g_surfaceRT);
}

bool EnsureSurfaceTarget() {
    if (g_surfaceRT && g_surfaceBrush) return true;
    ID2D1Factory* factory = AnyD2DFactory();
    if (!factory) return false;
    if (!g_surfaceRT) {
        D2D1_RENDER_TARGET_PROPERTIES p = {};
        p.type = D2D1_RENDER_TARGET_TYPE_SOFTWARE;
        p.pixelFormat.format = DXGI_FORMAT_B8G8R8A8_UNORM;
        p.pixelFormat.alphaMode = D2D1_ALPHA_MODE_PREMULTIPLIED;
        p.dpiX = 96; // one drawing unit is one pixel
        p.dpiY = 96;
        p.usage = D2D1_RENDER_TARGET_USAGE_NONE;
        p.minLevel = D2D1_FEATURE_LEVEL_DEFAULT;
        if (FAILED(factory->CreateDCRenderTarget(&p, &g_surfaceRT))) {
            g_surfaceRT = nullptr;
            return false;
        }
        // Sub-pixel text needs an opaque background; these pictures are translucent.
        g_surfaceRT->SetTextAntialiasMode(D2D1_TEXT_ANTIALIAS_MODE_GRAYSCALE);
    }
    const D2D1_COLOR_F white = {1, 1, 1, 1};
    if (FAILED(g_surfaceRT->CreateSolidColorBrush(&white, nullptr, &g_surfaceBrush))) {
        g_surfaceBrush = nullptr;
        return false;
    }
    return true;
}

void ShowSurface(BoxWin* box) {
    BoxSurface* s = box->fallback;
    if (s->layered) {
        SIZE size = {s->w, s->h};
        POINT src = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        // No destination point: the window stays where it is, in whatever coordinates it lives.
        if (UpdateLayeredWindow(box->hwnd, nullptr, nullptr, &size, s->dc, &src, 0, &blend, ULW_ALPHA)) return;
        // A window that cannot be layered (a child window before Windows 8) shows an opaque picture.
        SetWindowLongPtrW(box->hwnd, GWL_EXSTYLE, GetWindowLongPtrW(box->hwnd, GWL_EXSTYLE) & ~WS_EX_LAYERED);
        s->layered = false;
        s->drawn = false; // not shown: drawn again, opaque, when painting asks next
        return;
    }
    if (HDC dc = GetDC(box->hwnd)) {
        BitBlt(dc, 0, 0, s->w, s->h, s->dc, 0, 0, SRCCOPY);
        ReleaseDC(box->hwnd, dc);
    }
}

} // namespace

bool MakeSurfaceBitmap(BoxSurface* s, int w, int h, bool keepPicture) {
    if (!s || w < 1 || h < 1) return false;
    if (keepPicture && s->dib && w == s->w && h == s->h) return true;
    void* bits = nullptr;
    HBITMAP dib = MakeDib32(nullptr, w, h, &bits);
    if (!dib) return false;
    if (!s->dc) s->dc = CreateCompatibleDC(nullptr);
    if (!s->dc) {
        DeleteObject(dib);
        return false;
    }
    HGDIOBJ previous = SelectObject(s->dc, dib);
    const bool kept = keepPicture && s->drawn && s->dib && s->bits;
    if (kept) {
        const size_t row = static_cast<size_t>(std::min(w, s->w)) * 4;
        for (int y = 0; y < std::min(h, s->h); ++y)
            std::memcpy(static_cast<char*>(bits) + static_cast<size_t>(y) * w * 4,
                        static_cast<const char*>(s->bits) + static_cast<size_t>(y) * s->w * 4, row);
    }
    if (s->dib) {
        DeleteObject(s->dib);
    } else {
        s->oldBitmap = previous;
    }
    s->dib = dib;
    s->bits = bits;
    s->drawn = kept;
    s->w = w;
    s->h = h;
    return true;
}

void FreeSurface(BoxSurface* s) {
    if (!s) return;
    if (s->dc) {
        if (s->oldBitmap) SelectObject(s->dc, s->oldBitmap);
        DeleteDC(s->dc);
    }
    if (s->dib) DeleteObject(s->dib);
    *s = BoxSurface();
}

bool RenderSurface(BoxSurface* s, const std::vector<DrawOp>& scene, IDWriteTextFormat* titleFormat,
                   IDWriteTextFormat* nameFormat, const std::function<ID2D1Bitmap*(int)>& icon) {
    if (!s || !s->dc || !EnsureSurfaceTarget()) return false;
    const RECT rc = {0, 0, s->w, s->h};
    if (FAILED(g_surfaceRT->BindDC(s->dc, &rc))) return false;
    const HRESULT hr = ReplayScene(scene, {g_surfaceRT, g_surfaceBrush, titleFormat, nameFormat, icon});
    GdiFlush();
    if (hr == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
        DropSurfaceTarget(); // made again at the next paint
        return false;
    }
    return SUCCEEDED(hr);
}

ID2D1Bitmap* FallbackIcon(HICON icon, int size) {
    if (!icon || !EnsureSurfaceTarget()) return nullptr;
    const auto it = g_surfaceIcons.find({icon, size});
    if (it != g_surfaceIcons.end()) return it->second;
    ID2D1Bitmap* bmp = IconToBitmap(g_surfaceRT, icon, size);
    g_surfaceIcons[{icon, size}] = bmp;
    return bmp;
}

ID2D1Bitmap* FallbackIcon(HICON icon) { return FallbackIcon(icon, g_iconSize); }

void FlushFallbackIcons() {
    for (auto& entry : g_surfaceIcons) SafeRelease(entry.second);
    g_surfaceIcons.clear();
}

bool InitBoxFallback(BoxWin* box) {
    if (!box || !box->hwnd) return false;
    if (box->fallback) return true;
    if (!AnyD2DFactory()) return false;
    BoxSurface* s = new BoxSurface;
    if (!MakeSurfaceBitmap(s, box->width > 0 ? box->width : 1, box->height > 0 ? box->height : 1)) {
        FreeSurface(s);
        delete s;
        return false;
    }
    box->fallback = s;
    if (!box->titleFormat && !box->nameFormat) MakeBoxFormats(box, false);
    SetWindowLongPtrW(box->hwnd, GWL_EXSTYLE, GetWindowLongPtrW(box->hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    s->layered = (GetWindowLongPtrW(box->hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    return true;
}

bool DrawBoxFallback(BoxWin* box, const std::vector<DrawOp>& scene, const std::function<ID2D1Bitmap*(int)>& icon) {
    BoxSurface* s = box->fallback;
    if (!s) return false;
    if ((s->w != box->width || s->h != box->height) && !MakeSurfaceBitmap(s, box->width, box->height)) return false;
    s->drawn = false;
    if (!RenderSurface(s, scene, box->titleFormat, box->nameFormat, icon)) return false;
    s->drawn = true;
    g_cellsDrawn += static_cast<unsigned long>(CellsIn(scene));
    ShowSurface(box);
    return s->drawn;
}

void ResizeBoxFallback(BoxWin* box, int w, int h) {
    // A bitmap that cannot be made keeps the box at its old size with its old picture.
    if (MakeSurfaceBitmap(box->fallback, w, h, true)) {
        box->width = w;
        box->height = h;
    }
}

void ReleaseBoxFallback(BoxWin* box) {
    if (!box || !box->fallback) return;
    FreeSurface(box->fallback);
    delete box->fallback;
    box->fallback = nullptr;
}

void BlitSurface(BoxWin* box, HDC hdc) {
    if (!box || !box->fallback || !hdc) return;
    const BoxSurface* s = box->fallback;
    if (s->layered || !s->dc) return;
    BitBlt(hdc, 0, 0, s->w, s->h, s->dc, 0, 0, SRCCOPY);
}

// Drawing part of a picture: a hover change redraws its two cells (and what spills into them)
// into the same bitmap and hands the window just their bounds.
namespace {

void ShowSurfaceArea(BoxWin* box, const Rect& area) {
    BoxSurface* s = box->fallback;
    const RECT dirty = {area.left, area.top, area.right, area.bottom};
    if (s->layered) {
        SIZE size = {s->w, s->h};
        POINT src = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UPDATELAYEREDWINDOWINFO info = {};
        info.cbSize = sizeof info;
        info.psize = &size;
        info.hdcSrc = s->dc;
        info.pptSrc = &src;
        info.pblend = &blend;
        info.dwFlags = ULW_ALPHA;
        info.prcDirty = &dirty;
        if (UpdateLayeredWindowIndirect(box->hwnd, &info)) return;
        ShowSurface(box); // the whole picture, as after any draw (and what to do if it cannot be layered)
        return;
    }
    if (HDC dc = GetDC(box->hwnd)) {
        BitBlt(dc, dirty.left, dirty.top, area.Width(), area.Height(), s->dc, dirty.left, dirty.top, SRCCOPY);
        ReleaseDC(box->hwnd, dc);
    }
}

// Rows are whole and lie one after another in the bitmap: the moved ones are one block.
bool MoveSurfaceRows(BoxSurface* s, const RowShift& shift) {
    if (shift.top < 0 || shift.bottom > s->h || shift.top >= shift.bottom || shift.top + shift.dy < 0 ||
        shift.bottom + shift.dy > s->h)
        return false;
    const size_t row = static_cast<size_t>(s->w) * 4;
    char* bits = static_cast<char*>(s->bits);
    std::memmove(bits + static_cast<size_t>(shift.top) * row, bits + static_cast<size_t>(shift.top + shift.dy) * row,
                 static_cast<size_t>(shift.bottom - shift.top) * row);
    return true;
}

} // namespace

RectF FallbackNameBounds(BoxWin* box, const DrawOp& op) {
    const RectF& r = op.rect;
    if (!box || !box->nameFormat) return r;
    // Taken from the layout the name is drawn with.
    const RectF ink = TextInkFor(box->nameFormat, op.text, r.right - r.left, r.bottom - r.top);
    return RectF{r.left + ink.left, r.top + ink.top, r.left + ink.right, r.top + ink.bottom};
}

bool DrawBoxFallbackParts(BoxWin* box, const std::vector<ScenePart>& parts, const std::function<ID2D1Bitmap*(int)>& icon,
                          bool showWhole, const RowShift* shift) {
    BoxSurface* s = box ? box->fallback : nullptr;
    if (!s || !s->drawn || s->w != box->width || s->h != box->height || !EnsureSurfaceTarget()) return false;
    if (shift) {
        if (!MoveSurfaceRows(s, *shift)) return false;
        showWhole = true; // every row of the body moved
    }
    Rect bounds = parts.empty() ? Rect{} : parts.front().area;
    for (const ScenePart& part : parts) {
        const Rect& a = part.area;
        if (a.Width() < 1 || a.Height() < 1) continue;
        // The target covers the area alone, so nothing outside it is touched; the drawing is moved
        // so that the picture's coordinates land where they belong.
        const RECT rc = {a.left, a.top, a.right, a.bottom};
        if (FAILED(g_surfaceRT->BindDC(s->dc, &rc))) return false;
        g_surfaceRT->SetTransform(D2D1::Matrix3x2F::Translation(static_cast<float>(-a.left), static_cast<float>(-a.top)));
        const HRESULT hr = ReplayScene(part.ops, {g_surfaceRT, g_surfaceBrush, box->titleFormat, box->nameFormat, icon});
        g_surfaceRT->SetTransform(D2D1::Matrix3x2F::Identity());
        GdiFlush();
        if (hr == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) DropSurfaceTarget();
        if (FAILED(hr)) {
            s->drawn = false; // part of the picture may be missing: the next draw is whole
            return false;
        }
        g_cellsDrawn += static_cast<unsigned long>(CellsIn(part.ops));
        bounds = {std::min(bounds.left, a.left), std::min(bounds.top, a.top), std::max(bounds.right, a.right),
                  std::max(bounds.bottom, a.bottom)};
    }
    if (showWhole) {
        ShowSurface(box);
    } else if (bounds.Width() > 0 && bounds.Height() > 0) {
        ShowSurfaceArea(box, bounds);
    }
    return s->drawn; // false when the window turned out not to be layered: drawn again, opaque
}

unsigned long FallbackCellsDrawn() { return g_cellsDrawn; }

// Boxes drawn without composition: the scene goes through Direct2D into a 32-bit premultiplied
// bitmap that the box window shows with per-pixel alpha (or opaque, where it cannot be layered).
#pragma once
#include <functional>
#include <vector>

#include "base/win.h"
#include "render/scene.h"
#include "render/scroll_areas.h"

struct BoxWin;
struct ID2D1Bitmap;
struct IDWriteTextFormat;

struct BoxSurface {
    HDC dc = nullptr;              // memory DC holding `dib`
    HBITMAP dib = nullptr;         // top-down 32-bit DIB section, premultiplied BGRA
    HGDIOBJ oldBitmap = nullptr;   // the DC's own bitmap, put back before the DC goes
    void* bits = nullptr;          // w * h * 4 bytes
    int w = 0;
    int h = 0;
    bool layered = false; // shown with UpdateLayeredWindow; else blitted opaque by WM_PAINT
    bool drawn = false; // the bitmap holds a finished picture (false after it was made anew)
};

// Gives the surface a new w x h bitmap; on failure the old bitmap and size stay. With keepPicture a
// finished picture is copied to the new bitmap's top left, where both sizes overlap, and the surface
// still counts as drawn (a picture of the old size, which the parts a resize changes complete);
// otherwise the new bitmap holds no picture.
// The bitmap path used when composition is missing.
bool InitBoxFallback(BoxWin* box);

bool MakeSurfaceBitmap(BoxSurface* s, int w, int h, bool keepPicture = false);
void FreeSurface(BoxSurface* s);

// Draws a scene into the surface (built for the surface's size) through the shared bitmap render
// target. False when nothing could be drawn: no Direct2D, or the target was lost (made anew next time).
bool RenderSurface(BoxSurface* s, const std::vector<DrawOp>& scene, IDWriteTextFormat* titleFormat,
                   IDWriteTextFormat* nameFormat, const std::function<ID2D1Bitmap*(int)>& icon);

// The cached bitmap of an icon, usable by RenderSurface.
ID2D1Bitmap* FallbackIcon(HICON icon, int size);
ID2D1Bitmap* FallbackIcon(HICON icon); // at the icon size of 96 dpi (g_iconSize)
void FlushFallbackIcons(); // pictures already drawn stay valid

// Draws the scene into the box's bitmap and shows it; false when nothing new was shown (the box is
// to be drawn again).
bool DrawBoxFallback(BoxWin* box, const std::vector<DrawOp>& scene, const std::function<ID2D1Bitmap*(int)>& icon);
// A new bitmap of the new size that keeps the old picture where the sizes overlap.
void ResizeBoxFallback(BoxWin* box, int w, int h);
// Draws each part (the operations that meet its area, see SceneWithin) into that area of the box's
// bitmap, whose picture stays as it is around them, and hands the window their bounds alone (or the
// whole picture: showWhole, for a window whose size is new). With a shift, the rows it names are moved
// first (a wheel step) and the window gets the whole picture. False when nothing was drawn (the bitmap
// holds no finished picture of the box's size, or drawing failed).
struct ScenePart {
    Rect area;
    std::vector<DrawOp> ops;
};
bool DrawBoxFallbackParts(BoxWin* box, const std::vector<ScenePart>& parts, const std::function<ID2D1Bitmap*(int)>& icon,
                          bool showWhole = false, const RowShift* shift = nullptr);
// Where an item name operation draws with the box's name format: its rectangle, grown by the ink that
// overhangs it (a long name runs on below its cell). Measured once per text, size and format.
RectF FallbackNameBounds(BoxWin* box, const DrawOp& op);
// Cells drawn into bitmaps so far (whole pictures and parts).
unsigned long FallbackCellsDrawn();
void ReleaseBoxFallback(BoxWin* box);
// WM_PAINT of a box whose bitmap is not layered: the bitmap is copied into the window.
void BlitSurface(BoxWin* box, HDC hdc);

// Box surfaces and painting: what is drawn when, cells and hits on the drawn grid.
#pragma once
#include <map>

#include "base/geom.h"
#include "base/win.h"

struct BoxWin;
struct ID2D1Bitmap;

// Composition path: true when the box composes, or will once the devices lost while it was made are
// made anew (the box waits marked); false when it cannot be set up (the box takes the bitmap path).
bool InitBoxDComp(BoxWin* box);
void ReleaseBoxRender(BoxWin* box); // every per-box rendering object, when a box is destroyed
void RebuildBoxFormats(BoxWin* box);
void RebuildAllFormats();
void ResizeBoxRender(BoxWin* box, int w, int h);
// Draws a box now, unless what its surface shows is still what it would draw.
void DrawBox(BoxWin* box);
// Marks every box and draws them now (after changes that concern all boxes at once).
void RenderAll();
// Marks a box's picture stale (or every box's); the main loop draws marked boxes once, after
// draining its messages, and only those.
void MarkBoxDirty(BoxWin* box);
void MarkAllBoxesDirty();
bool AnyBoxMarked();
// The main loop's draw: every marked box whose picture changed, once; then no box is marked. Yielding
// to messages, it stops after a box when messages wait, the others still marked (no wait before the
// next draw).
void DrawMarkedBoxes(bool yieldToMessages = false);
// How long the main loop may wait before drawing again: no limit while no box is marked; while a
// draw left boxes marked (a present failed), a wait that doubles from 16 ms to 2 s.
DWORD RedrawWaitMs();
// The Direct3D device said it was removed (its event): every box is marked, the devices made anew
// at the next DrawMarkedBoxes.
void NoteDeviceRemoved();
// True once after boxes have to change between composition and the bitmap path (a rebuild of the
// devices failed for them, or the devices came back): their windows are to be made anew.
bool TakeOtherWindowsRequest();
// Boxes drawn so far in this process (a draw that found nothing changed does not count).
unsigned long BoxDrawCount();
// WM_PAINT of a box: a bitmap that is not layered is copied in; a composition box asks whether
// the graphics devices still work (a loss marks every box, recovered by the next DrawMarkedBoxes),
// and otherwise presents its picture again.
void PaintBoxWindow(BoxWin* box, HDC hdc);
// WM_DISPLAYCHANGE: the same question for every box; every picture is shown again.
void CheckGraphicsDevices();
// What a box's surface shows is unknown (re-attached, replaced formats or surface): the box is
// marked and drawn again even though its inputs did not change.
void ShowPictureAgain(BoxWin* box);
void ForgetBoxPicture(BoxWin* box); // the same, without the mark
// A box that goes: no picture, no mark left of it.
void ForgetBox(BoxWin* box);
// Every picture drawn so far is stale (fonts, icon bitmaps or shared targets were replaced); every
// box is marked.
void InvalidateSurfaces();
void FlushIconBitmaps(); // releases every cached icon bitmap (style changes)
// After a change of skin, font or transparency: the skin brush, every box's formats and icon bitmaps.
void ApplyStyleAll();
// The height of a name line in the current font (g_nameLineHeight) and the cell size that follows it;
// every box is drawn again when it changed.
void MeasureNameLines();
// The same height at another DPI, measured in the font at that size (cached until the font changes).
int NameLineHeightAt(int dpi);

// Cell of item `index` for a client width; right and bottom exclusive.
Rect CellRect(BoxWin* box, int index, int width);
// The first item whose cell (for the window's client width) contains the client point, or -1.
int HitTest(BoxWin* box, int x, int y);
// The icon as a bitmap usable by the box's drawing target, cached per icon; null when not possible.
ID2D1Bitmap* IconToD2D(BoxWin* box, HICON icon);

// Graphics devices, box surfaces and painting.
#pragma once
#include "base/win.h"

struct BoxWin;

bool InitDCompInfra();
bool InitBoxDComp(BoxWin* box);   // composition path; false when it cannot be set up
bool InitBoxFallback(BoxWin* box); // the bitmap path used when composition is missing
void ReleaseBoxRender(BoxWin* box); // every per-box rendering object, when a box is destroyed
void RebuildBoxFormats(BoxWin* box);
void RebuildAllFormats();
void ResizeBoxRender(BoxWin* box, int w, int h);
void DrawBox(BoxWin* box);
void RenderAll();
void PaintBoxWindow(BoxWin* box, HDC hdc); // WM_PAINT of a box whose picture is not layered
void FlushIconBitmaps();                 // releases every cached icon bitmap (style changes)
void UpdateSkinBrush();
extern HBRUSH g_skinBgBrush;

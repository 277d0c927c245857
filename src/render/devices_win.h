// The process-wide graphics objects and the helpers the rendering files share.
#pragma once
#include "base/win.h"

#include <d2d1_1.h>
#include <d3d11.h>
#include <dcomp.h>
#include <dwrite.h>
#include <dxgi1_2.h>

struct BoxWin;

extern ID3D11Device* g_d3d;
extern ID3D11DeviceContext* g_d3dCtx;
extern ID2D1Factory1* g_d2dF;
extern ID2D1Device* g_d2dDev;
extern IDWriteFactory* g_dw;
extern IDCompositionDevice* g_dcomp;

// A Direct2D factory for drawing without a device: the 1.1 factory, or a 1.0 factory where 1.1 is
// missing. Null only when Direct2D cannot be loaded at all.
ID2D1Factory* AnyD2DFactory();

// Makes both text formats of a box from g_fontName and g_fontSize (the names at NameFontSize(rebuilt)).
// Formats already held are released first; without a DirectWrite factory both stay null.
void MakeBoxFormats(BoxWin* box, bool rebuilt);

// What a box's surface shows is unknown (its formats or surface were replaced): drawn again when next asked.
void ForgetBoxPicture(BoxWin* box);
// A box that goes: no picture, no mark left of it.
void ForgetBox(BoxWin* box);
// The graphics device was lost (driver update, GPU reset): devices and every box's surface are made
// anew, boxes that cannot compose any more take the bitmap path, and every box is marked.
bool RecoverLostDevice();

// A composition box that lost its drawing target gets one again (its back buffer, or a new swap chain).
bool RecoverBoxTarget(BoxWin* box);

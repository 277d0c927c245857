// The background picture drawn in every box's body: the decoded picture (g_bgBitmap) as premultiplied
// pixels, and one Direct2D bitmap of it per drawing device.
#pragma once
#include "render/scene.h"

struct ID2D1Bitmap;
struct ID2D1RenderTarget;
namespace Gdiplus {
class Bitmap;
}

// Background picture cache: decodes g_bgImage once into g_bgBitmap (owned).
extern Gdiplus::Bitmap* g_bgBitmap;
void LoadBgImage();
// At start: the picture of g_bgImage is decoded on a thread of its own, beside the scan and the first
// drawing; the first LoadBgImage waits for it and takes it if the picture asked for is still the same.
void StartBgImageDecode();
// Lets go of the decoded picture: the next LoadBgImage reads g_bgImage again (none when empty).
void ForgetBgImage();

// Loads the picture of g_bgImage if needed and puts its size and number into the scene input
// (size 0 when there is no readable picture).
void SetSceneBackground(BoxSceneInput& in);
// The picture number `id` as a bitmap usable on rt; null when that picture is no longer loaded.
ID2D1Bitmap* BackgroundBitmap(ID2D1RenderTarget* rt, int id);
// Lets go of every device bitmap of the picture (the devices they belong to are being replaced).
void ForgetBackgroundBitmaps();

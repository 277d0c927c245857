// The background picture drawn in every box's body: the decoded picture (g_bgBitmap) as premultiplied
// pixels, and one Direct2D bitmap of it per drawing device.
#pragma once
#include "render/scene.h"

struct ID2D1Bitmap;
struct ID2D1RenderTarget;

extern int g_bgGeneration; // counts the pictures LoadBgImage has loaded

// Loads the picture of g_bgImage if needed and puts its size and number into the scene input
// (size 0 when there is no readable picture).
void SetSceneBackground(BoxSceneInput& in);
// The picture number `id` as a bitmap usable on rt; null when that picture is no longer loaded.
ID2D1Bitmap* BackgroundBitmap(ID2D1RenderTarget* rt, int id);
// Lets go of every device bitmap of the picture (the devices they belong to are being replaced).
void ForgetBackgroundBitmaps();

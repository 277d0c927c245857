// The background picture drawn in every box's body: the decoded picture (g_bgBitmap) as premultiplied
// pixels, and one Direct2D bitmap of it per drawing device.
#pragma once
#include <string>

#include "render/scene.h"

namespace Gdiplus {
class Bitmap;
}

struct ID2D1Bitmap;
struct ID2D1RenderTarget;

extern int g_bgGeneration; // counts the pictures LoadBgImage has loaded

// Loads the picture of g_bgImage if needed and puts its size and number into the scene input
// (size 0 when there is no readable picture).
void SetSceneBackground(BoxSceneInput& in);
// The picture number `id` as a bitmap usable on rt; null when that picture is no longer loaded.
ID2D1Bitmap* BackgroundBitmap(ID2D1RenderTarget* rt, int id);

// The picture at path decoded just large enough to cover a screen of screenW x screenH (at most
// 2048 pixels on a side); null, with one log line, when it is larger than 16,384 pixels on a side,
// is no PNG, JPEG, BMP or GIF picture, or cannot be decoded. Its size is read before any decoding.
Gdiplus::Bitmap* DecodeBoundedPicture(const std::wstring& path, int screenW, int screenH);
// Lets go of every device bitmap of the picture (the devices they belong to are being replaced).
void ForgetBackgroundBitmaps();

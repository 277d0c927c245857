// Decoding the background picture within bounds.
#pragma once
#include <string>

namespace Gdiplus {
class Bitmap;
}

// The picture at path decoded just large enough to cover a screen of screenW x screenH (at most
// 2048 pixels on a side); null, with one log line, when it is larger than 16,384 pixels on a side,
// is no PNG, JPEG, BMP or GIF picture, or cannot be decoded. Its size is read before any decoding.
Gdiplus::Bitmap* DecodeBoundedPicture(const std::wstring& path, int screenW, int screenH);

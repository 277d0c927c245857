// A picture's size read from its file header before anything decodes it, and the size it is decoded
// to, so that no file, however large it claims to be, costs more memory than the screen it covers.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

// Larger than this on a side: not shown at all.
constexpr int kMaxPictureSide = 16384;

// Up to `count` bytes of the file from `offset` (fewer at its end, none past it).
using ReadBytesAt = std::function<std::string(std::uint64_t offset, std::size_t count)>;

// Width and height from a PNG, JPEG, BMP or GIF header; false for any other file or a damaged header.
bool ReadPictureSize(const ReadBytesAt& read, int* width, int* height);

// The decoded size of a w × h picture: enough to cover a screen of screenW × screenH (no box is
// larger) keeping its proportions, never larger than the picture, no side above maxSide, at least 1.
void BoundedPictureSize(int w, int h, int screenW, int screenH, int maxSide, int* outW, int* outH);

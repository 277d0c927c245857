// Icons taken larger than they are shown: the shell's big image lists give 48 and 256 pixel pictures,
// which are shrunk to the box's icon size by averaging (never enlarged from a small picture).
#pragma once
#include <cstdint>
#include <vector>

// The top left `used` x `used` pixels of a square picture (32-bit pixels, premultiplied alpha, rows
// of srcStride bytes) at dstSize x dstSize: each pixel the average of the source area under it, partly
// covered source pixels counted by their share. Returns dstSize x dstSize x 4 bytes; empty when a
// size is below 1.
std::vector<uint8_t> ResampleIcon(const uint8_t* src, int srcStride, int used, int dstSize);

// The part of a 256-pixel picture that holds the icon: the shell pads an icon that has no large
// image into the top left corner of its big frame. From the rows and columns that have any opaque
// pixel (extent: the first beyond the last such, from the top left), the smallest of the usual icon
// sizes that holds it, or srcSize when the picture reaches past half of it.
int UsedIconEdge(int extent, int srcSize);

// How far from the top left a premultiplied square picture of srcSize has any alpha.
int AlphaExtent(const uint8_t* px, int srcStride, int srcSize);

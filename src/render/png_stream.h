// A PNG picture decoded row by row straight into its scaled-down size: the file is read in small
// pieces, inflated through a 32 KB window and unfiltered with two rows in hand, and every source
// row is added into the output row it falls on. However large the picture, what is held beside the
// output is a few rows of it, so a picture of 16,384 pixels on a side costs no more than a small one.
#pragma once
#include <cstdint>

#include "render/picture_size.h"

// Whether the file is a PNG picture this decoder takes: non-interlaced, of any colour type and
// bit depth. Interlaced pictures (their rows come in seven passes) are left to others.
bool IsStreamablePng(const ReadBytesAt& read);

// Decodes the PNG into outW × outH premultiplied BGRA pixels at `out` (rows `stride` bytes apart);
// each output pixel is the mean of the source pixels it covers. outW and outH are at most the
// picture's size. False when the file is damaged or ends early (the output is then incomplete).
bool DecodePngScaled(const ReadBytesAt& read, int outW, int outH, unsigned char* out, int stride);

#include "render/icon_shrink.h"

#include <algorithm>

std::vector<uint8_t> ResampleIcon(const uint8_t* src, int srcStride, int used, int dstSize) {
    std::vector<uint8_t> out;
    if (!src || used < 1 || dstSize < 1 ) return out;
    out.assign(static_cast<size_t>(dstSize) * dstSize * 4, 0);
    // Positions in units of 1/dstSize source pixel: destination pixel d covers [d*used, (d+1)*used).
    const long long area = static_cast<long long>(used) * used;
    for (int dy = 0; dy < dstSize; ++dy) {
        const long long y0 = static_cast<long long>(dy) * used, y1 = y0 + used;
        for (int dx = 0; dx < dstSize; ++dx) {
            const long long x0 = static_cast<long long>(dx) * used, x1 = x0 + used;
            long long sum[4] = {0, 0, 0, 0};
            for (long long sy = y0 / dstSize; sy * dstSize < y1; ++sy) {
                const long long wy = std::min(y1, (sy + 1) * dstSize) - std::max(y0, sy * dstSize);
                const uint8_t* row = src + sy * srcStride;
                for (long long sx = x0 / dstSize; sx * dstSize < x1; ++sx) {
                    const long long w = wy * (std::min(x1, (sx + 1) * dstSize) - std::max(x0, sx * dstSize));
                    for (int c = 0; c < 4; ++c) sum[c] += w * row[sx * 4 + c];
                }
            }
            // The weights of one destination pixel add up to used x used.
            uint8_t* px = out.data() + (static_cast<size_t>(dy) * dstSize + dx) * 4;
            for (int c = 0; c < 4; ++c) px[c] = static_cast<uint8_t>((sum[c] + area / 2) / area);
        }
    }
    return out;
}

int UsedIconEdge(int extent, int srcSize) {
    if (extent < 1 || extent * 2 > srcSize) return srcSize;
    for (int edge : {16, 24, 32, 48, 64, 96, 128})
        if (extent <= edge && edge <= srcSize) return edge;
    return srcSize;
}

int AlphaExtent(const uint8_t* px, int srcStride, int srcSize) {
    int extent = 0;
    for (int y = 0; y < srcSize; ++y)
        for (int x = 0; x < srcSize; ++x)
            if (px[static_cast<size_t>(y) * srcStride + static_cast<size_t>(x) * 4 + 3] != 0) {
                if (x + 1 > extent) extent = x + 1;
                if (y + 1 > extent) extent = y + 1;
            }
    return extent;
}

#include "render/picture_size.h"

#include <algorithm>
#include <cmath>

namespace {

unsigned Be16(const std::string& b, size_t i) {
    return (static_cast<unsigned char>(b[i]) << 8) | static_cast<unsigned char>(b[i + 1]);
}
unsigned Le16(const std::string& b, size_t i) {
    return static_cast<unsigned char>(b[i]) | (static_cast<unsigned char>(b[i + 1]) << 8);
}
std::uint32_t Be32(const std::string& b, size_t i) { return (std::uint32_t(Be16(b, i)) << 16) | Be16(b, i + 2); }
std::uint32_t Le32(const std::string& b, size_t i) { return Le16(b, i) | (std::uint32_t(Le16(b, i + 2)) << 16); }

bool Store(std::int64_t w, std::int64_t h, int* width, int* height) {
    if (w < 1 || h < 1 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) return false;
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

// Walks the segments up to the frame header (SOFn), which holds the size.
bool JpegSize(const ReadBytesAt& read, int* width, int* height) {
    std::uint64_t at = 2;
    for (int segments = 0; segments < 4096; ++segments) {
        std::string m = read(at, 2);
        if (m.size() < 2 || static_cast<unsigned char>(m[0]) != 0xFF) return false;
        const unsigned marker = static_cast<unsigned char>(m[1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // no length
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return false; // image end or data before any frame
        const std::string seg = read(at + 2, 7);
        if (seg.size() < 2 || Be16(seg, 0) < 2) return false;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) return seg.size() == 7 && Store(Be16(seg, 5), Be16(seg, 3), width, height);
        at += 2 + Be16(seg, 0);
    }
    return false;
}

// The canvas, widened to the first image when that reaches beyond it: decoders size their buffers
// by the image.
bool GifSize(const ReadBytesAt& read, int* width, int* height) {
    const std::string h = read(0, 13);
    if (h.size() < 13) return false;
    std::int64_t w = Le16(h, 6), ht = Le16(h, 8);
    const unsigned flags = static_cast<unsigned char>(h[10]);
    std::uint64_t at = 13 + ((flags & 0x80) ? 3u << ((flags & 7) + 1) : 0);
    for (int blocks = 0; blocks < 4096; ++blocks) {
        const std::string b = read(at, 10);
        if (b.empty()) return false;
        if (b[0] == 0x2C) { // the first image
            if (b.size() < 9) return false;
            return Store(std::max<std::int64_t>(w, Le16(b, 1) + Le16(b, 5)),
                         std::max<std::int64_t>(ht, Le16(b, 3) + Le16(b, 7)), width, height);
        }
        if (b[0] != 0x21 || b.size() < 2) return false; // only extensions come before it
        for (at += 2;;) { // the extension's sub-blocks, up to the empty one
            const std::string n = read(at, 1);
            if (n.empty()) return false;
            at += 1 + static_cast<unsigned char>(n[0]);
            if (n[0] == 0) break;
        }
    }
    return false;
}

} // namespace

bool ReadPictureSize(const ReadBytesAt& read, int* width, int* height) {
    const std::string h = read(0, 32);
    if (h.size() >= 24 && h.compare(0, 8, "\x89PNG\r\n\x1A\n", 8) == 0 && h.compare(12, 4, "IHDR") == 0)
        return Store(Be32(h, 16), Be32(h, 20), width, height);
    if (h.size() >= 10 && (h.compare(0, 6, "GIF87a") == 0 || h.compare(0, 6, "GIF89a") == 0))
        return GifSize(read, width, height);
    if (h.size() >= 26 && h.compare(0, 2, "BM") == 0) {
        if (Le32(h, 14) == 12) return Store(Le16(h, 18), Le16(h, 20), width, height); // the oldest header
        const std::int64_t bh = static_cast<std::int32_t>(Le32(h, 22));               // negative: top-down
        return Store(static_cast<std::int32_t>(Le32(h, 18)), bh < 0 ? -bh : bh, width, height);
    }
    if (h.size() >= 3 && h.compare(0, 3, "\xFF\xD8\xFF", 3) == 0) return JpegSize(read, width, height);
    return false;
}

void BoundedPictureSize(int w, int h, int screenW, int screenH, int maxSide, int* outW, int* outH) {
    double f = std::max(static_cast<double>(screenW) / w, static_cast<double>(screenH) / h);
    f = std::min({f, 1.0, static_cast<double>(maxSide) / std::max(w, h)});
    *outW = std::max(1, static_cast<int>(std::lround(w * f)));
    *outH = std::max(1, static_cast<int>(std::lround(h * f)));
}

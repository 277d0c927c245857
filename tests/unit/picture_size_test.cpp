#include <gtest/gtest.h>

#include "render/picture_size.h"

namespace {

std::string Be32(unsigned v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }
std::string Le32(unsigned v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

TEST(PictureSize, HeadersTellTheSizeBeforeAnyDecoding) {
    const std::string png = std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
    const std::string app0 = std::string("\xFF\xE0\0\x10JFIF\0", 9) + std::string(9, '\0');
    const std::string sof2 = std::string("\xFF\xC2\0\x11\x08\x75\x30\x27\x10", 9) + std::string(12, '\0');
    const struct { const char* what; std::string bytes; int w, h; } rows[] = {
        {"PNG", png + Be32(30000) + Be32(20000) + std::string(13, '\0'), 30000, 20000},
        {"PNG cut short", png + Be32(30000), 0, 0},
        {"GIF, an extension, then an image beyond the canvas", std::string("GIF89a\x10\x27\x01\0\0\0\0"
            "\x21\xF9\x04\0\0\0\0\0" "\x2C\0\0\x05\0\x0A\0\x40\x9C\0", 31), 10000, 40005},
        {"GIF cut before its image", std::string("GIF89a\x10\x27\x01\0\0\0\0", 13), 0, 0},
        {"BMP, oldest header", "BM" + std::string(12, '\0') + Le32(12) + "\x40\x1F\x10\x27" + std::string(8, '\0'), 8000, 10000},
        {"BMP top-down", "BM" + std::string(12, '\0') + Le32(40) + Le32(640) + Le32(-480), 640, 480},
        {"JPEG after a segment and a fill byte", "\xFF\xD8" + app0 + "\xFF" + sof2, 10000, 30000},
        {"JPEG data before any frame", "\xFF\xD8" + app0 + std::string("\xFF\xDA\0\x02", 4) + sof2, 0, 0},
        {"text", "[settings]\r\nskin=2\r\n", 0, 0},
    };
    for (const auto& r : rows) {
        int w = 0, h = 0;
        EXPECT_EQ(ReadPictureSize([&r](std::uint64_t at, std::size_t n) { return at < r.bytes.size() ? r.bytes.substr(at, n) : ""; }, &w, &h), r.w > 0) << r.what;
        EXPECT_EQ(std::make_pair(w, h), std::make_pair(r.w, r.h)) << r.what;
    }
}

// On a 1600 x 900 screen, at most 2048 on a side: covers the screen, the side limit wins, never
// enlarged, at least one pixel.
TEST(PictureSize, DecodedToCoverTheScreenAndNoMore) {
    const struct { int w, h, ow, oh; } rows[] = {{10000, 10000, 1600, 1600}, {10000, 2000, 2048, 410}, {800, 600, 800, 600}, {16384, 1, 2048, 1}};
    for (const auto& r : rows) {
        int w = 0, h = 0;
        BoundedPictureSize(r.w, r.h, 1600, 900, 2048, &w, &h);
        EXPECT_EQ(std::make_pair(w, h), std::make_pair(r.ow, r.oh)) << r.w << "x" << r.h;
    }
}

} // namespace

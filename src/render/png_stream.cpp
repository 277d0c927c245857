#include "render/png_stream.h"

#include <string>
#include <vector>

namespace {

std::uint32_t Be32(const std::string& b, size_t i) {
    return (std::uint32_t(static_cast<unsigned char>(b[i])) << 24) | (std::uint32_t(static_cast<unsigned char>(b[i + 1])) << 16) |
           (std::uint32_t(static_cast<unsigned char>(b[i + 2])) << 8) | static_cast<unsigned char>(b[i + 3]);
}

int Be16(const std::string& b, size_t i) { return (static_cast<unsigned char>(b[i]) << 8) | static_cast<unsigned char>(b[i + 1]); }

const char kSignature[] = "\x89PNG\r\n\x1A\n";

struct Header {
    int w = 0, h = 0, depth = 0, color = 0, interlace = 0;
    std::vector<unsigned char> palette; // RGBA per entry
    int keyR = -1, keyG = -1, keyB = -1; // tRNS colour key of grey (keyR) or RGB pictures
    std::uint64_t firstData = 0;        // offset of the first IDAT chunk
};

int Channels(int color) { return color == 0 || color == 3 ? 1 : color == 2 ? 3 : color == 4 ? 2 : 4; }

bool ValidDepth(int color, int depth) {
    switch (color) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2: case 4: case 6: return depth == 8 || depth == 16;
    default: return false;
    }
}

// The chunks before the picture's data: header, palette, transparency.
bool ReadHeader(const ReadBytesAt& read, Header* hd) {
    const std::string sig = read(0, 8);
    if (sig != std::string(kSignature, 8)) return false;
    std::uint64_t at = 8;
    for (int chunks = 0; chunks < 100000; ++chunks) {
        const std::string c = read(at, 8);
        if (c.size() < 8) return false;
        const std::uint32_t len = Be32(c, 0);
        const std::string type = c.substr(4, 4);
        if (type == "IDAT") {
            hd->firstData = at;
            return hd->w > 0 && (hd->color != 3 || !hd->palette.empty());
        }
        if (type == "IEND") return false;
        if (type == "IHDR" || type == "PLTE" || type == "tRNS") {
            if (len > 1024) return false;
            const std::string d = read(at + 8, len);
            if (d.size() < len) return false;
            if (type == "IHDR") {
                if (len < 13 || Be32(d, 0) < 1 || Be32(d, 4) < 1 || Be32(d, 0) > 0x7FFFFFFF || Be32(d, 4) > 0x7FFFFFFF)
                    return false;
                hd->w = static_cast<int>(Be32(d, 0));
                hd->h = static_cast<int>(Be32(d, 4));
                hd->depth = static_cast<unsigned char>(d[8]);
                hd->color = static_cast<unsigned char>(d[9]);
                hd->interlace = static_cast<unsigned char>(d[12]);
                if (!ValidDepth(hd->color, hd->depth) || d[10] != 0 || d[11] != 0) return false;
            } else if (type == "PLTE") {
                for (size_t i = 0; i + 2 < d.size(); i += 3)
                    hd->palette.insert(hd->palette.end(), {static_cast<unsigned char>(d[i]), static_cast<unsigned char>(d[i + 1]),
                                                           static_cast<unsigned char>(d[i + 2]), 255});
            } else if (hd->color == 3) {
                for (size_t i = 0; i < d.size() && i * 4 < hd->palette.size(); ++i)
                    hd->palette[i * 4 + 3] = static_cast<unsigned char>(d[i]);
            } else if (hd->color == 0 && len >= 2) {
                hd->keyR = Be16(d, 0);
            } else if (hd->color == 2 && len >= 6) {
                hd->keyR = Be16(d, 0), hd->keyG = Be16(d, 2), hd->keyB = Be16(d, 4);
            }
        }
        at += 12ull + len;
    }
    return false;
}

// The bytes of the IDAT chunks one after another, read 64 KB at a time.
class DataBytes {
  public:
    DataBytes(const ReadBytesAt& read, std::uint64_t firstChunk) : read_(read), next_(firstChunk) {}
    int Next() {
        if (pos_ < buf_.size()) return static_cast<unsigned char>(buf_[pos_++]);
        while (left_ == 0) { // the next chunk, if it holds data
            const std::string c = read_(next_, 8);
            if (c.size() < 8 || c.compare(4, 4, "IDAT") != 0) return -1;
            left_ = Be32(c, 0);
            at_ = next_ + 8;
            next_ = at_ + left_ + 4;
        }
        buf_ = read_(at_, static_cast<size_t>(left_ < 65536 ? left_ : 65536));
        if (buf_.empty()) return -1;
        at_ += buf_.size();
        left_ -= buf_.size();
        pos_ = 1;
        return static_cast<unsigned char>(buf_[0]);
    }

  private:
    const ReadBytesAt& read_;
    std::uint64_t next_, at_ = 0, left_ = 0;
    std::string buf_;
    size_t pos_ = 0;
};

// Canonical Huffman code: how many codes of each length, and the symbols in code order.
struct Huffman {
    short count[16] = {};
    short symbol[320] = {};
    bool Build(const unsigned char* lengths, int n) {
        short offs[16] = {};
        for (int i = 0; i < 16; ++i) count[i] = 0;
        for (int i = 0; i < n; ++i) ++count[lengths[i]];
        if (count[0] == n) return true; // no codes: only an error if one is decoded
        int left = 1;
        for (int len = 1; len < 16; ++len) {
            left = (left << 1) - count[len];
            if (left < 0) return false; // more codes than the lengths allow
        }
        for (int len = 1; len < 15; ++len) offs[len + 1] = static_cast<short>(offs[len] + count[len]);
        for (int i = 0; i < n; ++i)
            if (lengths[i]) symbol[offs[lengths[i]]++] = static_cast<short>(i);
        return true;
    }
};

const short kLenBase[29] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const short kLenExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const unsigned short kDistBase[30] = {1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385, 513, 769, 1025, 1537, 2049,
                                      3073, 4097, 6145, 8193, 12289, 16385, 24577};
const short kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// The picture's rows as they come out of the inflater: unfiltered, turned into RGBA and added into
// the output rows.
class RowSink {
  public:
    RowSink(const Header& hd, int outW, int outH, unsigned char* out, int stride)
        : hd_(hd), outW_(outW), outH_(outH), out_(out), stride_(stride) {
        const int bits = Channels(hd.color) * hd.depth;
        bpp_ = bits < 8 ? 1 : bits / 8;
        rowBytes_ = (static_cast<size_t>(hd.w) * bits + 7) / 8;
        row_.assign(rowBytes_ + 1, 0);
        prev_.assign(rowBytes_, 0);
        sums_.assign(static_cast<size_t>(outW) * 4, 0);
        counts_.assign(static_cast<size_t>(outW), 0);
        column_.resize(static_cast<size_t>(hd.w));
        for (int x = 0; x < hd.w; ++x) column_[x] = static_cast<int>(static_cast<std::int64_t>(x) * outW / hd.w);
    }
    bool Done() const { return y_ >= hd_.h; }
    bool Put(unsigned char b) {
        row_[fill_++] = b;
        if (fill_ < row_.size()) return true;
        fill_ = 0;
        return Row();
    }

  private:
    static int Paeth(int a, int b, int c) {
        const int p = a + b - c, pa = p > a ? p - a : a - p, pb = p > b ? p - b : b - p, pc = p > c ? p - c : c - p;
        return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
    }
    bool Unfilter() {
        unsigned char* cur = &row_[1];
        const unsigned char* up = prev_.data();
        switch (row_[0]) {
        case 0: break;
        case 1: for (size_t i = bpp_; i < rowBytes_; ++i) cur[i] = static_cast<unsigned char>(cur[i] + cur[i - bpp_]); break;
        case 2: for (size_t i = 0; i < rowBytes_; ++i) cur[i] = static_cast<unsigned char>(cur[i] + up[i]); break;
        case 3:
            for (size_t i = 0; i < rowBytes_; ++i)
                cur[i] = static_cast<unsigned char>(cur[i] + (((i >= bpp_ ? cur[i - bpp_] : 0) + up[i]) >> 1));
            break;
        case 4:
            for (size_t i = 0; i < rowBytes_; ++i)
                cur[i] = static_cast<unsigned char>(
                    cur[i] + Paeth(i >= bpp_ ? cur[i - bpp_] : 0, up[i], i >= bpp_ ? up[i - bpp_] : 0));
            break;
        default: return false;
        }
        prev_.assign(cur, cur + rowBytes_);
        return true;
    }
    // Sample `i` of the row (0..2^depth - 1).
    int Sample(size_t i) const {
        const unsigned char* cur = &row_[1];
        switch (hd_.depth) {
        case 16: return (cur[i * 2] << 8) | cur[i * 2 + 1];
        case 8: return cur[i];
        default: {
            const size_t bit = i * hd_.depth;
            return (cur[bit / 8] >> (8 - hd_.depth - bit % 8)) & ((1 << hd_.depth) - 1);
        }
        }
    }
    int To8(int v) const { return hd_.depth == 16 ? (v * 255 + 32767) / 65535 : hd_.depth == 8 ? v : v * 255 / ((1 << hd_.depth) - 1); }
    bool Row() {
        if (!Unfilter()) return false;
        const int ch = Channels(hd_.color);
        for (int x = 0; x < hd_.w; ++x) {
            int r, g, b, a = 255;
            const size_t s = static_cast<size_t>(x) * ch;
            if (hd_.color == 3) {
                const size_t p = static_cast<size_t>(Sample(s)) * 4;
                if (p + 3 >= hd_.palette.size()) return false;
                r = hd_.palette[p], g = hd_.palette[p + 1], b = hd_.palette[p + 2], a = hd_.palette[p + 3];
            } else if (ch <= 2) {
                const int v = Sample(s);
                r = g = b = To8(v);
                if (ch == 2) a = To8(Sample(s + 1));
                else if (v == hd_.keyR) a = 0;
            } else {
                const int rv = Sample(s), gv = Sample(s + 1), bv = Sample(s + 2);
                r = To8(rv), g = To8(gv), b = To8(bv);
                if (ch == 4) a = To8(Sample(s + 3));
                else if (rv == hd_.keyR && gv == hd_.keyG && bv == hd_.keyB) a = 0;
            }
            std::uint64_t* sum = &sums_[static_cast<size_t>(column_[x]) * 4];
            sum[0] += static_cast<std::uint64_t>(b * a), sum[1] += static_cast<std::uint64_t>(g * a);
            sum[2] += static_cast<std::uint64_t>(r * a), sum[3] += static_cast<std::uint64_t>(a);
            ++counts_[column_[x]];
        }
        const int oy = static_cast<int>(static_cast<std::int64_t>(y_) * outH_ / hd_.h);
        ++y_;
        const bool last = y_ >= hd_.h || static_cast<int>(static_cast<std::int64_t>(y_) * outH_ / hd_.h) != oy;
        if (last) Flush(oy);
        return true;
    }
    void Flush(int oy) {
        unsigned char* dst = out_ + static_cast<std::ptrdiff_t>(oy) * stride_;
        for (int ox = 0; ox < outW_; ++ox) {
            std::uint64_t* sum = &sums_[static_cast<size_t>(ox) * 4];
            const std::uint64_t n = counts_[ox] ? counts_[ox] : 1;
            for (int k = 0; k < 3; ++k) dst[ox * 4 + k] = static_cast<unsigned char>((sum[k] + n * 127) / (n * 255));
            dst[ox * 4 + 3] = static_cast<unsigned char>((sum[3] + n / 2) / n);
            sum[0] = sum[1] = sum[2] = sum[3] = 0;
            counts_[ox] = 0;
        }
    }

    const Header& hd_;
    int outW_, outH_;
    unsigned char* out_;
    int stride_;
    size_t bpp_ = 1, rowBytes_ = 0, fill_ = 0;
    int y_ = 0;
    std::vector<unsigned char> row_, prev_;
    std::vector<std::uint64_t> sums_, counts_;
    std::vector<int> column_;
};

// Inflates a zlib stream (RFC 1950/1951) into the sink until the picture is whole.
class Inflater {
  public:
    Inflater(DataBytes& in, RowSink& sink) : in_(in), sink_(sink), window_(32768) {}
    bool Run() {
        const int cmf = in_.Next(), flg = in_.Next();
        if (cmf < 0 || flg < 0 || (cmf & 0x0F) != 8 || ((cmf << 8) | flg) % 31 != 0 || (flg & 0x20)) return false;
        for (bool last = false; !last && !sink_.Done();) {
            last = Bits(1) == 1;
            const int type = Bits(2);
            bool ok = false;
            if (type == 0) ok = Stored();
            else if (type == 1) ok = Fixed();
            else if (type == 2) ok = Dynamic();
            if (!ok || bad_) return sink_.Done();
        }
        return sink_.Done();
    }

  private:
    int Bits(int need) {
        while (count_ < need) {
            const int b = in_.Next();
            if (b < 0) return bad_ = true, 0;
            buf_ |= static_cast<std::uint32_t>(b) << count_;
            count_ += 8;
        }
        const int v = static_cast<int>(buf_ & ((1u << need) - 1));
        buf_ >>= need;
        count_ -= need;
        return v;
    }
    bool Emit(unsigned char b) {
        window_[pos_++ & 32767] = b;
        return sink_.Done() || sink_.Put(b);
    }
    int Decode(const Huffman& h) {
        int code = 0, first = 0, index = 0;
        for (int len = 1; len < 16; ++len) {
            code |= Bits(1);
            const int count = h.count[len];
            if (code - count < first) return h.symbol[index + (code - first)];
            index += count;
            first = (first + count) << 1;
            code <<= 1;
            if (bad_) return -1;
        }
        return -1;
    }
    bool Stored() {
        buf_ = 0, count_ = 0; // to the byte boundary
        const int a = in_.Next(), b = in_.Next(), c = in_.Next(), d = in_.Next();
        if (d < 0) return false;
        const int len = a | (b << 8);
        if (len != ((~(c | (d << 8))) & 0xFFFF)) return false;
        for (int i = 0; i < len; ++i) {
            const int v = in_.Next();
            if (v < 0 || !Emit(static_cast<unsigned char>(v))) return false;
        }
        return true;
    }
    bool Codes(const Huffman& lit, const Huffman& dist) {
        for (;;) {
            const int sym = Decode(lit);
            if (sym < 0 || bad_) return false;
            if (sym < 256) {
                if (!Emit(static_cast<unsigned char>(sym))) return false;
                continue;
            }
            if (sym == 256) return true;
            if (sym - 257 >= 29) return false;
            const int len = kLenBase[sym - 257] + Bits(kLenExtra[sym - 257]);
            const int ds = Decode(dist);
            if (ds < 0 || ds >= 30) return false;
            const std::uint64_t back = kDistBase[ds] + static_cast<unsigned>(Bits(kDistExtra[ds]));
            if (bad_ || back > pos_) return false;
            for (int i = 0; i < len; ++i)
                if (!Emit(window_[(pos_ - back) & 32767])) return false;
            if (sink_.Done()) return true;
        }
    }
    bool Fixed() {
        unsigned char lengths[288 + 30];
        for (int i = 0; i < 288; ++i) lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
        for (int i = 0; i < 30; ++i) lengths[288 + i] = 5;
        Huffman lit, dist;
        return lit.Build(lengths, 288) && dist.Build(lengths + 288, 30) && Codes(lit, dist);
    }
    bool Dynamic() {
        static const unsigned char kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
        const int nlen = Bits(5) + 257, ndist = Bits(5) + 1, ncode = Bits(4) + 4;
        if (bad_ || nlen > 286 || ndist > 30) return false;
        unsigned char lengths[320] = {};
        for (int i = 0; i < ncode; ++i) lengths[kOrder[i]] = static_cast<unsigned char>(Bits(3));
        Huffman lencode;
        if (!lencode.Build(lengths, 19)) return false;
        for (int i = 0; i < nlen + ndist;) {
            int sym = Decode(lencode);
            if (sym < 0) return false;
            if (sym < 16) {
                lengths[i++] = static_cast<unsigned char>(sym);
                continue;
            }
            int value = 0, repeat;
            if (sym == 16) {
                if (i == 0) return false;
                value = lengths[i - 1];
                repeat = 3 + Bits(2);
            } else {
                repeat = sym == 17 ? 3 + Bits(3) : 11 + Bits(7);
            }
            if (i + repeat > nlen + ndist) return false;
            while (repeat--) lengths[i++] = static_cast<unsigned char>(value);
        }
        if (lengths[256] == 0) return false; // no end of block
        Huffman lit, dist;
        return lit.Build(lengths, nlen) && dist.Build(lengths + nlen, ndist) && Codes(lit, dist);
    }

    DataBytes& in_;
    RowSink& sink_;
    std::vector<unsigned char> window_;
    std::uint64_t pos_ = 0;
    std::uint32_t buf_ = 0;
    int count_ = 0;
    bool bad_ = false;
};

} // namespace

bool IsStreamablePng(const ReadBytesAt& read) {
    Header hd;
    return ReadHeader(read, &hd) && hd.interlace == 0;
}

bool DecodePngScaled(const ReadBytesAt& read, int outW, int outH, unsigned char* out, int stride) {
    Header hd;
    if (!ReadHeader(read, &hd) || hd.interlace != 0 || outW < 1 || outH < 1 || outW > hd.w || outH > hd.h) return false;
    DataBytes bytes(read, hd.firstData);
    RowSink sink(hd, outW, outH, out, stride);
    return Inflater(bytes, sink).Run();
}

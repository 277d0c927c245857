// Decoding the background picture within bounds: its size is read from the file's header first,
// a picture too large is refused before any decoder sees it, and the rest is decoded scaled down to
// what covers the screen, so the program keeps a few megabytes of it whatever the file holds. A PNG
// is decoded by the program itself, row by row into its scaled size, so that it is never held whole
// at full size while it is decoded; other formats go through the platform's decoder.
#include "render/picture_decode_win.h"

#include <wincodec.h>

#include <algorithm>
#include <functional>

#include "base/com_win.h"
#include "base/log_win.h"
#include "base/strutil.h"
#include "render/picture_size.h"
#include "render/png_stream.h"

#include <gdiplus.h>

namespace {

constexpr int kKeptSide = 2048; // boxes are far smaller; every drawing device takes one bitmap of it

ComPtr<IWICImagingFactory> ImagingFactory() {
    ComPtr<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  factory.put_void());
    if (hr == CO_E_NOTINITIALIZED && SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                         factory.put_void());
    return factory;
}

// The file read in pieces at any offset, for the header and for the streaming decoder.
class FileBytes {
  public:
    explicit FileBytes(const std::wstring& path)
        : f_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {}
    ~FileBytes() {
        if (f_ != INVALID_HANDLE_VALUE) CloseHandle(f_);
    }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;
    bool Open() const { return f_ != INVALID_HANDLE_VALUE; }
    ReadBytesAt Reader() const {
        HANDLE f = f_;
        return [f](std::uint64_t at, std::size_t n) {
            std::string bytes(n, '\0');
            LARGE_INTEGER pos;
            pos.QuadPart = static_cast<LONGLONG>(at);
            DWORD got = 0;
            if (!SetFilePointerEx(f, pos, nullptr, FILE_BEGIN) || !ReadFile(f, &bytes[0], static_cast<DWORD>(n), &got, nullptr))
                got = 0;
            bytes.resize(got);
            return bytes;
        };
    }

  private:
    HANDLE f_;
};

bool HeaderSize(const std::wstring& path, int* w, int* h) {
    const FileBytes file(path);
    return file.Open() && ReadPictureSize(file.Reader(), w, h);
}

// A new w × h premultiplied bitmap filled by `fill` (given its first row and stride); null on failure.
Gdiplus::Bitmap* FilledBitmap(int w, int h, const std::function<bool(BYTE*, int)>& fill) {
    auto* bitmap = new Gdiplus::Bitmap(w, h, PixelFormat32bppPARGB);
    Gdiplus::Rect all(0, 0, w, h);
    Gdiplus::BitmapData data = {};
    bool ok = bitmap->GetLastStatus() == Gdiplus::Ok &&
              bitmap->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB, &data) == Gdiplus::Ok;
    if (ok) {
        ok = data.Stride > 0 && fill(static_cast<BYTE*>(data.Scan0), data.Stride);
        bitmap->UnlockBits(&data);
    }
    if (!ok) {
        delete bitmap;
        return nullptr;
    }
    return bitmap;
}

// A PNG goes row by row straight into its scaled size: the platform's decoder would first hold the
// whole picture (about 12 bytes a pixel under Wine: 1.2 GB for 10,000 × 10,000).
Gdiplus::Bitmap* DecodePngStreaming(const std::wstring& path, int sw, int sh, int screenW, int screenH) {
    const FileBytes file(path);
    if (!file.Open()) return nullptr;
    const ReadBytesAt read = file.Reader();
    int w = 0, h = 0;
    BoundedPictureSize(sw, sh, screenW, screenH, kKeptSide, &w, &h);
    return FilledBitmap(w, h, [&](BYTE* rows, int stride) { return DecodePngScaled(read, w, h, rows, stride); });
}

// Decodes the picture, at most sw × sh as its header said, scaled to cover the screen, as
// premultiplied BGRA into a new bitmap; null on failure.
Gdiplus::Bitmap* DecodeScaled(const std::wstring& path, int sw, int sh, int screenW, int screenH) {
    ComPtr<IWICImagingFactory> factory = ImagingFactory();
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapScaler> scaler;
    ComPtr<IWICFormatConverter> converter;
    UINT fw = 0, fh = 0;
    if (!factory ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&fw, &fh)))
        return nullptr;
    // The decoder must see no more than the header described; anything else is not trusted.
    if (fw < 1 || fh < 1 || fw > static_cast<UINT>(sw) || fh > static_cast<UINT>(sh)) return nullptr;
    int w = 0, h = 0;
    BoundedPictureSize(static_cast<int>(fw), static_cast<int>(fh), screenW, screenH, kKeptSide, &w, &h);
    if (FAILED(factory->CreateBitmapScaler(scaler.put())) ||
        FAILED(scaler->Initialize(frame.get(), static_cast<UINT>(w), static_cast<UINT>(h),
                                  WICBitmapInterpolationModeFant)) ||
        FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(scaler.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)))
        return nullptr;
    return FilledBitmap(w, h, [&](BYTE* rows, int stride) {
        return SUCCEEDED(converter->CopyPixels(nullptr, static_cast<UINT>(stride),
                                               static_cast<UINT>(stride) * static_cast<UINT>(h), rows));
    });
}

} // namespace

Gdiplus::Bitmap* DecodeBoundedPicture(const std::wstring& path, int screenW, int screenH) {
    int sw = 0, sh = 0;
    if (!HeaderSize(path, &sw, &sh)) {
        LogDbg(L"BGIMAGE not shown, no PNG, JPEG, BMP or GIF picture can be read from [" + path + L"]");
        return nullptr;
    }
    if (sw > kMaxPictureSide || sh > kMaxPictureSide) {
        LogDbg(L"BGIMAGE not shown, " + IntToW(sw) + L"x" + IntToW(sh) + L" is larger than " +
               IntToW(kMaxPictureSide) + L" on a side [" + path + L"]");
        return nullptr;
    }
    bool png = false;
    {
        const FileBytes file(path);
        png = file.Open() && IsStreamablePng(file.Reader());
    }
    Gdiplus::Bitmap* bitmap = png ? DecodePngStreaming(path, sw, sh, std::max(screenW, 1), std::max(screenH, 1))
                                  : DecodeScaled(path, sw, sh, std::max(screenW, 1), std::max(screenH, 1));
    if (!bitmap) LogDbg(L"BGIMAGE not shown, it cannot be decoded [" + path + L"]");
    return bitmap;
}

#include "base/process_win.h"
#include "boxes/box_classes_win.h"
#include "win/render_test_util.h"

#include <cstdio>

#include "render/fallback_win.h"
#include "win/box_env.h"

Bgra PixelAt(const BoxSurface& s, int x, int y) {
    const auto* p = static_cast<const uint8_t*>(s.bits) + (static_cast<size_t>(y) * s.w + x) * 4;
    return Bgra{p[0], p[1], p[2], p[3]};
}

bool SaveSurfaceBmp(const BoxSurface& s, const std::wstring& path) {
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = s.w;
    ih.biHeight = -s.h;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    ih.biCompression = BI_RGB;
    const DWORD bytes = static_cast<DWORD>(s.w) * s.h * 4;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + bytes;
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    bool ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&ih, sizeof ih, 1, f) == 1 && fwrite(s.bits, bytes, 1, f) == 1;
    return fclose(f) == 0 && ok;
}

HWND MakeTestBoxWindow(int x, int y, int w, int h) {
    EnsureBoxClass();
    return CreateWindowExW(0, WND_CLASS, L"render test", WS_POPUP, x, y, w, h, nullptr, nullptr, g_hInst, nullptr);
}

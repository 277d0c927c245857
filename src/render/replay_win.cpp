#include "render/replay_win.h"

#include <cstring>
#include <vector>

#include "base/com_win.h"
#include "render/background_win.h"
#include "render/icon_shrink.h"
#include "render/name_layouts_win.h"

D2D1_COLOR_F ToD2D(const ColorF& c) {
    D2D1_COLOR_F d;
    d.r = c.r;
    d.g = c.g;
    d.b = c.b;
    d.a = c.a;
    return d;
}

namespace {

D2D1_RECT_F ToD2D(const RectF& r) {
    D2D1_RECT_F d;
    d.left = r.left;
    d.top = r.top;
    d.right = r.right;
    d.bottom = r.bottom;
    return d;
}

void FillGradient(const DrawOp& op, const ReplayContext& ctx) {
    // Stops of one common opacity are given opaque, with that opacity on the brush: the same picture,
    // and renderers that blend gradient stops without premultiplying them still get it right.
    const bool common = op.color.a == op.color2.a;
    D2D1_GRADIENT_STOP stops[2];
    stops[0].position = 0.0f;
    stops[0].color = ToD2D(op.color);
    stops[1].position = 1.0f;
    stops[1].color = ToD2D(op.color2);
    if (common) {
        stops[0].color.a = 1.0f;
        stops[1].color.a = 1.0f;
    }
    ComPtr<ID2D1GradientStopCollection> collection;
    if (FAILED(ctx.rt->CreateGradientStopCollection(stops, 2, D2D1_GAMMA_2_2, D2D1_EXTEND_MODE_CLAMP,
                                                    collection.put())))
        return;
    D2D1_LINEAR_GRADIENT_BRUSH_PROPERTIES line;
    line.startPoint = D2D1::Point2F(0, op.rect.top);
    line.endPoint = D2D1::Point2F(0, op.rect.bottom);
    ComPtr<ID2D1LinearGradientBrush> gradient;
    if (FAILED(ctx.rt->CreateLinearGradientBrush(line, collection.get(), gradient.put()))) return;
    if (common) gradient->SetOpacity(op.color.a);
    ctx.rt->FillRectangle(ToD2D(op.rect), gradient.get());
}

// A title stays on one line in its band and a name inside its box: neither runs over its neighbours.
// Laid out once, drawn as DrawText would place it.
void DrawTextOp(const DrawOp& op, IDWriteTextFormat* format, const ReplayContext& ctx) {
    const float w = op.rect.right - op.rect.left, h = op.rect.bottom - op.rect.top;
    const D2D1_POINT_2F at = D2D1::Point2F(op.rect.left, op.rect.top);
    if (op.role == TextRole::Title) {
        if (IDWriteTextLayout* layout = OneLineLayoutFor(format, op.text, w, h)) {
            ctx.rt->DrawTextLayout(at, layout, ctx.brush, D2D1_DRAW_TEXT_OPTIONS_NONE);
            return;
        }
    } else {
        const FittedText fitted = FittedTextFor(format, op.text, w, h);
        if (fitted.head) ctx.rt->DrawTextLayout(at, fitted.head, ctx.brush, D2D1_DRAW_TEXT_OPTIONS_NONE);
        if (fitted.last)
            ctx.rt->DrawTextLayout(D2D1::Point2F(at.x, at.y + fitted.lastTop), fitted.last, ctx.brush,
                                   D2D1_DRAW_TEXT_OPTIONS_NONE);
        if (fitted.head || fitted.last) return;
    }
    // No layout: drawn unlaid, kept to its box.
    ctx.rt->DrawText(op.text.c_str(), static_cast<UINT32>(op.text.size()), format, ToD2D(op.rect), ctx.brush,
                     D2D1_DRAW_TEXT_OPTIONS_CLIP, DWRITE_MEASURING_MODE_NATURAL);
}

} // namespace

HRESULT ReplayScene(const std::vector<DrawOp>& ops, const ReplayContext& ctx) {
    if (!ctx.rt) return E_POINTER;
    ctx.rt->BeginDraw();
    if (ctx.clip) {
        const Rect& c = *ctx.clip;
        ctx.rt->PushAxisAlignedClip(D2D1::RectF(static_cast<float>(c.left), static_cast<float>(c.top),
                                                static_cast<float>(c.right), static_cast<float>(c.bottom)),
                                    D2D1_ANTIALIAS_MODE_ALIASED);
    }
    for (const DrawOp& op : ops) {
        switch (op.kind) {
        case DrawKind::Clear:
            ctx.rt->Clear(ToD2D(op.color));
            break;
        case DrawKind::Fill:
            if (!ctx.brush) break;
            ctx.brush->SetColor(ToD2D(op.color));
            ctx.rt->FillRectangle(ToD2D(op.rect), ctx.brush);
            break;
        case DrawKind::Stroke:
            if (!ctx.brush) break;
            ctx.brush->SetColor(ToD2D(op.color));
            ctx.rt->DrawRectangle(ToD2D(op.rect), ctx.brush, op.width, nullptr);
            break;
        case DrawKind::Gradient:
            FillGradient(op, ctx);
            break;
        case DrawKind::Text: {
            IDWriteTextFormat* format = op.role == TextRole::Title ? ctx.titleFormat : ctx.nameFormat;
            if (!format || !ctx.brush) break;
            ctx.brush->SetColor(ToD2D(op.color));
            DrawTextOp(op, format, ctx);
            break;
        }
        case DrawKind::Icon:
            if (!ctx.icon) break;
            if (ID2D1Bitmap* bmp = ctx.icon(op.item))
                ctx.rt->DrawBitmap(bmp, ToD2D(op.rect), 1.0f, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR, nullptr);
            break;
        case DrawKind::Picture:
            if (ID2D1Bitmap* bmp = BackgroundBitmap(ctx.rt, op.item)) {
                const D2D1_RECT_F src = ToD2D(op.src);
                ctx.rt->DrawBitmap(bmp, ToD2D(op.rect), op.color.a, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR, &src);
            }
            break;
        }
    }
    if (ctx.clip) ctx.rt->PopAxisAlignedClip();
    return ctx.rt->EndDraw(nullptr, nullptr);
}

namespace {

struct IconDib {
    HBITMAP dib = nullptr;
    uint8_t* px = nullptr;
};

IconDib MakeDib(HDC screen, int size) {
    IconDib d;
    void* bits = nullptr;
    d.dib = MakeDib32(screen, size, size, &bits);
    d.px = static_cast<uint8_t*>(bits);
    if (d.dib && d.px) std::memset(d.px, 0, static_cast<size_t>(size) * size * 4);
    return d;
}

bool DrawInto(HDC screen, const IconDib& d, HICON icon, int size, UINT flags) {
    HDC mem = CreateCompatibleDC(screen);
    if (!mem) return false;
    HGDIOBJ old = SelectObject(mem, d.dib);
    const BOOL ok = DrawIconEx(mem, 0, 0, icon, size, size, 0, nullptr, flags);
    SelectObject(mem, old);
    DeleteDC(mem);
    return ok != FALSE;
}

// Icons without an alpha channel leave every alpha byte 0, which a premultiplied surface would add
// onto the box as a ghost; their transparency comes from the icon's mask instead.
void AlphaFromMask(HDC screen, const IconDib& color, HICON icon, int size) {
    const size_t n = static_cast<size_t>(size) * size;
    for (size_t i = 0; i < n; ++i)
        if (color.px[i * 4 + 3] != 0) return;
    IconDib mask = MakeDib(screen, size);
    if (!mask.dib || !mask.px) return;
    if (DrawInto(screen, mask, icon, size, DI_MASK)) {
        for (size_t i = 0; i < n; ++i) {
            const bool opaque = mask.px[i * 4] == 0 && mask.px[i * 4 + 1] == 0 && mask.px[i * 4 + 2] == 0;
            if (opaque) {
                color.px[i * 4 + 3] = 255;
            } else {
                std::memset(color.px + i * 4, 0, 4);
            }
        }
    }
    DeleteObject(mask.dib);
}

} // namespace

HBITMAP MakeDib32(HDC dc, int w, int h, void** bits) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    *bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
    if (dib && !*bits) {
        DeleteObject(dib);
        dib = nullptr;
    }
    return dib;
}

namespace {

// The edge of the icon's own picture (its colour bitmap, or half its mask's height); 0 when unknown.
int IconEdge(HICON icon) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) return 0;
    BITMAP bm = {};
    int edge = 0;
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm)) {
        edge = bm.bmWidth;
    } else if (info.hbmMask && GetObjectW(info.hbmMask, sizeof bm, &bm)) {
        edge = bm.bmWidth;
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return edge;
}

// The icon's pixels at `size`: drawn at that size, or, when its own picture is larger, drawn at its own
// size and shrunk by averaging (the system's stretch of an icon drops pixels). Premultiplied.
std::vector<uint8_t> IconPixels(HDC screen, HICON icon, int size) {
    std::vector<uint8_t> px;
    const int own = IconEdge(icon);
    const int drawn = own > size ? own : size;
    IconDib d = MakeDib(screen, drawn);
    if (d.dib && d.px && DrawInto(screen, d, icon, drawn, DI_NORMAL)) {
        AlphaFromMask(screen, d, icon, drawn);
        if (drawn == size) {
            px.assign(d.px, d.px + static_cast<size_t>(size) * size * 4);
        } else {
            // An icon without a large picture comes padded into the top left of the 256-pixel frame:
            // taken from its own part (and enlarged, having nothing larger).
            const int used = drawn >= 256 ? UsedIconEdge(AlphaExtent(d.px, drawn * 4, drawn), drawn) : drawn;
            px = ResampleIcon(d.px, drawn * 4, used, size);
        }
    }
    if (d.dib) DeleteObject(d.dib);
    return px;
}

} // namespace

ID2D1Bitmap* IconToBitmap(ID2D1RenderTarget* rt, HICON icon, int size) {
    if (!rt || !icon || size < 1) return nullptr;
    HDC screen = GetDC(nullptr);
    const std::vector<uint8_t> px = IconPixels(screen, icon, size);
    ReleaseDC(nullptr, screen);
    if (px.size() != static_cast<size_t>(size) * size * 4) return nullptr;
    D2D1_BITMAP_PROPERTIES props;
    props.pixelFormat.format = DXGI_FORMAT_B8G8R8A8_UNORM;
    props.pixelFormat.alphaMode = D2D1_ALPHA_MODE_PREMULTIPLIED;
    props.dpiX = 96;
    props.dpiY = 96;
    ID2D1Bitmap* bmp = nullptr;
    if (FAILED(rt->CreateBitmap(D2D1::SizeU(static_cast<UINT32>(size), static_cast<UINT32>(size)), px.data(),
                                static_cast<UINT32>(size) * 4, &props, &bmp)))
        bmp = nullptr;
    return bmp;
}

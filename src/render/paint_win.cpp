// Painting a box through its composition surface or its bitmap, and the periodic repaint.
#include <vector>

#include "base/com_win.h"
#include "boxes/box_win.h"
#include "inventory/inventory_win.h"
#include "render/background_win.h"
#include "render/devices_win.h"
#include "render/fallback_win.h"
#include "render/metrics.h"
#include "render/render_win.h"
#include "render/replay_win.h"
#include "render/scene.h"
#include "settings/lists.h"
#include "settings/settings.h"

std::map<HICON, ID2D1Bitmap*> g_iconD2D;

namespace {

int ClientWidth(BoxWin* box) {
    RECT rc = {};
    if (box->hwnd && GetClientRect(box->hwnd, &rc)) return rc.right - rc.left;
    return box->width;
}

int ItemCount(const BoxWin* box) { return static_cast<int>(box->items.size()); }

} // namespace

Rect CellRect(BoxWin* box, int index, int width) {
    return CellRectAt(index, width, box ? box->scrollY : 0, g_cellW, g_cellH);
}

int HitTest(BoxWin* box, int x, int y) {
    if (!box) return -1;
    return HitTestCells(ItemCount(box), ClientWidth(box), box->scrollY, g_cellW, g_cellH, Point{x, y});
}

ID2D1Bitmap* IconToD2D(BoxWin* box, HICON icon) {
    if (!box || !icon) return nullptr;
    if (box->d2dCtx) {
        const auto it = g_iconD2D.find(icon);
        if (it != g_iconD2D.end()) return it->second;
        ID2D1Bitmap* bmp = IconToBitmap(box->d2dCtx, icon, g_iconSize);
        g_iconD2D[icon] = bmp;
        return bmp;
    }
    if (box->fallback) return FallbackIcon(icon);
    return nullptr;
}

void FlushIconBitmaps() {
    for (auto& entry : g_iconD2D) SafeRelease(entry.second);
    g_iconD2D.clear();
    FlushFallbackIcons();
}

void DrawBox(BoxWin* box) {
    if (!box || box->width < 1 || box->height < 1) return;
    const bool composition = box->d2dCtx && box->brush;
    if (!composition && !box->fallback) return;

    BoxSceneInput in;
    in.width = box->width;
    in.height = box->height;
    in.items = &box->items;
    in.scrollY = box->scrollY;
    in.hoverIdx = box->hoverIdx;
    in.collapsed = box->collapsed;
    in.colorIdx = box->colorIdx;
    in.title = BoxTitle(box->key, g_boxNames, box->items.size());
    in.skin = SkinAt(g_skinIndex);
    // A picture that cannot be shown translucent is drawn opaque rather than darkened.
    in.alpha = box->fallback && !box->fallback->layered ? 1.0f : static_cast<float>(g_alpha) / 255.0f;
    in.iconSize = g_iconSize;
    in.cellW = g_cellW;
    in.cellH = g_cellH;
    std::vector<DrawOp> scene;
    SetSceneBackground(in);
    BuildBoxScene(in, scene);
    const auto icon = [box](int i) -> ID2D1Bitmap* {
        if (i < 0 || i >= ItemCount(box)) return nullptr;
        return IconToD2D(box, GetFileIcon(box->items[static_cast<size_t>(i)].path));
    };

    if (!composition) {
        DrawBoxFallback(box, scene, icon);
        return;
    }
    if (!box->targetBitmap && !RecoverBoxTarget(box)) return;
    ReplayContext ctx;
    ctx.rt = box->d2dCtx;
    ctx.brush = box->brush;
    ctx.titleFormat = box->titleFormat;
    ctx.nameFormat = box->nameFormat;
    ctx.icon = icon;
    box->d2dCtx->BeginDraw();
    ReplayScene(scene, ctx);
    box->d2dCtx->EndDraw(nullptr, nullptr);
    box->swapChain->Present(0, 0);
}

// The main loop still draws every box on each frame; marking matters once it draws on change.
void MarkBoxDirty(BoxWin*) {}
void MarkAllBoxesDirty() {}

void RenderAll() {
    POINT cursor = {};
    GetCursorPos(&cursor);
    for (BoxWin* box : g_boxes) {
        RECT wr = {};
        const bool inside = box->hwnd && GetWindowRect(box->hwnd, &wr) && cursor.x >= wr.left &&
                            cursor.x < wr.right && cursor.y >= wr.top && cursor.y < wr.bottom;
        POINT client = cursor;
        if (inside) ScreenToClient(box->hwnd, &client);
        box->hoverIdx = HoverIndex(inside, Point{client.x, client.y}, ItemCount(box), ClientWidth(box), box->scrollY,
                                   g_cellW, g_cellH);
    }
    for (BoxWin* box : g_boxes) DrawBox(box);
}

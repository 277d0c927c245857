// Painting a box through its composition surface or its bitmap, and drawing only what changed: a
// box is drawn when it was marked and its picture's inputs differ from what its surface shows. This
// file decides which path a box takes and what a failure means for it (drawn again, a lost device
// recovered before the next draw); the surfaces below it only report how their calls went.
#include "render/paint_win.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "base/com_win.h"
#include "inventory/inventory_win.h"
#include "render/background_win.h"
#include "render/box_record_win.h"
#include "render/devices_win.h"
#include "render/fallback_win.h"
#include "render/name_layouts_win.h"
#include "render/replay_win.h"
#include "render/scene.h"
#include "render/skins_win.h"
#include "settings/lists.h"
#include "settings/metrics.h"
#include "settings/settings.h"

namespace {

std::map<std::pair<HICON, int>, ID2D1Bitmap*> g_iconD2D; // bitmaps of the composition path's device, by size

// What a box's surface shows: the inputs it was drawn from, in the resource epoch it was drawn in.
struct Picture {
    BoxSceneInput in;
    unsigned epoch = 0;
    // A composition box: the inputs of its last presents, the latest last, one per buffer at most
    // (each buffer holds one of them; empty while what its buffers hold is unknown).
    std::vector<BoxSceneInput> frames;
};
std::map<const BoxWin*, Picture> g_pictures;
unsigned g_epoch = 1; // bumped when fonts, icon bitmaps or shared targets of every box were replaced
std::vector<BoxWin*> g_marked;
bool g_allMarked = false;
bool g_deviceLost = false;
bool g_otherWindows = false; // a box is to change between composition and its bitmap: new windows
unsigned long g_drawCount = 0;
// While a draw leaves boxes marked (a present that failed), the main loop draws them again after this
// wait, doubled each time up to the last, without any input.
constexpr DWORD kFirstRetryMs = 16;
constexpr DWORD kLastRetryMs = 2000;
DWORD g_retryMs = 0;

int ClientWidth(BoxWin* box) {
    RECT rc = {};
    if (box->hwnd && GetClientRect(box->hwnd, &rc)) return rc.right - rc.left;
    return box->width;
}

int ItemCount(const BoxWin* box) { return static_cast<int>(box->items.size()); }

BoxSceneInput InputOf(const BoxWin* box) {
    BoxView v;
    v.key = &box->key;
    v.items = &box->items;
    v.width = box->width;
    v.height = box->height;
    v.scrollY = box->scrollY;
    v.hoverIdx = box->hoverIdx;
    v.marked = &box->marked;
    v.collapsed = box->collapsed;
    v.colorIdx = box->colorIdx;
    v.dpi = box->dpi;
    // A picture that cannot be shown translucent is drawn opaque rather than darkened.
    v.opaque = box->fallback && !box->fallback->layered;
    BoxLook look;
    look.skinIndex = g_skinIndex;
    look.alpha = g_alpha;
    const BoxMetrics m = BoxMetricsOf(box);
    look.iconSize = m.iconSize;
    look.cellW = m.cellW;
    look.cellH = m.cellH;
    look.nameLine = m.nameLine;
    look.names = &g_boxNames;
    BoxSceneInput in = SceneInputOf(v, look);
    SetSceneBackground(in); // a new or cleared background picture is a change of every box
    return in;
}

bool Shows(const BoxWin* box, const BoxSceneInput& in) {
    if (box->fallback && !box->fallback->drawn) return false;
    const auto it = g_pictures.find(box);
    return it != g_pictures.end() && it->second.epoch == g_epoch && SameSceneInput(it->second.in, in);
}

// A lost device marks every box; the next DrawMarkedBoxes makes the devices anew first.
void NoteDeviceLost() {
    g_deviceLost = true;
    MarkAllBoxesDirty();
}

// Draws the scene into the box's swap chain and presents it; false when nothing new was shown.
bool DrawComposition(BoxWin* box, const std::vector<DrawOp>& scene,
                     const std::function<ID2D1Bitmap*(int)>& icon) {
    if (!box->targetBitmap && !RecoverBoxTarget(box)) return false;
    HRESULT hr = ReplayScene(scene, {box->d2dCtx, box->brush, box->titleFormat, box->nameFormat, icon});
    if (SUCCEEDED(hr)) hr = box->swapChain->Present(0, 0);
    if (IsDeviceLoss(hr)) NoteDeviceLost(); // rebuilt by the main loop, never while this box draws
    return SUCCEEDED(hr);
}

// How many buffers a box's swap chain flips through when they keep their contents between presents
// (the sequential flip model); 0 when they do not, so that no present may leave pixels undrawn.
UINT KeptBuffers(BoxWin* box) {
    DXGI_SWAP_CHAIN_DESC1 d = {};
    if (!box->swapChain || FAILED(box->swapChain->GetDesc1(&d))) return 0;
    return d.SwapEffect == DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL ? d.BufferCount : 0;
}

// Only the hover cell changed: the back buffer, which holds the picture presented a buffer count ago,
// gets the cells that differ from it, and the present names the cells that differ from the last one.
// Every buffer has been drawn whole once before (frames holds a picture for each).
bool DrawCompositionHover(BoxWin* box, BoxSceneInput& in, const std::vector<DrawOp>& scene,
                          const std::function<ID2D1Bitmap*(int)>& icon) {
    const auto it = g_pictures.find(box);
    if (it == g_pictures.end() || it->second.epoch != g_epoch || !box->targetBitmap) return false;
    std::vector<BoxSceneInput>& frames = it->second.frames;
    const UINT buffers = KeptBuffers(box);
    std::vector<Rect> draw, dirty;
    if (buffers < 2 || frames.size() < buffers || !FlipHoverAreas(frames[frames.size() - buffers], frames.back(), in, draw, dirty))
        return false;
    MergeNearAreas(draw); // the present still names the changed cells alone
    HRESULT hr = S_OK;
    std::vector<DrawOp> ops;
    for (const Rect& area : draw) {
        SceneWithin(scene, area, [box](const DrawOp& op) { return FallbackNameBounds(box, op); }, ops);
        hr = ReplayScene(ops, {box->d2dCtx, box->brush, box->titleFormat, box->nameFormat, icon, &area});
        if (FAILED(hr)) break;
    }
    std::vector<RECT> rects;
    for (const Rect& r : dirty) rects.push_back({r.left, r.top, r.right, r.bottom});
    DXGI_PRESENT_PARAMETERS params = {static_cast<UINT>(rects.size()), rects.data(), nullptr, nullptr};
    if (SUCCEEDED(hr)) hr = box->swapChain->Present1(0, 0, &params);
    if (FAILED(hr)) {
        if (IsDeviceLoss(hr)) NoteDeviceLost();
        g_pictures.erase(it); // what the buffers hold is not known any more: drawn whole
        return false;
    }
    frames.erase(frames.begin());
    frames.push_back(in);
    it->second.in = std::move(in);
    return true;
}

// Only the hover cell, only the size (keeping the columns) or only the scroll offset changed since the
// bitmap's picture was drawn: the parts that changed (the cells left and entered; the title band and
// the new strips; the rows moved, then the band and the rows that came into view) are drawn again,
// with whatever spills into them, and nothing else.
bool DrawChangedParts(BoxWin* box, BoxSceneInput& in, const std::vector<DrawOp>& scene,
                      const std::function<ID2D1Bitmap*(int)>& icon) {
    const auto it = g_pictures.find(box);
    if (it == g_pictures.end() || it->second.epoch != g_epoch) return false;
    const BoxSceneInput& shown = it->second.in;
    std::vector<Rect> areas;
    RowShift shift;
    bool scrolled = false;
    const bool resized = shown.width != in.width || shown.height != in.height;
    if (resized) {
        if (!ResizeChangeAreas(shown, in, areas)) return false;
    } else if (ScrollChangeAreas(shown, in, shift, areas)) {
        scrolled = true;
    } else if (OnlyHoverDiffers(shown, in)) {
        areas = HoverChangeAreas(in, shown.hoverIdx, in.hoverIdx);
    } else {
        return false;
    }
    MergeNearAreas(areas);
    std::vector<ScenePart> parts;
    for (const Rect& area : areas) {
        parts.push_back({area, {}});
        SceneWithin(scene, area, [box](const DrawOp& op) { return FallbackNameBounds(box, op); }, parts.back().ops);
    }
    // A window whose size is new is handed its whole picture: what it showed before is not kept.
    if ((!parts.empty() || resized || scrolled) &&
        !DrawBoxFallbackParts(box, parts, icon, resized, scrolled ? &shift : nullptr))
        return false;
    it->second.in = std::move(in);
    return true;
}

// A box that cannot compose after a loss is drawn into a bitmap instead, in a window of its own: a
// window made for composition has no surface a bitmap could be shown on.
void TakeBitmapPath(BoxWin*) { g_otherWindows = true; }

void RecoverGraphics() {
    // Every bitmap made on the old devices goes before them: icons and the background picture.
    for (auto& entry : g_iconD2D) SafeRelease(entry.second);
    g_iconD2D.clear();
    ForgetBackgroundBitmaps();
    ForgetTextLayouts();
    RebuildCompositionDevices(TakeBitmapPath);
    // Boxes drawn into bitmaps compose again, in new windows, once the devices are back.
    for (BoxWin* box : g_boxes)
        if (box->fallback && CompositionReady()) g_otherWindows = true;
    InvalidateSurfaces();
}

} // namespace

Rect CellRect(BoxWin* box, int index, int width) {
    const BoxMetrics m = BoxMetricsOf(box);
    return CellRectAt(index, width, box ? box->scrollY : 0, m.cellW, m.cellH, m.dpi);
}

int HitTest(BoxWin* box, int x, int y) {
    if (!box) return -1;
    const BoxMetrics m = BoxMetricsOf(box);
    return HitTestCells(ItemCount(box), ClientWidth(box), box->scrollY, m.cellW, m.cellH, Point{x, y}, m.dpi);
}

ID2D1Bitmap* IconToD2D(BoxWin* box, HICON icon) {
    if (!box || !icon) return nullptr;
    const int size = BoxMetricsOf(box).iconSize;
    if (box->d2dCtx) {
        const auto it = g_iconD2D.find({icon, size});
        if (it != g_iconD2D.end()) return it->second;
        ID2D1Bitmap* bmp = IconToBitmap(box->d2dCtx, icon, size);
        g_iconD2D[{icon, size}] = bmp;
        return bmp;
    }
    if (box->fallback) return FallbackIcon(icon, size);
    return nullptr;
}

void FlushIconBitmaps() {
    for (auto& entry : g_iconD2D) SafeRelease(entry.second);
    g_iconD2D.clear();
    FlushFallbackIcons();
    InvalidateSurfaces();
}

void InvalidateSurfaces() {
    if (++g_epoch == 0) g_epoch = 1;
    MarkAllBoxesDirty();
}

void ForgetBoxPicture(BoxWin* box) { g_pictures.erase(box); }

void ShowPictureAgain(BoxWin* box) {
    if (!box) return;
    ForgetBoxPicture(box);
    MarkBoxDirty(box);
}

bool InitBoxDComp(BoxWin* box) {
    const HRESULT hr = MakeBoxComposition(box);
    if (FAILED(hr) && !IsDeviceLoss(hr)) return false;
    MakeBoxFormats(box, false);
    ForgetBoxPicture(box); // a new surface shows nothing yet
    // A device lost while the box was made: the box composes once the devices are made anew.
    if (FAILED(hr)) NoteDeviceLost();
    return true;
}

void ReleaseBoxRender(BoxWin* box) {
    if (!box) return;
    ReleaseBoxComposition(box);
    SafeRelease(box->titleFormat);
    SafeRelease(box->nameFormat);
    ReleaseBoxFallback(box);
    ForgetBox(box);
}

void RebuildBoxFormats(BoxWin* box) {
    if (!box) return;
    MakeBoxFormats(box, true);
    ForgetBoxPicture(box);
}

void RebuildAllFormats() {
    ForgetTextLayouts(); // those of the old fonts are not asked for again
    for (BoxWin* box : g_boxes) RebuildBoxFormats(box);
    MarkAllBoxesDirty();
}

void ResizeBoxRender(BoxWin* box, int w, int h) {
    if (!box || w < 1 || h < 1) return;
    if (!box->fallback && !box->swapChain) { // nothing drawn: any size is taken
        box->width = w;
        box->height = h;
        return;
    }
    if (box->fallback) {
        ResizeBoxFallback(box, w, h);
        DrawBox(box);
        return;
    }
    switch (ResizeBoxChain(box, w, h)) {
    case ChainResize::Lost: // the new devices make the box's buffers at this size
        box->width = w;
        box->height = h;
        NoteDeviceLost();
        return;
    case ChainResize::Unchanged:
        break;
    case ChainResize::Resized:
    case ChainResize::Failed:
        ForgetBoxPicture(box); // the buffers hold nothing yet: presented after every resize that ran
        break;
    }
    DrawBox(box);
}

void PaintBoxWindow(BoxWin* box, HDC hdc) {
    if (!box) return;
    if (box->fallback) {
        BlitSurface(box, hdc);
    } else if (box->swapChain) {
        if (CompositionDevicesLost()) {
            NoteDeviceLost();
        } else {
            ShowPictureAgain(box);
        }
    }
}

void CheckGraphicsDevices() {
    // A display change also follows a driver that came back: composition is tried again.
    if ((g_dcomp && CompositionDevicesLost()) || CompositionMissing()) {
        NoteDeviceLost();
    } else {
        InvalidateSurfaces();
    }
}

void ForgetBox(BoxWin* box) {
    g_pictures.erase(box);
    g_marked.erase(std::remove(g_marked.begin(), g_marked.end(), box), g_marked.end());
}

void DrawBox(BoxWin* box) {
    if (!box || box->width < 1 || box->height < 1) return;
    const bool composition = box->d2dCtx && box->brush;
    if (!composition && !box->fallback) return;
    BoxSceneInput in = InputOf(box);
    if (Shows(box, in)) return; // nothing it shows changed: no scene, no drawing, no present

    std::vector<DrawOp> scene;
    BuildBoxScene(in, scene);
    // Icons are fetched as their cells are drawn, so cells never shown never ask the shell.
    const auto icon = [box, size = in.iconSize](int i) -> ID2D1Bitmap* {
        if (i < 0 || i >= ItemCount(box)) return nullptr;
        return IconToD2D(box, GetFileIconAt(box->items[static_cast<size_t>(i)].path, size));
    };
    ++g_drawCount;
    if (composition ? DrawCompositionHover(box, in, scene, icon) : DrawChangedParts(box, in, scene, icon)) return;
    // Whole: what each buffer holds stays known while the box keeps its buffers and resources.
    std::vector<BoxSceneInput> frames;
    const auto it = g_pictures.find(box);
    if (composition && box->targetBitmap && it != g_pictures.end() && it->second.epoch == g_epoch)
        frames = std::move(it->second.frames);
    g_pictures.erase(box);
    const bool shown = composition ? DrawComposition(box, scene, icon) : DrawBoxFallback(box, scene, icon);
    if (shown) {
        Picture& p = g_pictures[box];
        if (composition) {
            frames.push_back(in);
            const size_t keep = KeptBuffers(box);
            if (frames.size() > keep) frames.erase(frames.begin(), frames.end() - static_cast<std::ptrdiff_t>(keep));
            p.frames = std::move(frames);
        }
        p.in = std::move(in);
        p.epoch = g_epoch;
    } else {
        MarkBoxDirty(box); // whatever failed, the box is not left showing a stale picture
    }
}

void MarkBoxDirty(BoxWin* box) {
    if (box && std::find(g_marked.begin(), g_marked.end(), box) == g_marked.end()) g_marked.push_back(box);
}

void MarkAllBoxesDirty() { g_allMarked = true; }

bool AnyBoxMarked() { return g_allMarked || !g_marked.empty(); }

void DrawMarkedBoxes(bool yieldToMessages) {
    // A lost device marks every box again while drawing; a few passes settle it.
    for (int pass = 0; pass < 3 && AnyBoxMarked(); ++pass) {
        if (g_deviceLost) {
            g_deviceLost = false;
            RecoverGraphics();
        }
        const bool all = g_allMarked;
        std::vector<BoxWin*> marked;
        marked.swap(g_marked);
        g_allMarked = false;
        std::vector<BoxWin*> due;
        for (BoxWin* box : g_boxes)
            if (all || std::find(marked.begin(), marked.end(), box) != marked.end()) due.push_back(box);
        for (size_t i = 0; i < due.size(); ++i) {
            DrawBox(due[i]);
            // The boxes not drawn yet stay marked and are drawn once the messages are answered.
            if (yieldToMessages && i + 1 < due.size() && HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE))) {
                for (size_t k = i + 1; k < due.size(); ++k) MarkBoxDirty(due[k]);
                g_retryMs = 0;
                return;
            }
        }
    }
    g_retryMs = !AnyBoxMarked() ? 0 : g_retryMs ? std::min(g_retryMs * 2, kLastRetryMs) : kFirstRetryMs;
}

DWORD RedrawWaitMs() { return AnyBoxMarked() ? g_retryMs : INFINITE; }

void NoteDeviceRemoved() { NoteDeviceLost(); }

bool TakeOtherWindowsRequest() { return std::exchange(g_otherWindows, false); }

unsigned long BoxDrawCount() { return g_drawCount; }

void RenderAll() {
    POINT cursor = {};
    GetCursorPos(&cursor);
    for (BoxWin* box : g_boxes) {
        RECT wr = {};
        const bool inside = box->hwnd && GetWindowRect(box->hwnd, &wr) && cursor.x >= wr.left &&
                            cursor.x < wr.right && cursor.y >= wr.top && cursor.y < wr.bottom;
        POINT client = cursor;
        if (inside) ScreenToClient(box->hwnd, &client);
        const BoxMetrics m = BoxMetricsOf(box);
        box->hoverIdx = HoverIndex(inside, Point{client.x, client.y}, ItemCount(box), ClientWidth(box), box->scrollY,
                                   m.cellW, m.cellH, m.dpi);
    }
    MarkAllBoxesDirty();
    DrawMarkedBoxes();
}

namespace {

std::map<int, int> g_nameLinesAt; // by DPI other than 96, in the current font

// Height of a name line in the current font at `dpi`, in whole pixels (0: unknown); -1 without a font.
int MeasureNameLine(int dpi) {
    ComPtr<IDWriteTextFormat> format;
    if (!g_dw || FAILED(g_dw->CreateTextFormat(g_fontName.c_str(), nullptr, DWRITE_FONT_WEIGHT_NORMAL,
                                               DWRITE_FONT_STYLE_NORMAL, DWRITE_FONT_STRETCH_NORMAL,
                                               ScaleFont(static_cast<float>(NameFontSize(g_fontSize, true)), dpi),
                                               L"zh-CN", format.put())))
        return -1;
    return static_cast<int>(std::ceil(LineHeightOf(format.get())));
}

} // namespace

int NameLineHeightAt(int dpi) {
    // A font's lines do not scale to the pixel: the names get the room their font takes at the size.
    if (dpi == kBaseDpi || g_nameLineHeight <= 0) return ScaleLen(g_nameLineHeight, dpi);
    const auto it = g_nameLinesAt.find(dpi);
    if (it != g_nameLinesAt.end()) return it->second;
    const int line = MeasureNameLine(dpi);
    return g_nameLinesAt[dpi] = line > 0 ? line : ScaleLen(g_nameLineHeight, dpi);
}

void MeasureNameLines() {
    g_nameLinesAt.clear(); // measured again in the font as it now is
    const int line = MeasureNameLine(kBaseDpi);
    if (line < 0 || line == g_nameLineHeight) return;
    g_nameLineHeight = line;
    UpdateCellSize();
    MarkAllBoxesDirty();
}

void ApplyStyleAll() {
    UpdateSkinBrush();
    MeasureNameLines();
    RebuildAllFormats();
    FlushIconBitmaps();
}

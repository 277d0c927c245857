#include "render/scene.h"

#include <algorithm>

#include "base/strutil.h"

int GridColumns(int width, int cellW, int dpi) {
    const int columns = cellW > 0 ? (width - ScaleLen(kGridMargin, dpi)) / cellW : 0;
    return columns <= 0 ? 1 : columns;
}

int ColumnPitch(int width, int cellW, int dpi) {
    const int spread = (width - ScaleLen(kGridMargin, dpi)) / GridColumns(width, cellW, dpi);
    return spread > cellW ? spread : cellW;
}

Rect CellRectAt(int index, int width, int scrollY, int cellW, int cellH, int dpi) {
    const int columns = GridColumns(width, cellW, dpi);
    const int pitch = ColumnPitch(width, cellW, dpi);
    const int col = index % columns;
    const int row = index / columns;
    Rect r;
    r.left = col * pitch + ScaleLen(kGridLeft, dpi);
    r.top = row * cellH + ScaleLen(kGridTop, dpi) - scrollY;
    r.right = r.left + pitch - ScaleLen(kCellGapX, dpi);
    r.bottom = r.top + cellH - ScaleLen(kCellGapY, dpi);
    return r;
}

int HitTestCells(int count, int width, int scrollY, int cellW, int cellH, Point p, int dpi) {
    for (int i = 0; i < count; ++i)
        if (CellRectAt(i, width, scrollY, cellW, cellH, dpi).Contains(p)) return i;
    return -1;
}

int HoverIndex(bool pointerInWindow, Point client, int count, int width, int scrollY, int cellW, int cellH, int dpi) {
    if (!pointerInWindow || client.y < ScaleLen(kTitleBand, dpi)) return -1;
    return HitTestCells(count, width, scrollY, cellW, cellH, client, dpi);
}

std::wstring BoxTitle(const std::wstring& key, const std::map<std::wstring, std::wstring>& names, size_t count) {
    const auto it = names.find(key);
    const std::wstring& name = it != names.end() ? it->second : key;
    return name + L" (" + IntToW(static_cast<int>(count)) + L")";
}

int NameFontSize(int fontSize, bool rebuilt) {
    const int size = fontSize - 2;
    return rebuilt && size <= 6 ? 7 : size;
}

bool operator==(const ColorF& a, const ColorF& b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; }

bool operator==(const RectF& a, const RectF& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool operator==(const DrawOp& a, const DrawOp& b) {
    return a.kind == b.kind && a.rect == b.rect && a.color == b.color && a.color2 == b.color2 && a.role == b.role &&
           a.item == b.item && a.text == b.text && a.src == b.src && a.width == b.width;
}

namespace {

constexpr ColorRef kFoundFill = RgbColor(255, 180, 0); // amber: what the find window found

RectF ToF(float l, float t, float r, float b) {
    RectF f;
    f.left = l;
    f.top = t;
    f.right = r;
    f.bottom = b;
    return f;
}

DrawOp& Add(std::vector<DrawOp>& out, DrawKind kind, RectF rect, ColorF color) {
    out.emplace_back();
    DrawOp& op = out.back();
    op.kind = kind;
    op.rect = rect;
    op.color = color;
    return op;
}

void AddItems(const BoxSceneInput& in, std::vector<DrawOp>& out) {
    if (!in.items) return;
    const int count = static_cast<int>(in.items->size());
    const float s = static_cast<float>(in.iconSize);
    const float iconTop = static_cast<float>(ScaleLen(kIconTop, in.dpi));
    const int bar = ScaleLen(kTitleBarHeight, in.dpi);
    for (int i = 0; i < count; ++i) {
        const Rect c = CellRectAt(i, in.width, in.scrollY, in.cellW, in.cellH, in.dpi);
        if (c.bottom <= bar - 1 || c.top > in.height) continue; // wholly outside the band
        const float l = static_cast<float>(c.left), t = static_cast<float>(c.top);
        const float r = static_cast<float>(c.right), b = static_cast<float>(c.bottom);
        if (i == in.hoverIdx) Add(out, DrawKind::Fill, ToF(l, t, r, b), ColF(in.skin.highlight, in.alpha));
        if (std::binary_search(in.marked.begin(), in.marked.end(), i)) {
            Add(out, DrawKind::Fill, ToF(l + 1, t + 1, r - 1, b - 1), ColF(kFoundFill, 0.35f));
            Add(out, DrawKind::Stroke, ToF(l + 1.5f, t + 1.5f, r - 1.5f, b - 1.5f), ColF(kFoundFill, 1));
        }
        const float x = static_cast<float>(c.left + (c.Width() - in.iconSize) / 2); // whole pixels: sharp
        Add(out, DrawKind::Icon, ToF(x, t + iconTop, x + s, t + iconTop + s), ColorF{1, 1, 1, 1}).item = i;
        DrawOp& name =
            Add(out, DrawKind::Text, NameRectIn(c, in.iconSize, in.nameLine, in.dpi), ColF(in.skin.text, in.alpha));
        name.role = TextRole::Name;
        name.item = i;
        name.text = (*in.items)[static_cast<size_t>(i)].name;
    }
}

// The background picture fills the body under the title bar, under the cells.
void AddPicture(const BoxSceneInput& in, std::vector<DrawOp>& out) {
    const float w = static_cast<float>(in.width), h = static_cast<float>(in.height);
    const float top = static_cast<float>(ScaleLen(kTitleBarHeight, in.dpi));
    if (in.collapsed || in.bgWidth < 1 || in.bgHeight < 1 || h <= top) return;
    DrawOp& op = Add(out, DrawKind::Picture, ToF(0, top, w, h), ColorF{1, 1, 1, in.alpha});
    op.src = CoverSource(in.bgWidth, in.bgHeight, w, h - top);
    op.item = in.bgId;
}

} // namespace

RectF NameRectIn(const Rect& cell, int iconSize, int lineHeight, int dpi) {
    const int top = cell.top + iconSize + ScaleLen(kNameGap, dpi);
    const int lines = lineHeight > 0 ? top + kNameLines * lineHeight : cell.bottom;
    const int inset = ScaleLen(kNameInset, dpi);
    return ToF(static_cast<float>(cell.left + inset), static_cast<float>(top), static_cast<float>(cell.right - inset), static_cast<float>(lines < cell.bottom ? lines : cell.bottom));
}

RectF CoverSource(int pw, int ph, float bw, float bh) {
    if (pw < 1 || ph < 1 || bw <= 0 || bh <= 0) return RectF{};
    const float fw = static_cast<float>(pw), fh = static_cast<float>(ph);
    // Scaled by the larger of the two ratios, the picture reaches both edges of the area.
    const float scale = bw / fw > bh / fh ? bw / fw : bh / fh;
    const float sw = bw / scale, sh = bh / scale;
    return ToF((fw - sw) / 2.0f, (fh - sh) / 2.0f, (fw + sw) / 2.0f, (fh + sh) / 2.0f);
}

void BuildBoxScene(const BoxSceneInput& in, std::vector<DrawOp>& out) {
    out.clear();
    if (in.width < 1 || in.height < 1) return;
    const float w = static_cast<float>(in.width), h = static_cast<float>(in.height);
    Add(out, DrawKind::Clear, ToF(0, 0, w, h), ColorF{0, 0, 0, 0});
    Add(out, DrawKind::Fill, ToF(0, 0, w, h), ColF(in.skin.background, in.alpha));
    AddPicture(in, out);
    // The outline, one pixel at 96 dpi, lies along the inside of the edges: its middle half its width in.
    const float half = static_cast<float>(ScaleLen(1, in.dpi)) / 2.0f;
    Add(out, DrawKind::Stroke, ToF(half, half, w - half, h - half), ColF(AccentAt(in.colorIdx), in.alpha)).width = 2 * half;
    if (!in.collapsed) AddItems(in, out);
    const float bar = static_cast<float>(ScaleLen(kTitleBarHeight, in.dpi));
    const float inset = static_cast<float>(ScaleLen(kTitleInset, in.dpi));
    Add(out, DrawKind::Gradient, ToF(0, 0, w, bar), ColF(in.skin.accent, in.alpha)).color2 =
        ColF(in.skin.accentDark, in.alpha);
    DrawOp& title = Add(out, DrawKind::Text, ToF(inset, 0, w - inset, bar), ColF(in.skin.text, in.alpha));
    title.role = TextRole::Title;
    title.text = in.title;
}

BoxSceneInput SceneInputOf(const BoxView& box, const BoxLook& look) {
    static const std::map<std::wstring, std::wstring> kNoNames;
    static const std::wstring kNoKey;
    BoxSceneInput in;
    in.width = box.width;
    in.height = box.height;
    in.items = box.items;
    in.scrollY = box.scrollY;
    in.hoverIdx = box.hoverIdx;
    if (box.marked) in.marked = *box.marked;
    in.collapsed = box.collapsed;
    in.colorIdx = box.colorIdx;
    in.title = BoxTitle(box.key ? *box.key : kNoKey, look.names ? *look.names : kNoNames,
                        box.items ? box.items->size() : 0);
    in.skin = SkinAt(look.skinIndex);
    in.alpha = box.opaque ? 1.0f : static_cast<float>(look.alpha) / 255.0f;
    in.iconSize = look.iconSize;
    in.cellW = look.cellW;
    in.cellH = look.cellH;
    in.nameLine = look.nameLine;
    in.dpi = box.dpi;
    return in;
}

bool SameSceneInput(const BoxSceneInput& a, const BoxSceneInput& b) {
    const size_t na = a.items ? a.items->size() : 0, nb = b.items ? b.items->size() : 0;
    const Skin &sa = a.skin, &sb = b.skin;
    return a.width == b.width && a.height == b.height && a.items == b.items && na == nb && a.scrollY == b.scrollY &&
           a.hoverIdx == b.hoverIdx && a.collapsed == b.collapsed && a.colorIdx == b.colorIdx && a.title == b.title &&
           sa.background == sb.background && sa.accent == sb.accent && sa.accentDark == sb.accentDark &&
           sa.text == sb.text && sa.highlight == sb.highlight && a.alpha == b.alpha && a.iconSize == b.iconSize &&
           a.cellW == b.cellW && a.cellH == b.cellH && a.nameLine == b.nameLine && a.dpi == b.dpi && a.bgWidth == b.bgWidth && a.bgHeight == b.bgHeight &&
           a.bgId == b.bgId && a.marked == b.marked;
}

bool OnlyHoverDiffers(const BoxSceneInput& shown, const BoxSceneInput& now) {
    if (shown.hoverIdx == now.hoverIdx) return false;
    BoxSceneInput same = shown;
    same.hoverIdx = now.hoverIdx;
    return SameSceneInput(same, now);
}

std::vector<Rect> HoverChangeAreas(const BoxSceneInput& in, int from, int to) {
    std::vector<Rect> areas;
    const int count = in.items && !in.collapsed ? static_cast<int>(in.items->size()) : 0;
    for (int i : {from, to}) {
        if (i < 0 || i >= count) continue;
        // Within the box. The title band is translucent over the cells: a cell under it changes what
        // the band shows, so the band is not cut off.
        const Rect c = CellRectAt(i, in.width, in.scrollY, in.cellW, in.cellH, in.dpi);
        const Rect shown{std::max(c.left, 0), std::max(c.top, 0), std::min(c.right, in.width),
                         std::min(c.bottom, in.height)};
        if (shown.right > shown.left && shown.bottom > shown.top) areas.push_back(shown);
    }
    return areas;
}

bool FlipHoverAreas(const BoxSceneInput& held, const BoxSceneInput& last, const BoxSceneInput& now,
                    std::vector<Rect>& draw, std::vector<Rect>& dirty) {
    draw.clear();
    dirty.clear();
    for (const BoxSceneInput* was : {&held, &last})
        if (!SameSceneInput(*was, now) && !OnlyHoverDiffers(*was, now)) return false;
    const auto changed = [&now](const BoxSceneInput& was) {
        return was.hoverIdx == now.hoverIdx ? std::vector<Rect>() : HoverChangeAreas(now, was.hoverIdx, now.hoverIdx);
    };
    draw = changed(held);
    dirty = draw;
    for (const Rect& r : changed(last))
        if (std::find(dirty.begin(), dirty.end(), r) == dirty.end()) dirty.push_back(r);
    return !dirty.empty();
}

bool ResizeChangeAreas(const BoxSceneInput& shown, const BoxSceneInput& now, std::vector<Rect>& areas) {
    areas.clear();
    BoxSceneInput same = shown;
    same.width = now.width;
    same.height = now.height;
    if (!SameSceneInput(same, now) || shown.width < 1 || shown.height < 1 || now.width < 1 || now.height < 1 ||
        GridColumns(shown.width, shown.cellW, shown.dpi) != GridColumns(now.width, now.cellW, now.dpi) ||
        ColumnPitch(shown.width, shown.cellW, shown.dpi) != ColumnPitch(now.width, now.cellW, now.dpi))
        return false;
    if (now.bgWidth > 0 && now.bgHeight > 0 && !now.collapsed) return false; // the picture is scaled to the size
    // The border is one pixel inside each edge; one pixel more on the inside is a margin for its ink.
    const int kEdge = 2 * ScaleLen(1, now.dpi);
    // Parts do not overlap: what lies in two is drawn once.
    int right = now.width; // where the bottom strip ends
    if (now.width != shown.width) {
        const int band = std::min(ScaleLen(kTitleBarHeight, now.dpi), now.height);
        areas.push_back({0, 0, now.width, band});
        right = std::max(std::min(shown.width, now.width) - kEdge, 0);
        if (band < now.height) areas.push_back({right, band, now.width, now.height});
    }
    if (now.height != shown.height) {
        const int top = std::max(std::min(shown.height, now.height) - kEdge, 0);
        if (right > 0) areas.push_back({0, top, right, now.height});
    }
    return true;
}

void MergeNearAreas(std::vector<Rect>& areas) {
    const auto size = [](const Rect& r) { return static_cast<long long>(r.Width()) * r.Height(); };
    // Merged only while the bounding rectangle adds at most a quarter to what the two cover.
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < areas.size() && !merged; ++i)
            for (size_t j = i + 1; j < areas.size() && !merged; ++j) {
                const Rect& a = areas[i];
                const Rect& b = areas[j];
                const Rect u{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                             std::max(a.bottom, b.bottom)};
                if (4 * size(u) > 5 * (size(a) + size(b))) continue;
                areas[i] = u;
                areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(j));
                merged = true;
            }
    }
}

namespace {
bool Meets(const RectF& r, const Rect& a) {
    return r.left < static_cast<float>(a.right) && r.right > static_cast<float>(a.left) &&
           r.top < static_cast<float>(a.bottom) && r.bottom > static_cast<float>(a.top);
}
} // namespace

void SceneWithin(const std::vector<DrawOp>& scene, const Rect& area, const std::function<RectF(const DrawOp&)>& nameBounds,
                 std::vector<DrawOp>& out) {
    out.clear();
    // The item a name, an icon or a highlight belongs to is drawn whole when any of them meets the
    // area, so the order within a cell stays as in the full picture.
    std::vector<int> items;
    for (const DrawOp& op : scene) {
        if (op.item < 0 || op.kind == DrawKind::Picture) continue;
        const bool name = op.kind == DrawKind::Text && op.role == TextRole::Name;
        if (Meets(name && nameBounds ? nameBounds(op) : op.rect, area)) items.push_back(op.item);
    }
    for (size_t k = 0; k < scene.size(); ++k) {
        const DrawOp& op = scene[k];
        const bool ofItem = op.item >= 0 && op.kind != DrawKind::Picture;
        // A cell's highlight carries no item number: it belongs to the icon right after it.
        const bool highlight = op.kind == DrawKind::Fill && k + 1 < scene.size() && scene[k + 1].kind == DrawKind::Icon;
        const int item = highlight ? scene[k + 1].item : op.item;
        if (ofItem || highlight) {
            if (std::find(items.begin(), items.end(), item) != items.end()) out.push_back(op);
        } else if (op.kind == DrawKind::Clear || Meets(op.rect, area)) {
            out.push_back(op);
        }
    }
}

int CellsIn(const std::vector<DrawOp>& ops) {
    int n = 0;
    for (const DrawOp& op : ops) n += op.kind == DrawKind::Icon;
    return n;
}

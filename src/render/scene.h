// What a box shows, as a list of drawing operations built from plain inputs. One replayer turns the
// list into pixels; everything decided here is checked without a graphics device.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/geom.h"
#include "inventory/item.h"
#include "render/skins.h"
#include "settings/metrics.h"


// The grid's geometry below is for a box on a monitor of `dpi`: cellW and cellH are already at that
// DPI (BoxMetrics), the fixed margins and gaps are scaled here.
// Cell of item `index` in a grid `width` pixels wide scrolled by scrollY; right and bottom exclusive.
Rect CellRectAt(int index, int width, int scrollY, int cellW, int cellH, int dpi = kBaseDpi);
// Number of columns of a grid `width` pixels wide: at least 1.
int GridColumns(int width, int cellW, int dpi = kBaseDpi);
// Distance between the columns: the grid spreads across the width, so cells are cellW apart or more.
int ColumnPitch(int width, int cellW, int dpi = kBaseDpi);
// The first of `count` items whose cell contains p, or -1.
int HitTestCells(int count, int width, int scrollY, int cellW, int cellH, Point p, int dpi = kBaseDpi);
// Hover index of a box: -1 unless the pointer is over its window and below its title band.
int HoverIndex(bool pointerInWindow, Point client, int count, int width, int scrollY, int cellW, int cellH,
               int dpi = kBaseDpi);

// "name (count)", where name is the user's display name for the key if there is one, else the key.
std::wstring BoxTitle(const std::wstring& key, const std::map<std::wstring, std::wstring>& names, size_t count);

// Size of the item name text: fontSize - 2 when a box is made; at least 7 when its formats are rebuilt.
int NameFontSize(int fontSize, bool rebuilt);

struct RectF {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};

// Where an item's name goes in its cell (a CellRectAt rectangle): below the icon and kNameGap lower,
// kNameInset in from each side, kNameLines lines of lineHeight high (down to the cell's bottom when
// the line height is not known, and never below it). The box draws the name there, cut to the lines
// that fit; whether a name is cut (the tooltip's question) is laid out in the same rectangle.
constexpr int kNameInset = 2;
constexpr int kNameGap = 4;
RectF NameRectIn(const Rect& cell, int iconSize, int lineHeight, int dpi = kBaseDpi);

enum class DrawKind {
    Clear,    // whole target to `color`
    Fill,     // rectangle filled with `color`
    Stroke,   // rectangle outlined `width` pixels wide with `color`
    Gradient, // rectangle filled by a vertical gradient from `color` (top) to `color2` (bottom)
    Text,     // `text` laid out in the rectangle with the `role` format, in `color`
    Icon,     // the icon of item `item`, stretched into the rectangle at full opacity
    Picture,  // part `src` (in picture pixels) of the background picture, stretched into the rectangle
              // at the opacity color.a; `item` is the picture's number (a new picture is a new scene)
};

enum class TextRole { Title, Name };

struct DrawOp {
    DrawKind kind = DrawKind::Clear;
    RectF rect;
    ColorF color;
    ColorF color2;
    TextRole role = TextRole::Title;
    int item = -1;
    std::wstring text;
    RectF src;
    float width = 1; // of a Stroke's line
};

bool operator==(const ColorF& a, const ColorF& b);
bool operator==(const RectF& a, const RectF& b);
bool operator==(const DrawOp& a, const DrawOp& b);
inline bool operator!=(const DrawOp& a, const DrawOp& b) { return !(a == b); }

struct BoxSceneInput {
    int width = 0;
    int height = 0;
    const std::vector<Item>* items = nullptr;
    int scrollY = 0;
    int hoverIdx = -1;
    std::vector<int> marked; // items the find window found, ascending: outlined
    bool collapsed = false;
    int colorIdx = 0;
    std::wstring title; // see BoxTitle
    Skin skin{};
    float alpha = 1;
    int iconSize = 32;
    int cellW = 78;
    int cellH = 84;
    int nameLine = 0; // height of a name line (g_nameLineHeight at the box's DPI)
    int dpi = kBaseDpi; // of the monitor the box is on; iconSize, cellW, cellH and nameLine are at it
    // Background picture: its size in pixels (0: none) and a number that changes with the picture.
    int bgWidth = 0;
    int bgHeight = 0;
    int bgId = 0;
};

// The part of a pw x ph picture that covers a bw x bh area when scaled uniformly: the whole area is
// filled, the picture's centre stays in the centre, what overhangs is cut off.
RectF CoverSource(int pw, int ph, float bw, float bh);

// Fills `out` (emptied first) with the operations of one paint, in drawing order. A box with a
// width or height below 1 has no operations.
void BuildBoxScene(const BoxSceneInput& in, std::vector<DrawOp>& out);

// What one box contributes to its picture.
struct BoxView {
    const std::wstring* key = nullptr;
    const std::vector<Item>* items = nullptr; // a box's items never change in place
    int width = 0;
    int height = 0;
    int scrollY = 0;
    int hoverIdx = -1;
    const std::vector<int>* marked = nullptr; // items the find window found, ascending
    bool collapsed = false;
    int colorIdx = 0;
    bool opaque = false; // shown where it cannot be translucent: drawn at full opacity
    int dpi = kBaseDpi; // of its monitor
};

// The program-wide settings every box's picture depends on.
struct BoxLook {
    int skinIndex = 2;
    int alpha = 130; // 0 to 255
    int iconSize = 32;
    int cellW = 78;
    int cellH = 84;
    int nameLine = 0; // these four at the box's DPI
    const std::map<std::wstring, std::wstring>* names = nullptr; // display names by key
};

// The scene input of a box: everything its picture is made from.
BoxSceneInput SceneInputOf(const BoxView& box, const BoxLook& look);
// Whether two inputs give the same scene (items compared by identity and count). Deciding this
// builds no scene, so a box whose inputs did not change costs next to nothing.
bool SameSceneInput(const BoxSceneInput& a, const BoxSceneInput& b);

// Whether two inputs differ in nothing but the hover cell (and do differ there).
bool OnlyHoverDiffers(const BoxSceneInput& shown, const BoxSceneInput& now);
// The parts of the picture a hover change from item `from` to item `to` changes (-1: none): the
// cells of both that show, within the box.
std::vector<Rect> HoverChangeAreas(const BoxSceneInput& in, int from, int to);
// A hover change drawn into a flip-model back buffer that still holds the picture of `held` (presented
// a few presents ago) while `last` was presented last: `draw` gets the cells that differ between held
// and now, `dirty` those and the cells that differ between last and now (what the present changes).
// False when either differs from now in more than the hover cell: the whole picture is drawn.
bool FlipHoverAreas(const BoxSceneInput& held, const BoxSceneInput& last, const BoxSceneInput& now,
                    std::vector<Rect>& draw, std::vector<Rect>& dirty);
// The parts of the picture a change of size alone (from the `shown` input to `now`) changes, when the
// columns stay (their count and spacing) and no background picture is stretched over the body: the title band (its text
// is laid out across the width) when the width changed, and along the right and bottom edges the
// strip that is new or gave up the border. False when the whole picture is to be drawn: anything
// else differs, the columns change, or a picture is scaled to the size.
bool ResizeChangeAreas(const BoxSceneInput& shown, const BoxSceneInput& now, std::vector<Rect>& areas);
// Areas drawn apart each pay a fixed cost for their pass: two whose bounding rectangle is hardly
// larger than they are together (adjoining cells, a strip beside a band) become that rectangle.
// What it adds is drawn again as it is, so the picture stays the same.
void MergeNearAreas(std::vector<Rect>& areas);
// The operations of `scene` that draw into `area`, in order, for a redraw of that area alone. An item
// name counts where it is drawn (nameBounds: its drawn bounds, which a name longer than its cell
// extends past it), so a name that spills into the area is drawn again with it.
void SceneWithin(const std::vector<DrawOp>& scene, const Rect& area, const std::function<RectF(const DrawOp&)>& nameBounds,
                 std::vector<DrawOp>& out);
// Cells among the operations: the items whose icon is drawn.
int CellsIn(const std::vector<DrawOp>& ops);

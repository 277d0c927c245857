// What the mouse does to a box, apart from the platform: edges and their cursors, the rectangle
// while an edge is dragged, the wheel, when a press on an item becomes a drag, where a dragged item
// goes.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "base/geom.h"
#include "settings/metrics.h"

constexpr int kWheelNotch = 120;
constexpr int kGhostSize = 32;
constexpr int kExpandedHeight = kNominalBoxHeight;

// The lengths below (edges, minimum size, wheel step, drag distance) are for a box on a monitor of
// `dpi`: their 96-dpi values scaled.

// Bits of an edge set.
enum : unsigned { kEdgeLeft = 1, kEdgeRight = 2, kEdgeTop = 4, kEdgeBottom = 8 };

// The edges a client point lies on (points outside the client area count too; 0: none).
unsigned HitEdge(int x, int y, int clientW, int clientH, int dpi = kBaseDpi);

enum class BoxCursor { Arrow, Hand, SizeNWSE, SizeNESW, SizeWE, SizeNS };
BoxCursor EdgeCursor(unsigned edges);
// The cursor over a client point that is not being dragged: an edge's, the hand over the title band
// and over an item cell, else the arrow.
BoxCursor PointerCursor(unsigned edges, int y, int hoverIdx, int dpi = kBaseDpi);

// The window rectangle while the edges in `mode` follow the pointer (dx, dy) from where they were
// at the press; never smaller than the box minimum, the side opposite a dragged edge staying put.
Rect ResizedRect(const Rect& atPress, unsigned mode, int dx, int dy, int dpi = kBaseDpi);

// The scroll offset after a wheel turn of `delta`, kept between 0 and the last row.
int ScrollAfterWheel(int scrollY, int delta, size_t itemCount, int clientW, int clientH, int cellW,
                     int cellH, int dpi = kBaseDpi);

// Whether a pointer (dx, dy) away from the press has left the press behind.
bool StartsDrag(int dx, int dy, int dpi = kBaseDpi);

// Index of the first rectangle (in list order) holding p; -1 when none does.
int BoxAt(const std::vector<Rect>& boxes, Point p);

enum class DropKind { SameBox, OtherBox, NoBox };
struct DropPlan {
    DropKind kind = DropKind::SameBox;
    bool backToDesktop = false; // the file lies in the hidden store and returns to the desktop
};
// Where a dragged item goes: its source box, the box it was released over (-1: none), and whether
// its file lies in the hidden store.
DropPlan PlanItemDrop(int sourceBox, int targetBox, bool inHiddenStore);

// A path dropped on a box from another program that must not go into a box: the desktop folder, a
// folder that holds it, the hidden store and anything inside the store.
bool RefusesDroppedPath(const std::wstring& path, const std::wstring& desktop, const std::wstring& hidden);

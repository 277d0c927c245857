// What the mouse does to a box, apart from the platform: edges and their cursors, the rectangle
// while an edge is dragged, the wheel, when a press on an item becomes a drag, where a dragged item
// goes.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "base/geom.h"
#include "settings/metrics.h"

constexpr int kEdgeBorder = 6; // the resize strips along the four sides
constexpr int kWheelStep = 40; // pixels per wheel notch
constexpr int kWheelNotch = 120;
constexpr int kDragSlopSq = 25; // a press becomes a drag beyond this squared distance
constexpr int kGhostSize = 32;
constexpr int kCollapsedHeight = 36;
constexpr int kExpandedHeight = kNominalBoxHeight;

// Bits of an edge set.
enum : unsigned { kEdgeLeft = 1, kEdgeRight = 2, kEdgeTop = 4, kEdgeBottom = 8 };

// The edges a client point lies on (points outside the client area count too; 0: none).
unsigned HitEdge(int x, int y, int clientW, int clientH);

enum class BoxCursor { Arrow, Hand, SizeNWSE, SizeNESW, SizeWE, SizeNS };
BoxCursor EdgeCursor(unsigned edges);
// The cursor over a client point that is not being dragged: an edge's, the hand over the title band
// and over an item cell, else the arrow.
BoxCursor PointerCursor(unsigned edges, int y, int hoverIdx);

// The window rectangle while the edges in `mode` follow the pointer (dx, dy) from where they were
// at the press; never smaller than the box minimum, the side opposite a dragged edge staying put.
Rect ResizedRect(const Rect& atPress, unsigned mode, int dx, int dy);

// The scroll offset after a wheel turn of `delta`, kept between 0 and the last row.
int ScrollAfterWheel(int scrollY, int delta, size_t itemCount, int clientW, int clientH, int cellW,
                     int cellH);

// Whether a pointer (dx, dy) away from the press has left the press behind.
bool StartsDrag(int dx, int dy);

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

#include "boxes/box_input.h"

#include "boxes/box_rules.h"
#include "inventory/scan.h"

unsigned HitEdge(int x, int y, int clientW, int clientH, int dpi) {
    const int border = ScaleLen(kEdgeBorder, dpi);
    unsigned edges = 0;
    if (x <= border) edges |= kEdgeLeft;
    if (x >= clientW - border) edges |= kEdgeRight;
    if (y <= border) edges |= kEdgeTop;
    if (y >= clientH - border) edges |= kEdgeBottom;
    return edges;
}

BoxCursor EdgeCursor(unsigned edges) {
    const bool l = edges & kEdgeLeft, r = edges & kEdgeRight, t = edges & kEdgeTop, b = edges & kEdgeBottom;
    if ((l && t) || (r && b)) return BoxCursor::SizeNWSE;
    if ((l && b) || (r && t)) return BoxCursor::SizeNESW;
    if (l || r) return BoxCursor::SizeWE;
    if (t || b) return BoxCursor::SizeNS;
    return BoxCursor::Arrow;
}

BoxCursor PointerCursor(unsigned edges, int y, int hoverIdx, int dpi) {
    if (edges) return EdgeCursor(edges);
    return hoverIdx >= 0 || y < ScaleLen(kTitleBand, dpi) ? BoxCursor::Hand : BoxCursor::Arrow;
}

Rect ResizedRect(const Rect& r0, unsigned mode, int dx, int dy, int dpi) {
    const int minW = ScaleLen(kMinBoxWidth, dpi), minH = ScaleLen(kMinBoxHeight, dpi);
    Rect r = r0;
    if (mode & kEdgeLeft) r.left += dx;
    if (mode & kEdgeRight) r.right += dx;
    if (mode & kEdgeTop) r.top += dy;
    if (mode & kEdgeBottom) r.bottom += dy;
    if (r.right - r.left < minW) {
        if (mode & kEdgeLeft) {
            r.left = r.right - minW;
        } else {
            r.right = r.left + minW;
        }
    }
    if (r.bottom - r.top < minH) {
        if (mode & kEdgeTop) {
            r.top = r.bottom - minH;
        } else {
            r.bottom = r.top + minH;
        }
    }
    return r;
}

int ScrollAfterWheel(int scrollY, int delta, size_t itemCount, int clientW, int clientH, int cellW,
                     int cellH, int dpi) {
    long long y = static_cast<long long>(scrollY) - static_cast<long long>(delta / kWheelNotch) * ScaleLen(kWheelStep, dpi);
    if (y < 0) y = 0;
    const int most = MaxScrollY(itemCount, clientW, clientH, cellW, cellH, dpi);
    if (y > most) y = most;
    return static_cast<int>(y);
}

bool StartsDrag(int dx, int dy, int dpi) {
    const long long x = dx, y = dy, slop = ScaleLen(kDragSlop, dpi);
    return x * x + y * y > slop * slop;
}

int BoxAt(const std::vector<Rect>& boxes, Point p) {
    for (size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i].Contains(p)) return static_cast<int>(i);
    return -1;
}

DropPlan PlanItemDrop(int sourceBox, int targetBox, bool inHiddenStore) {
    if (targetBox < 0) return {DropKind::NoBox, inHiddenStore};
    if (targetBox == sourceBox) return {DropKind::SameBox, false};
    return {DropKind::OtherBox, false};
}

namespace {

// Whether `inner` is `outer` or lies somewhere below it (paths compared as the file system does).
bool SameOrBelow(const std::wstring& inner, const std::wstring& outer) {
    std::wstring top = outer;
    while (!top.empty() && (top.back() == L'\\' || top.back() == L'/')) top.pop_back();
    if (top.empty()) return false;
    if (SamePathIgnoreCase(inner, top)) return true;
    return inner.size() > top.size() && (inner[top.size()] == L'\\' || inner[top.size()] == L'/') &&
           SamePathIgnoreCase(inner.substr(0, top.size()), top);
}

} // namespace

bool RefusesDroppedPath(const std::wstring& path, const std::wstring& desktop, const std::wstring& hidden) {
    return path.empty() || SameOrBelow(desktop, path) || SameOrBelow(path, hidden);
}

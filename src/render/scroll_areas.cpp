#include "render/scroll_areas.h"

#include <algorithm>
#include <cstdlib>

bool ScrollChangeAreas(const BoxSceneInput& shown, const BoxSceneInput& now, RowShift& shift, std::vector<Rect>& areas) {
    areas.clear();
    shift = RowShift{};
    BoxSceneInput same = shown;
    same.scrollY = now.scrollY;
    same.hoverIdx = now.hoverIdx;
    if (shown.scrollY == now.scrollY || !SameSceneInput(same, now) || now.collapsed) return false;
    if (now.bgWidth > 0 && now.bgHeight > 0) return false;
    // The body between the title band and the bottom border: the outline's sides are the same in
    // every such row, so whole rows move. The band and the border row are drawn again, cells and all.
    const int w = now.width, h = now.height;
    const int top = ScaleLen(kTitleBarHeight, now.dpi), bottom = h - 1;
    const int dy = now.scrollY - shown.scrollY;
    if (w < 1 || bottom - top <= std::abs(dy)) return false;
    if (dy > 0) {
        shift = {top, bottom - dy, dy};
        areas.push_back({0, 0, w, top});
        areas.push_back({0, bottom - dy, w, h});
    } else {
        shift = {top - dy, bottom, dy};
        areas.push_back({0, 0, w, top - dy});
        areas.push_back({0, bottom, w, h});
    }
    // The old hover cell moved with the rows; its highlight goes, the new one comes.
    if (shown.hoverIdx != now.hoverIdx)
        for (const Rect& r : HoverChangeAreas(now, shown.hoverIdx, now.hoverIdx)) areas.push_back(r);
    return true;
}

// A wheel step moves the cells and nothing else: the picture already drawn holds most of what the
// box shows after it, moved up or down. Only the title band (translucent over the cells), the rows
// that come into view and the bottom border are drawn again.
#pragma once
#include <vector>

#include "base/geom.h"
#include "render/scene.h"

// Rows of a picture that take their pixels from `dy` rows lower (from higher rows when dy < 0): rows
// top to bottom (exclusive) get what rows top + dy to bottom + dy held. Whole rows, edge to edge.
struct RowShift {
    int top = 0;
    int bottom = 0;
    int dy = 0;
};

// The change from the picture of `shown` to that of `now` when only the scroll offset (and with it the
// hover cell) changed: the rows that keep their pixels, moved, and the areas to draw again. False when
// the whole picture is to be drawn: anything else differs, a background picture lies under the cells
// (it does not move with them), the box is collapsed, or the step is not smaller than the body.
bool ScrollChangeAreas(const BoxSceneInput& shown, const BoxSceneInput& now, RowShift& shift, std::vector<Rect>& areas);

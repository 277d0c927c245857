// Hover of a box: the cell under the pointer.
#include "boxes/box_win.h"
#include "render/render_win.h"

void UpdateBoxHover(BoxWin* box, int x, int y) {
    if (box) box->hoverIdx = y < 30 ? -1 : HitTest(box, x, y);
}

void ClearBoxHover(BoxWin* box) {
    if (box) box->hoverIdx = -1;
}

// Hover of a box: the cell under the pointer, from the box's own mouse messages. A box is marked
// for drawing only when its hover cell changed; a leave notice clears it.
#include "boxes/hover_win.h"

#include "boxes/name_tip_win.h"
#include "render/box_record_win.h"
#include "render/paint_win.h"
#include "render/scene.h"

namespace {

HWND g_tracked = nullptr; // the box window whose leave notice is requested (the pointer is over one at a time)

void SetHover(BoxWin* box, int index) {
    if (box->hoverIdx == index) return;
    box->hoverIdx = index;
    FollowHoverWithNameTip(box, index);
    MarkBoxDirty(box);
}

} // namespace

void UpdateBoxHover(BoxWin* box, int x, int y) {
    if (!box) return;
    if (box->hwnd && box->hwnd != g_tracked) {
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof tme;
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = box->hwnd;
        if (TrackMouseEvent(&tme)) g_tracked = box->hwnd;
    }
    SetHover(box, y < ScaleLen(kTitleBand, box->dpi) ? -1 : HitTest(box, x, y));
}

void ClearBoxHover(BoxWin* box) {
    if (!box) return;
    if (box->hwnd == g_tracked) g_tracked = nullptr; // the notice came: the next move asks again
    SetHover(box, -1);
}

void ForgetHoverTracking() {
    g_tracked = nullptr;
    ForgetNameTip();
}

// The mouse on a box window: edges resize, the title band moves, the wheel scrolls, a double click
// opens, and a press on a cell hands over to the item drag. Whatever changes what a box shows marks
// it for drawing; the main loop draws it.
#include "boxes/box_mouse_win.h"

#include <algorithm>

#include "base/process_win.h"
#include "base/screen_win.h"
#include "base/strutil.h"
#include "boxes/box_classes_win.h"
#include "boxes/box_input.h"
#include "boxes/box_menu_win.h"
#include "boxes/box_rules.h"
#include "boxes/box_win.h"
#include "boxes/desktop_attach_win.h"
#include "boxes/hover_win.h"
#include "boxes/item_drag_win.h"
#include "boxes/item_menu_win.h"
#include "boxes/layout_win.h"
#include "inventory/inventory_win.h"
#include "render/box_record_win.h"
#include "render/fallback_win.h"
#include "render/paint_win.h"
#include "settings/ini_names.h"
#include "settings/ini_win.h"
#include "settings/lists_win.h"
#include "settings/metrics.h"
#include "settings/settings.h"

bool g_resizing = false;

namespace {

BoxWin* g_resizeBox = nullptr;
unsigned g_resizeMode = 0;  // edge set
POINT g_resizeStart = {};   // pointer at the press, screen
RECT g_resizeWin0 = {};     // window at the press, screen
BoxWin* g_movingBox = nullptr; // the box inside the system move loop, if any

void RunSystemMoveLoop(HWND hwnd) {
    ReleaseCapture();
    SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

POINT ToScreen(HWND hwnd, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

SIZE ClientSize(HWND hwnd) {
    RECT rc = {};
    GetClientRect(hwnd, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

void SetBoxCursor(BoxCursor c) {
    const wchar_t* id = IDC_ARROW;
    switch (c) {
    case BoxCursor::Hand:
        id = IDC_HAND;
        break;
    case BoxCursor::SizeNWSE:
        id = IDC_SIZENWSE;
        break;
    case BoxCursor::SizeNESW:
        id = IDC_SIZENESW;
        break;
    case BoxCursor::SizeWE:
        id = IDC_SIZEWE;
        break;
    case BoxCursor::SizeNS:
        id = IDC_SIZENS;
        break;
    case BoxCursor::Arrow:
        break;
    }
    SetCursor(LoadCursorW(nullptr, id));
}

// A taller box may now show rows that the old scroll offset hides below its end.
void ClampScroll(BoxWin* box) {
    const SIZE c = ClientSize(box->hwnd);
    const BoxMetrics m = BoxMetricsOf(box);
    const int most = MaxScrollY(box->items.size(), c.cx, c.cy, m.cellW, m.cellH, m.dpi);
    box->scrollY = std::max(0, std::min(box->scrollY, most));
}

void ResizeToPointer(HWND hwnd, BoxWin* box, POINT screen) {
    const Rect r = ResizedRect(FromRECT(g_resizeWin0), g_resizeMode, screen.x - g_resizeStart.x, screen.y - g_resizeStart.y,
                               box->dpi);
    SetBoxPos(hwnd, r.left, r.top, r.Width(), r.Height(), 0);
    ClampScroll(box);
    ResizeBoxRender(box, r.Width(), r.Height());
    PushBoxesLive(box);
}

// The resize ends with the size reached: kept, drawn and written under the box's size section.
void FinishResize(bool settle) {
    BoxWin* box = g_resizeBox;
    const unsigned mode = g_resizeMode;
    g_resizing = false;
    g_resizeBox = nullptr;
    g_resizeMode = 0;
    const bool moved = box && KeepTitleInReach(box->hwnd);
    RECT r = {};
    if (!box || !GetWindowRect(box->hwnd, &r)) return;
    // Drawn at the size reached; the box takes it only where its bitmap or buffers take it, and what is
    // stored is the size the box has.
    ResizeBoxRender(box, r.right - r.left, r.bottom - r.top);
    SaveBoxSize(box);
    if (moved || (mode & (kEdgeLeft | kEdgeTop))) SavePos(box->key, r.left, r.top);
    if (settle) ResolveOverlaps(box);
}

// After a move the box shows its picture again: a bitmap picture is drawn anew, layered as before
// where the window can be (attaching a window to the desktop clears its layered style).
void RestorePicture(BoxWin* box) {
    if (BoxSurface* s = box->fallback) {
        const LONG_PTR ex = GetWindowLongPtrW(box->hwnd, GWL_EXSTYLE);
        if (s->layered && !(ex & WS_EX_LAYERED)) {
            SetWindowLongPtrW(box->hwnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
            s->layered = (GetWindowLongPtrW(box->hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
        }
        s->drawn = false; // the bitmap is shown again even though its inputs did not change
    }
    ShowPictureAgain(box); // a re-attached composition box presents again too
}

void MoveByTitle(HWND hwnd, BoxWin* box) {
    BoxListHold hold; // the move loop and the re-attach dispatch messages: rebuilds wait for the end
    const bool attached = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) != 0;
    g_movingBox = box;
    // Only a box in the desktop layer is detached. Re-parenting a window that is top-level already,
    // in the middle of its press, made the move loop wait for a release it never saw (under Wine).
    if (attached) DetachFromDesktop(hwnd);
    g_runMoveLoop(hwnd);
    // The move loop dispatched every message: a rebuild may have freed this box meanwhile.
    const bool same = g_movingBox == box;
    g_movingBox = nullptr;
    box = LiveBox(hwnd);
    if (!same || !box) return;
    KeepTitleInReach(hwnd);
    RECT r = {};
    if (GetWindowRect(hwnd, &r)) SavePos(box->key, r.left, r.top);
    // Only a box that lived in the desktop layer goes back there; a top-level box stays one.
    if (attached) AttachBoxToDesktop(hwnd);
    box = LiveBox(hwnd); // the re-attach waited on the shell
    if (!box) return;
    FollowBoxDpi(box); // moved onto another monitor: sized and drawn for it
    RestorePicture(box);
    ResolveOverlaps(box);
}

bool AnyInteraction() {
    return g_resizing || g_itemPending || g_draggingItem;
}

} // namespace

MoveLoopFn g_runMoveLoop = RunSystemMoveLoop;

BoxWin* LiveBox(HWND hwnd) {
    if (!hwnd) return nullptr;
    for (BoxWin* box : g_boxes)
        if (box->hwnd == hwnd) return box;
    return nullptr;
}

void RequestBoxRefresh() {
    if (g_hMainWnd) PostMessageW(g_hMainWnd, WM_REFRESHBOXES, 0, 0);
}

void StartResize(HWND hwnd, BoxWin* box, unsigned edges, POINT start) {
    g_resizing = true;
    g_resizeMode = edges;
    g_resizeBox = box;
    g_resizeStart = start;
    GetWindowRect(hwnd, &g_resizeWin0);
    SetCapture(hwnd);
}

void EndBoxInteractions() {
    if (g_resizing) FinishResize(false);
    CancelItemDrag();
    if (g_movingBox) {
        // Losing the mouse ends the system move loop; its box is not touched afterwards.
        const HWND moving = g_movingBox->hwnd;
        g_movingBox = nullptr;
        if (GetCapture() == moving) ReleaseCapture();
    }
    if (LiveBox(GetCapture())) ReleaseCapture();
    ForgetHoverTracking(); // the windows go; a new one under the same handle asks again
}

void OnBoxMouseMove(HWND hwnd, BoxWin* box, int x, int y) {
    const POINT screen = ToScreen(hwnd, x, y);
    if (g_resizing && g_resizeBox == box) {
        ResizeToPointer(hwnd, box, screen);
        return;
    }
    if (g_itemPending && g_dragItemBox) TestDragStart(screen);
    if (g_draggingItem && FollowItemDrag(screen)) return;
    const SIZE c = ClientSize(hwnd);
    const unsigned edges = HitEdge(x, y, c.cx, c.cy, box->dpi);
    if (edges) {
        SetBoxCursor(EdgeCursor(edges));
        return;
    }
    UpdateBoxHover(box, x, y);
    SetBoxCursor(PointerCursor(0, y, box->hoverIdx, box->dpi));
}

void OnBoxLButtonDown(HWND hwnd, BoxWin* box, int x, int y) {
    if (AnyInteraction()) EndBoxInteractions(); // a press never finds the program stuck in a mode
    const SIZE c = ClientSize(hwnd);
    const POINT screen = ToScreen(hwnd, x, y);
    if (const unsigned edges = HitEdge(x, y, c.cx, c.cy, box->dpi)) {
        StartResize(hwnd, box, edges, screen);
    } else if (y < ScaleLen(kTitleBand, box->dpi)) {
        MoveByTitle(hwnd, box);
    } else {
        const int index = HitTest(box, x, y);
        if (index >= 0) BeginItemPress(hwnd, box, index, screen);
    }
}

void OnBoxLButtonUp(HWND hwnd, BoxWin* box, int x, int y) {
    // Each mode ends before the mouse is let go, so the loss of the capture finds nothing to end.
    if (!g_draggingItem) CancelItemDrag(); // a press that never became a drag: a click does nothing
    if (g_resizing && g_resizeBox == box && box) FinishResize(true);
    if (g_draggingItem && g_dragItemBox) DropDraggedItem(ToScreen(hwnd, x, y));
    ReleaseCapture();
}

void OnBoxDoubleClick(HWND, BoxWin* box, int x, int y) {
    CancelItemDrag();
    if (!box) return;
    const int index = HitTest(box, x, y);
    if (index < 0 || static_cast<size_t>(index) >= box->items.size()) return;
    const std::wstring path = box->items[static_cast<size_t>(index)].path;
    OpenItem(path);
}

void OnBoxWheel(HWND hwnd, BoxWin* box, int delta) {
    const SIZE c = ClientSize(hwnd);
    const BoxMetrics m = BoxMetricsOf(box);
    const int y = ScrollAfterWheel(box->scrollY, delta, box->items.size(), c.cx, c.cy, m.cellW, m.cellH, m.dpi);
    if (y == box->scrollY) return;
    box->scrollY = y;
    // The cell under a resting pointer changed with the grid.
    POINT p = {};
    if (GetCursorPos(&p) && WindowFromPoint(p) == hwnd && ScreenToClient(hwnd, &p))
        UpdateBoxHover(box, p.x, p.y);
    MarkBoxDirty(box);
}

void OnBoxCaptureChanged(HWND hwnd, HWND newOwner) {
    if (newOwner == hwnd) return;
    if (g_resizing && g_resizeBox && g_resizeBox->hwnd == hwnd) FinishResize(true);
    if ((g_itemPending || g_draggingItem) && g_dragItemBox && g_dragItemBox->hwnd == hwnd) CancelItemDrag();
}

void OnBoxMouseLeave(HWND, BoxWin* box) {
    ClearBoxHover(box); // the leave notice was asked for by the hover
}

bool OnBoxSetCursor(HWND, LPARAM lParam) {
    // Over the client area the mouse handler has chosen the cursor; the class arrow would flicker.
    return LOWORD(lParam) == HTCLIENT;
}

void OnBoxRButtonUp(HWND hwnd, BoxWin* box, int x, int y) {
    if (y < ScaleLen(kTitleBand, box->dpi)) ShowBoxMenu(hwnd, box, x, y);
    else if (!AnyInteraction()) ShowItemMenu(hwnd, box, x, y); // the file's own menu
}

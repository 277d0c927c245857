// Dragging an item out of its box: the press, the ghost window that follows the pointer, and the
// drop on another box, on its own box or on no box. File lists from other programs end in the same
// bookkeeping. Every path records the choice, moves the file if needed and asks for a rebuild.
#include "boxes/item_drag_win.h"

#include "base/log_win.h"
#include "base/process_win.h"
#include "base/screen_win.h"
#include "base/win.h"

#include <shellapi.h>
#include <shlobj.h>

#include "base/strutil.h"
#include "boxes/box_classes_win.h"
#include "boxes/box_input.h"
#include "boxes/box_mouse_win.h"
#include "inventory/inventory_win.h"
#include "inventory/scan.h"
#include "render/box_record_win.h"
#include "settings/lists.h"
#include "settings/lists_win.h"

bool g_draggingItem = false;
bool g_itemPending = false;
BoxWin* g_dragItemBox = nullptr;
HWND g_ghostWnd = nullptr;

namespace {

int g_ghostSize = kGhostSize; // the ghost of the drag under way

int g_dragItemIdx = -1;
POINT g_itemDragStart = {};


constexpr BYTE kGhostAlpha = 180;

// The item goes to the box of `key`: recorded for it, no longer freed, moved into the store.
void AssignToBox(const std::wstring& name, const std::wstring& path, const std::wstring& key) {
    SetManualGroup(name, key);
    MoveItemToGroup(path, key);
    g_freedItems.erase(name);
    SaveFreedItem(name, false);
}

// The item leaves every box. A file of the hidden store goes back to the desktop first; one that
// cannot (a namesake lies there) stays in its box, since a freed file in the store would show nowhere.
void FreeFromBoxes(const Item& item, bool backToDesktop) {
    if (backToDesktop) {
        if (!MoveFileNotify(item.path, g_desktop + L"\\" + item.name)) {
            LogDbg(L"DROP: cannot return " + item.path + L" to the desktop; it stays in its box");
            return;
        }
    }
    g_freedItems.insert(item.name);
    SaveFreedItem(item.name, true);
}

} // namespace

void BeginItemPress(HWND hwnd, BoxWin* box, int index, POINT screen) {
    g_itemPending = true;
    g_draggingItem = false;
    g_dragItemBox = box;
    g_dragItemIdx = index;
    g_itemDragStart = screen;
    SetCapture(hwnd);
}

void TestDragStart(POINT screen) {
    if (!g_itemPending || !g_dragItemBox) return;
    if (!StartsDrag(screen.x - g_itemDragStart.x, screen.y - g_itemDragStart.y, g_dragItemBox->dpi)) return;
    g_itemPending = false;
    g_draggingItem = true;
    g_ghostSize = ScaleLen(kGhostSize, g_dragItemBox->dpi); // as large to the eye as its box's icons
    HICON icon = nullptr;
    if (g_dragItemIdx >= 0 && static_cast<size_t>(g_dragItemIdx) < g_dragItemBox->items.size())
        icon = GetFileIconAt(g_dragItemBox->items[static_cast<size_t>(g_dragItemIdx)].path, g_ghostSize);
    // Made where the pointer is (not first at the screen's corner), shown without taking the focus.
    const int half = g_ghostSize / 2;
    g_ghostWnd = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST,
                                 kGhostClass, L"", WS_POPUP, screen.x - half, screen.y - half, g_ghostSize,
                                 g_ghostSize, nullptr, nullptr, g_hInst, nullptr);
    if (!g_ghostWnd) return; // the drag goes on without a ghost
    SetWindowLongPtrW(g_ghostWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(icon));
    SetLayeredWindowAttributes(g_ghostWnd, 0, kGhostAlpha, LWA_ALPHA);
    ShowWindow(g_ghostWnd, SW_SHOWNOACTIVATE);
}

bool FollowItemDrag(POINT screen) {
    if (!g_draggingItem || !g_ghostWnd) return false;
    const int half = g_ghostSize / 2;
    SetWindowPos(g_ghostWnd, HWND_TOPMOST, screen.x - half, screen.y - half, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

void CancelItemDrag() {
    g_itemPending = false;
    if (g_ghostWnd) DestroyWindow(g_ghostWnd);
    g_ghostWnd = nullptr;
    g_draggingItem = false;
    g_dragItemBox = nullptr;
    g_dragItemIdx = -1;
}

void DropDraggedItem(POINT screen) {
    BoxWin* source = g_dragItemBox;
    const int index = g_dragItemIdx;
    if (source && index >= 0 && static_cast<size_t>(index) < source->items.size()) {
        const Item item = source->items[static_cast<size_t>(index)];
        // Boxes in list order, hidden ones too: where boxes overlap, the first one takes the item.
        std::vector<Rect> rects;
        for (BoxWin* box : g_boxes) {
            RECT r = {};
            GetWindowRect(box->hwnd, &r);
            rects.push_back(FromRECT(r));
        }
        const int target = BoxAt(rects, {screen.x, screen.y});
        const DropPlan plan =
            PlanItemDrop(BoxIndex(source), target, LiesInHiddenStore(item.path, g_hidden));
        // While a collect-all runs, the drop is carried out after it, in its turn.
        if (plan.kind == DropKind::OtherBox) {
            const std::wstring key = g_boxes[static_cast<size_t>(target)]->key;
            RunWhenMovesIdle([item, key] { AssignToBox(item.name, item.path, key); });
        } else if (plan.kind == DropKind::NoBox) {
            RunWhenMovesIdle([item, plan] { FreeFromBoxes(item, plan.backToDesktop); });
        }
    }
    CancelItemDrag();
    RequestBoxRefresh(); // also after a drop on the source box
}

std::vector<std::wstring> DroppedPaths(HDROP drop) {
    std::vector<std::wstring> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Sized to the path, so a long path is never cut into the name of another file.
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::wstring path(length + 1, L'\0');
        if (DragQueryFileW(drop, i, &path[0], length + 1) == 0) continue;
        path.resize(length);
        paths.push_back(std::move(path));
    }
    return paths;
}

int TakeDroppedFiles(HDROP drop, const std::wstring& key) {
    // Carried out at once, even while a collect-all runs: the source is told what became of its
    // files. The INI entries are written once per section and each folder is told once, at the end
    // of the drop.
    const QuietMoves quiet;
    int taken = 0;
    for (const std::wstring& path : DroppedPaths(drop)) {
        const std::wstring name = GetFileName(path);
        if (name.empty() || RefusesDroppedPath(path, g_desktop, g_hidden)) {
            LogDbg(L"DROP: refused " + path);
            continue;
        }
        // Only a file that now lies in the store is recorded (a move that succeeded left it there
        // whole): a name whose file stayed elsewhere would pull a namesake on the desktop into the box.
        if (!MoveItemToGroup(path, key)) {
            LogDbg(L"DROP: cannot move " + path + L" into the store");
            continue;
        }
        // The program the file came from lists its folder anew.
        TellShellAbout(DirOfPath(path));
        AssignToBox(name, g_hidden + L"\\" + name, key);
        ++taken;
    }
    return taken;
}

void OnBoxDropFiles(HWND, BoxWin* box, HDROP drop) {
    if (box) TakeDroppedFiles(drop, box->key);
    DragFinish(drop);
    RequestBoxRefresh();
}

LRESULT CALLBACK GhostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (HICON icon = reinterpret_cast<HICON>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
            DrawIconEx(dc, 0, 0, icon, g_ghostSize, g_ghostSize, 0, nullptr, DI_NORMAL);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

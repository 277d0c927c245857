// The box record, the registry of live boxes, and the box functions the other subsystems call.
#pragma once
#include <string>
#include <vector>

#include "base/geom.h"
#include "base/win.h"
#include "inventory/item.h"

struct IDXGISwapChain1;
struct ID2D1DeviceContext;
struct ID2D1Bitmap1;
struct IDCompositionTarget;
struct IDCompositionVisual;
struct ID2D1SolidColorBrush;
struct IDWriteTextFormat;
struct BoxSurface; // fallback drawing surface of the rendering (its own file)

struct BoxWin {
    std::wstring key;
    HWND hwnd = nullptr;
    int colorIdx = 0;
    std::vector<Item> items;
    int scrollY = 0;
    int hoverIdx = -1;
    bool collapsed = false;
    int width = 240;
    int height = 360;
    IDXGISwapChain1* swapChain = nullptr;
    ID2D1DeviceContext* d2dCtx = nullptr;
    ID2D1Bitmap1* targetBitmap = nullptr;
    IDCompositionTarget* dcTarget = nullptr;
    IDCompositionVisual* dcVisual = nullptr;
    ID2D1SolidColorBrush* brush = nullptr;
    IDWriteTextFormat* titleFormat = nullptr;
    IDWriteTextFormat* nameFormat = nullptr;
    BoxSurface* fallback = nullptr; // set when the box draws without composition
};

extern std::vector<BoxWin*> g_boxes; // live boxes in creation order
extern bool g_intentionalHide;       // true only while the program itself hides a box

// Position of a box in g_boxes (the layout decisions index boxes so); -1 for none.
int BoxIndex(const BoxWin* box);
// Shows or hides a box window; only this (the program's own hide) gets a box hidden.
void ShowBoxWindow(HWND hwnd, bool shown);
inline Rect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
// The primary monitor's work area (the screen less the taskbar), or the whole screen.
Rect PrimaryWorkArea();
// Every monitor's work area, the primary one first (and once more among the others).
std::vector<Rect> MonitorWorkAreas();
// Brings a box window's whole title band inside the work area that holds most of it, the least
// distance (the end of a move or a resize). True when it moved; the caller saves the position.
bool KeepTitleInReach(HWND hwnd);
// A box about to be made for `key` without a remembered place gets the highest, then leftmost free
// place wholly on the primary work area, where there is one.
void PlaceNewBox(const std::wstring& key);

void CreateBox(const std::wstring& key, const std::vector<Item>& items, int index);
// Rebuilds every box: a box whose group survives at the same size keeps its window and surface and
// is drawn again only when what it shows changed; the rest are made anew. While the box list is held
// (below) it only notes the request, which then runs once, posted, when the last hold ends.
void RefreshBoxes();
// A rebuild that keeps no box, every window made anew (a restarted shell has a new desktop to attach
// them to); deferred in the same way.
void RemakeAllBoxes();
// A hold on the box list, for code that keeps box records across a call that may dispatch messages
// sent from other threads or processes (a shell call, a nested loop) or walks the list: no rebuild
// frees a record under it. Holds nest; the last one to end posts the deferred rebuild, if any.
class BoxListHold {
  public:
    BoxListHold();
    ~BoxListHold();
    BoxListHold(const BoxListHold&) = delete;
    BoxListHold& operator=(const BoxListHold&) = delete;
};
bool BoxListHeld();
// Destroys every box: rendering objects, drop target, window and record; empties g_boxes.
void DestroyAllBoxes();
// Drop-target registration of a box window: file lists from other programs go to its group.
void RegisterBoxDropTarget(BoxWin* box);
void RevokeBoxDropTarget(BoxWin* box);

bool FindFreeSpot(BoxWin* box);
bool PushBoxAway(BoxWin* box, BoxWin* anchor);
bool OverlapsAnyExcept(const RECT& r, BoxWin* box);
bool OverlapsAnyExcept2(const RECT& r, BoxWin* b1, BoxWin* b2, int margin);
void ResolveOverlaps(BoxWin* anchor); // nullptr: no anchor
void AutoArrange();
// Brings every box whose title band no monitor shows onto the primary work area (free place first).
void KeepBoxesReachable();
void PushBoxesLive(BoxWin* box);

void AttachBoxToDesktop(HWND hwnd);
void DetachFromDesktop(HWND hwnd);
// Attaches a new box; where there is no desktop layer to attach to, shows it as a top-level popup.
void ShowBoxOnDesktop(HWND hwnd);
BOOL CALLBACK FindWorkerCb2(HWND hwnd, LPARAM out); // out: HWND*
HWND FindWorkerW2(HWND progman);
void SetBoxPos(HWND hwnd, int x, int y, int cx, int cy, UINT flags);

// Hover: the cell under a client point of the box becomes its hover cell (none in the title band);
// the box is redrawn when that changed. ClearBoxHover when the pointer has left the box.
void UpdateBoxHover(BoxWin* box, int x, int y);
void ClearBoxHover(BoxWin* box);
// Boxes are rebuilt: no window's leave notice counts as asked for any more.
void ForgetHoverTracking();

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK GhostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

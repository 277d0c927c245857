// The box record and the registry of live boxes: what every box window keeps, read by the drawing and
// the box window code alike.
#pragma once
#include <string>
#include <vector>

#include "base/win.h"
#include "inventory/item.h"
#include "settings/metrics.h"

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
    std::vector<int> marked; // items the find window found, ascending (outlined)
    bool collapsed = false;
    int width = kNominalBoxWidth;
    int height = kNominalBoxHeight;
    int dpi = kBaseDpi; // of the monitor that holds most of the box: every length of it is scaled to it
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

// The measures of a box at its DPI, from the current icon size, cell size, name line and font.
BoxMetrics BoxMetricsOf(const BoxWin* box);
BoxMetrics BoxMetricsAt(int dpi);

// Position of a box in g_boxes (the layout decisions index boxes so); -1 for none.
int BoxIndex(const BoxWin* box);

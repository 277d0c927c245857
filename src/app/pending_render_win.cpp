// Start-up steps whose subsystem has not landed yet: each keeps its place in the start-up order.
#include "render/render_win.h"

HBRUSH g_skinBgBrush = nullptr;

bool InitDCompInfra() { return false; }
void UpdateSkinBrush() {}
void RebuildAllFormats() {}
void FlushIconBitmaps() {}
void RenderAll() {}
bool InitBoxDComp(BoxWin*) { return false; }
bool InitBoxFallback(BoxWin*) { return false; }
void ReleaseBoxRender(BoxWin*) {}
void RebuildBoxFormats(BoxWin*) {}
void ResizeBoxRender(BoxWin*, int, int) {}
void DrawBox(BoxWin*) {}
void PaintBoxWindow(BoxWin*, HDC) {}

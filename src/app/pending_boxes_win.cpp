// Start-up steps whose subsystem has not landed yet: each keeps its place in the start-up order.
#include "boxes/box_win.h"

std::vector<BoxWin*> g_boxes;

void CreateBox(const std::wstring&, const std::vector<Item>&, int) {}
void RefreshBoxes() {}
void ResolveOverlaps(BoxWin*) {}
void AutoArrange() {}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK GhostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

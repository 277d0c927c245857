// The window classes of the boxes.
#include "boxes/box_classes_win.h"

#include "boxes/box_win.h"
#include "boxes/item_drag_win.h"

const wchar_t* const WND_CLASS = L"BrindlecotClass";
const wchar_t* const kGhostClass = L"BrindlecotGhost";

void RegisterBoxClasses(HINSTANCE instance) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.hInstance = instance;

    wc.lpfnWndProc = GhostProc;
    wc.lpszClassName = kGhostClass;
    RegisterClassExW(&wc);

    wc.lpfnWndProc = BoxProc;
    wc.lpszClassName = WND_CLASS;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassExW(&wc);
}

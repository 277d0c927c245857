// Dialog and appearance steps whose code has not landed yet: each keeps its place for its callers.
#include "ui/ui_win.h"

std::wstring InputBox(HWND, const std::wstring&, const std::wstring&) { return {}; }
int SliderBox(HWND, const std::wstring&, int) { return -1; }
void ShowAppearanceMenu(HWND, POINT) {}

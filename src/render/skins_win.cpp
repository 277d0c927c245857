// The skin's brush for dialogs and buttons.
#include "render/skins_win.h"

#include "render/skins.h"
#include "settings/settings.h"

HBRUSH g_skinBgBrush = nullptr;

void UpdateSkinBrush() {
    if (g_skinBgBrush) {
        DeleteObject(g_skinBgBrush);
        g_skinBgBrush = nullptr;
    }
    g_skinBgBrush = CreateSolidBrush(SkinAt(g_skinIndex).background);
}

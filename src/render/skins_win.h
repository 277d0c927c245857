// The skin's brush for dialogs and buttons.
#pragma once
#include "base/win.h"

extern HBRUSH g_skinBgBrush;
// Makes g_skinBgBrush anew in the background colour of the current skin.
void UpdateSkinBrush();

// Full names on hover: an item whose name does not fit its cell shows the whole name in a tooltip
// after the usual hover delay.
#pragma once
#include "base/win.h"

struct BoxWin;

// The hover cell of the box changed to `index` (-1: none): the tooltip follows it.
void FollowHoverWithNameTip(BoxWin* box, int index);
// Boxes are rebuilt: the tooltip lets go of their windows.
void ForgetNameTip();
// The tooltip window (null until a name needed it), for the tests.
HWND NameTipWindow();

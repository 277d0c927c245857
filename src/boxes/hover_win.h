// Hover over box cells, from mouse messages (the leave notice asked for with TrackMouseEvent).
#pragma once

struct BoxWin;

// Hover: the cell under a client point of the box becomes its hover cell (none in the title band);
// the box is redrawn when that changed. ClearBoxHover when the pointer has left the box.
void UpdateBoxHover(BoxWin* box, int x, int y);
void ClearBoxHover(BoxWin* box);
// Boxes are rebuilt: no window's leave notice counts as asked for any more.
void ForgetHoverTracking();

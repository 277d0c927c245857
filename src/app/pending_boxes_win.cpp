// Box steps whose code has not landed yet: each keeps its place in the box's life.
#include "boxes/box_win.h"

// Drag and drop: CreateBox registers a drop target on every box window, destroying a box revokes it.
void RegisterBoxDropTarget(BoxWin*) {}
void RevokeBoxDropTarget(BoxWin*) {}

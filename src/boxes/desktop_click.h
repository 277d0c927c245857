// Gestures that start outside the boxes: a double click on the bare desktop, and where an item drag
// that left every box goes. What lies under the pointer is decided by the Windows side; what it
// means is decided here.
#pragma once
#include "base/geom.h"

// What lies under the pointer, as the gestures tell places apart.
enum class PointerOver {
    EmptyDesktop, // the desktop's icon view (or the bare desktop) where no icon is
    DesktopIcon,  // an icon of the desktop
    Box,          // one of our boxes
    OurWindow,    // another window of ours (a dialog, the find window, a menu)
    OtherWindow,  // any other program's window, the taskbar included
};

// The system's double-click rules: the most time between the presses, and the rectangle (centred
// on the first press) that the second must fall in.
struct DoubleClickRules {
    unsigned timeMs = 500;
    int width = 4;
    int height = 4;
};

// Follows left-button presses anywhere on the screen. Two presses make a double click when the
// second comes soon enough and near enough to the first; such a pair is used up (a third press
// starts afresh). Only a pair whose presses both fell on the bare desktop counts.
class DesktopClicks {
  public:
    // One press at screen point p at time t (the system's millisecond clock, which wraps); true when
    // it completes a double click on the empty desktop.
    bool Press(Point p, unsigned t, PointerOver what, const DoubleClickRules& rules);
    void Forget() { pending_ = false; }

  private:
    bool pending_ = false;
    Point first_;
    unsigned firstTime_ = 0;
    PointerOver firstWhat_ = PointerOver::OtherWindow;
};

// An item dragged out of a box becomes a drag of the system (its file offered to that program) only
// over another program's window; over a box, over the desktop or over a window of ours it stays ours.
inline bool DragGoesToOtherProgram(PointerOver what) { return what == PointerOver::OtherWindow; }

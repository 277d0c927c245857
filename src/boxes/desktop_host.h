// Where boxes live on the desktop, decided from a snapshot of the windows: the window that holds the
// desktop icons (the shell's view), and whether a box there is covered by something painted over it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/geom.h"

// One window as the snapshot sees it. Windows with the same parent are listed in z-order, the topmost
// first; the order between windows of different parents means nothing.
struct WinInfo {
    std::uintptr_t id = 0;
    std::wstring cls;
    std::uintptr_t parent = 0; // 0: a top-level window
    bool shell = false;        // belongs to the shell's process
    bool visible = true;
    bool layered = false;      // per-pixel alpha or click-through: never hides what lies below
    Rect rect;                 // screen coordinates
};

enum class HostKind {
    None,        // no shell window: a box is a top-level window at the bottom of the z-order
    ShellWindow, // the shell's desktop window without its view (a shell that is starting)
    ViewHolder,  // the window that holds a hidden view, above the view
    View,        // the view itself, above its icons
};

struct DesktopHost {
    HostKind kind = HostKind::None;
    std::uintptr_t parent = 0;   // the parent of every box; 0 for none
    std::uintptr_t progman = 0;  // the shell's desktop window
    std::uintptr_t view = 0;     // the view that shows the desktop icons ("SHELLDLL_DefView")
    std::uintptr_t iconView = 0; // the icon list inside it
    bool Attachable() const { return parent != 0; }
    bool Final() const { return kind == HostKind::View || kind == HostKind::ViewHolder; }
};

// Boxes go on top of the children of `parent` (so above the icons). The view is taken wherever the
// shell keeps it: in its desktop window, or in a top-level worker window of the shell's process.
DesktopHost ChooseDesktopHost(const std::vector<WinInfo>& snapshot);

// Whether window `box` cannot be seen whole: it or a window it lies in is hidden, or an opaque window
// painted after it (a sibling above it or above one of its ancestors, or a child of one) meets it.
// Windows of the icon layer (the view, its icon list and the worker window holding the view) are drawn
// over the wallpaper and count as see-through, as do layered windows.
bool BoxCovered(const std::vector<WinInfo>& snapshot, std::uintptr_t box);

// Delays of the search for a desktop that is not there yet: 250 ms doubling up to 5 s, for 2 minutes
// from the start of the search. 0 once the time is spent.
unsigned DesktopRetryDelayMs(unsigned attempt, unsigned elapsedMs);

// Folded boxes that open on hover: a box whose user turned it on (kept per box in the INI section
// "hoverOpen") opens while the pointer rests on its title band for the system's hover time, and folds
// again a moment after the pointer left it. A drag that went into the open box keeps it open until the
// drag ends. The fold the user chose (`collapsed`) never changes; `hoverOpen` says the box is open over it.
#pragma once
#include <string>

#include "base/win.h"

struct BoxWin;

constexpr UINT_PTR kHoverOpenTimer = 0x4801;  // the pointer rested long enough
constexpr UINT_PTR kHoverCloseTimer = 0x4802; // the pointer stayed away long enough
constexpr UINT kHoverCloseDelayMs = 500;

bool HoverOpenEnabled(const std::wstring& key);
// The box menu's entry: kept in the INI file at once; turned off, an open box folds at once.
void SetHoverOpen(BoxWin* box, bool on);

// The pointer over a box (client point of its mouse message), and its leave notice.
void HoverOpenPointerAt(BoxWin* box, int x, int y);
void HoverOpenLeft(BoxWin* box);
// Something is dragged at a screen point: over `box`, or over no box (null). An item of ours or files
// of another program.
void HoverOpenDragOver(BoxWin* box, POINT screen);
// The drag ended (dropped, cancelled or gone from our windows): open boxes fold once the pointer is away.
void HoverOpenDragEnded();
// WM_TIMER of a box window; true when the timer was one of these.
bool OnHoverOpenTimer(BoxWin* box, UINT_PTR id);
// Folds a box opened by hover back to its title now.
void FoldHoverOpened(BoxWin* box);

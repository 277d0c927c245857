// The live box windows laid out: free places, pushing apart, arranging, keeping titles reachable.
#pragma once
#include <string>

#include "base/win.h"

struct BoxWin;

// Brings a box window's whole title band inside the work area that holds most of it, the least
// distance (the end of a move or a resize). True when it moved; the caller saves the position.
bool KeepTitleInReach(HWND hwnd);
// A box about to be made for `key` without a remembered place gets the highest, then leftmost free
// place wholly on the primary work area, where there is one.
void PlaceNewBox(const std::wstring& key);

bool FindFreeSpot(BoxWin* box);
bool PushBoxAway(BoxWin* box, BoxWin* anchor);
bool OverlapsAnyExcept(const RECT& r, BoxWin* box);
bool OverlapsAnyExcept2(const RECT& r, BoxWin* b1, BoxWin* b2, int margin);
void ResolveOverlaps(BoxWin* anchor); // nullptr: no anchor
void AutoArrange();
// Brings every box whose title band no monitor shows onto the primary work area (free place first).
void KeepBoxesReachable();
void PushBoxesLive(BoxWin* box);

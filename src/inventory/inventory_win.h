// Listing the desktop and the hidden store, moving and opening entries, fetching icons.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/win.h"
#include "inventory/batch.h"
#include "inventory/inventory.h"
#include "inventory/scan.h"

std::wstring GetDesktopPath();
// The shell's own object of interface `riid` for the entry at `path` (its context menu, its data for
// a drag), as the file manager would use it; false when the shell has none.
bool ShellObjectOf(const std::wstring& path, HWND owner, REFIID riid, void** out);
// Appends every entry of folder (with "." and "..") in listing order; false when it cannot be listed.
// An empty folder path lists nothing.
bool ListFolder(const std::wstring& folder, std::vector<DirEntry>& out);
void ScanDir(const std::wstring& folder, std::vector<Item>& out);
void ScanAll();

// Moves one entry (MoveEntry) and tells the shell; true when it now lies at `to`.
bool MoveFileNotify(const std::wstring& from, const std::wstring& to);
// Moves one entry without replacing anything: a rename on one volume; across volumes (files only)
// a copy under a journalled temporary name beside `to`, renamed into place when whole, then the
// source removed; a source still there after that leaves it alone again (the copy is removed).
// False when the entry stays where it was.
bool MoveEntry(const std::wstring& from, const std::wstring& to);
// Called between the copy and the rename of a move across volumes; returning false ends the move
// there, as the end of the run would (tests). Null in the program.
extern bool (*g_moveAfterCopy)(const std::wstring& temp);
// Called instead of deleting the source once its copy is in place (tests: a delete that reports
// success and leaves the file). Null in the program.
extern bool (*g_deleteMoveSource)(const std::wstring& from);
// At start: removes the temporary copies of moves cut short that the move journal ("brindlecot.moves"
// beside the INI file) names, one log line each; nothing else, whatever its name.
void RemoveUnfinishedMoves();
// Moves an entry into the hidden store; true when it was moved there now.
bool MoveItemToGroup(const std::wstring& path, const std::wstring& key);
void SetManualGroup(const std::wstring& name, const std::wstring& key);
// Every entry of the folder at once (the shell hears of it once at the end).
void CollectAll();
void RestoreAll();

// While one lives, moves tell the shell nothing and INI flushes wait; when the last one goes, the
// shell hears once about each folder and the INI file is flushed once.
class QuietMoves {
  public:
    QuietMoves();
    ~QuietMoves();
    QuietMoves(const QuietMoves&) = delete;
    QuietMoves& operator=(const QuietMoves&) = delete;
};
// Tells the shell now about the moves made so far under QuietMoves.
void FlushShellNotices();
// Tells the shell that another folder's listing changed (a drop's source): under QuietMoves once
// per folder when the last one goes, else at once.
void TellShellAbout(const std::wstring& folder);

// What collect-all (or restore-all) moves: from one folder into the other, these names.
struct MoveAllPlan {
    std::wstring from;
    std::wstring to;
    std::vector<std::wstring> names; // listing order; ".", ".." and (collecting) the store left out
};
// Forgets the manual choices and the freed entries and lists what to move; false when nothing can
// move (no desktop folder, no store to collect into, a folder that cannot be listed).
bool PrepareMoveAll(MoveCommand command, MoveAllPlan& plan);
// Moves entry i of the plan; one that cannot move (its name is taken, it is in use) stays.
void MoveOneOf(const MoveAllPlan& plan, size_t i);

// Collect-all or restore-all in slices of about 20 ms from the message loop; returns at once.
// While it runs, `progress` gets the tray text after each slice; `done` runs once at its end (not
// when the program stops it). Refused while the same move runs or waits; waits while the other runs.
struct MoveAllHooks {
    std::function<void(const std::wstring&)> progress;
    std::function<void()> done;
};
CommandAnswer StartMoveAll(MoveCommand command, const MoveAllHooks& hooks);
// Another command that moves files: runs now, or after the long move that runs (in its turn).
void RunWhenMovesIdle(std::function<void()> command);
bool MoveAllRunning();
// The program ends: the long move stops after its current entry, what is left stays where it is,
// what waited does not run, and the shell hears of what moved.
void StopMoveAll();
void OpenItem(const std::wstring& path);
HICON GetFileIcon(const std::wstring& path);
// The entry's icon for drawing at `px` pixels: up to 32 GetFileIcon's; larger, the picture of the
// shell's 48 or 256-pixel image list, so that it is shrunk to the size, never enlarged from 32.
// Cached like GetFileIcon's; falls back on it when the larger lists cannot be had.
HICON GetFileIconAt(const std::wstring& path, int px);
void DestroyIconCache(); // at program end

// Item name -> icon handle (null when the shell had none); kept for the whole run.
extern std::map<std::wstring, HICON> g_iconCache;
